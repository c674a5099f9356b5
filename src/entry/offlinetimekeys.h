#pragma once

#include <QString>
#include <QStringView>
#include <Qt>

#include <optional>

// The keys of the off-line date and time fields, where a paper log is typed in. Esc and Alt+W lead back to the
// callsign field after the keyer has seen them (Esc stops sending anywhere in the window); Enter and Home in the
// time field do too. The date field takes a date typed in full: the "-" between its parts moves on to the next
// part, and after a part filled in full (where the field has moved on by itself) it is not taken a second time.
class OfflineTimeKeys {
public:
    enum class Field { Date, Time };
    enum class Action {
        None,                 // the field gets the key
        ToCallsignAfterKeyer, // the keyer sees the key, then the callsign field takes the focus
        ToCallsign,           // the callsign field takes the focus
        DateSeparator,        // a "-" typed in the date field: see sectionAfterSeparator
    };
    enum class Section { Year, Month, Day, Other };

    static Action action(Field field, int key, Qt::KeyboardModifiers modifiers, const QString& text);
    // The part of the date to select after a "-" typed at the cursor of the date text; nullopt: the selection
    // stays. The "-" itself is never typed.
    static std::optional<Section> sectionAfterSeparator(Section current, QStringView dateText, int cursor);
};
