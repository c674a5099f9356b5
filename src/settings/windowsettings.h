#pragma once

#include "platform/userdialogs.h"
#include "settings/settingskeys.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class IniFile;

// The style string of a stored font: "pogrubienie,kursywa" and so on; empty for a regular font.
QString fontStyleText(const FontSpec& font);
// Sets the four style flags from a stored style string; a word that is missing clears its flag.
void applyFontStyle(FontSpec& font, const QString& style);

// Where a window whose frame was saved at frame.topLeft() goes back on the given screens (their available
// areas): where it was, as long as part of its title bar is on a screen and not above that screen's top;
// otherwise onto the nearest screen, as much of the window on it as fits.
QPoint pulledOnScreen(const QRect& frame, const QList<QRect>& screens);

// Where the other windows' frames go on a first start, in the order given: never over the entry window (its frame)
// nor over one another. The first (the log) goes right below the entry window; each other one at the topmost, then
// leftmost free place of the screen, a list made shorter where only that makes it fit. The same-sized lists at the
// end that do not all find room go along the bottom of the screen, side by side or spread over its width, below the
// title bars and headers of the windows they cover. What else finds no room at all is cascaded below the entry
// window, each title bar in sight.
QList<QRect> layoutBesideEntryWindow(const QRect& entry, const QList<QSize>& windows, const QRect& screen);

// One auxiliary window's section of the settings file: geometry, list font and background colour.
// A key missing from the file stays unset, so the window keeps its design-time value.
struct WindowSettings {
    std::optional<int> x;
    std::optional<int> y;
    std::optional<int> width; // only for windows that keep their width
    std::optional<int> height;
    std::optional<FontSpec> font;
    std::optional<int> background; // Windows colour value

    struct Keys {
        bool width = true;
        bool font = true;
    };
    static WindowSettings read(const IniFile& settings, SettingsKeys::WindowSection section, Keys keys);
    void write(IniFile& settings, SettingsKeys::WindowSection section) const;
};
