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
};

namespace Modes {

std::span<const ModeInfo> all();
QStringList selectorList(bool withDigital);
const ModeInfo* byName(QStringView name);
const ModeInfo* byCode(QStringView code);
// Whether a line's mode code belongs to the selector text (PH ↔ SSB, CW ↔ CW, …).
bool codeMatchesMode(QStringView code, QStringView modeName);
// The dupe-key character of a line's mode code; '?' for a code outside the table.
char dupeCodeForLineCode(QStringView code);

enum class ReportReset { ModeSwitch, AfterQso };
// A report field keeps its propagation letter: "A" gives 59A, otherwise "S" gives 59S, otherwise the default.
QString defaultReport(QStringView modeName, QStringView currentText, ReportReset when);
// What a key typed into a report field puts there: a digit, or "A"/"S" in upper case; nothing for any other
// character (the field refuses it).
std::optional<QChar> reportCharacter(QChar typed);

} // namespace Modes
