#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

// The mode table, in the order of the mode selector.
struct ModeInfo {
    const char* name;            // selector text: "SSB", "CW", "FM", "RTTY", "PSK31", "HELL"
    const char* code;            // two-letter code in the QSO line: "PH", "CW", …
    char dupeCode;               // the mode's character of the dupe key
    const char* rstOnModeSwitch; // default report after a mode change
    const char* rstAfterQso;     // default report after each logged QSO
    bool digital;                // offered only with the digital modes switched on
};

namespace Modes {

std::span<const ModeInfo> all();
QStringList selectorList(bool withDigital);
const ModeInfo* byName(QStringView name);
const ModeInfo* byCode(QStringView code);

enum class ReportReset { ModeSwitch, AfterQso };
// A report field keeps its propagation letter: "A" gives 59A, otherwise "S" gives 59S, otherwise the default.
QString defaultReport(const ModeInfo* mode, QStringView currentText, ReportReset when);
// What a key typed into a report field puts there: a digit, or "A"/"S" in upper case; nothing for any other
// character (the field refuses it).
std::optional<QChar> reportCharacter(QChar typed);

} // namespace Modes

// A mode as a value: one of the table, or the two characters of a mode code the table does not know (a line
// written by another program may hold one; it is kept, shown and written back as it is, and counts as neither
// phone nor CW). A default Mode is empty: no mode.
class Mode {
public:
    constexpr Mode() = default;
    static Mode fromName(QStringView name);
    // The two characters of a line's mode columns; a code of the table, in any case, is that mode.
    static Mode fromCode(QStringView code);
    static Mode fromInfo(const ModeInfo* info);

    static constexpr Mode phone() { return Mode(0); }
    static constexpr Mode cw() { return Mode(1); }
    static constexpr Mode fm() { return Mode(2); }

    bool isKnown() const { return m_index != kOther; }
    bool isEmpty() const { return m_index == kOther && m_code[0] == ' ' && m_code[1] == ' '; }
    const ModeInfo* info() const;
    // The selector text ("SSB", "CW" …); empty for a code outside the table.
    QString name() const;
    // The two characters of the line: "PH", "CW" …, or the unknown code as it was read.
    QString code() const;
    char dupeCode() const;
    bool isPhone() const { return *this == phone(); }
    bool isCw() const { return *this == cw(); }
    bool isDigital() const;

    friend constexpr bool operator==(Mode a, Mode b) = default;

private:
    static constexpr quint8 kOther = 0xFF;
    constexpr explicit Mode(quint8 index) : m_index(index) {}
    quint8 m_index = kOther;
    char16_t m_code[2] = {u' ', u' '}; // only for a code outside the table
};
