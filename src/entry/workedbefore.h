#pragma once

#include "analysis/analysisoptions.h"
#include "core/qso.h"
#include "entry/serialnumber.h"

#include <QString>
#include <QStringList>

#include <optional>

class EntryIndex;
class LogBook;

struct WorkedBeforeResult {
    bool dupe = false;
    QString panelText;  // dupeLabel: callsign + " - QSO zaliczone!"
    qsizetype row = -1; // the row to select: the earlier contact of a dupe, else the last line
};

// Run on every change of the callsign, band or mode.
WorkedBeforeResult
checkWorkedBefore(const LogBook& log, EntryIndex& index, Band band, Mode mode, QStringView call, bool oneQsoPerBand);

// crossModeExchangeLabel when the callsign field is left: the exchange this station gave in the other of CW and SSB (or
// on this band at all with one QSO per band). nullopt hides the panel.
std::optional<QString>
crossModeExchange(const LogBook& log, EntryIndex& index, Band band, Mode mode, QStringView call, bool oneQsoPerBand);

// What Enter in the callsign field does with its text before it is taken for a callsign.
enum class EntryCommand { None, Band, Mode, Time, Date };
EntryCommand classifyCommand(QStringView text, const QStringList& bands, const QStringList& modes);

struct SelectorList {
    QStringList items;
    QString selected;
};
// The band list (ten bands, thirteen with WARC); a WARC band gives way to "160M" when WARC is switched off.
SelectorList bandSelector(bool withWarc, const QString& current);
// The mode list (three modes, six with the digital ones); a digital mode gives way to "SSB".
SelectorList modeSelector(bool withDigital, const QString& current);
// The neighbour in a list, wrapping at both ends.
QString stepInList(const QStringList& list, const QString& current, int step);

// The serial field after a band change: with separate VHF numbering and auto-increment on, a VHF band's
// counter, on other bands the field as it is, padded to the format; otherwise the field is left alone.
QString serialAfterBandSwitch(const LogBook& log,
                              Band band,
                              const QString& serialField,
                              bool separateVhfSerials,
                              bool autoIncrement,
                              SerialFormat format);

// azimuthLabel while the received exchange is typed, in the locator mode: nullopt hides it.
std::optional<QString> azimuthLabel(const QString& ownLocator, QStringView exchange);
// In locator analysis: the received exchange holds something, but its locator part (the last six characters)
// is no locator yet. The field shows it in red; nothing is refused.
bool exchangeLocatorInvalid(QStringView exchange);
