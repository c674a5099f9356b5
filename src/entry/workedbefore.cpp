#include "entry/workedbefore.h"

#include "analysis/locator.h"
#include "core/bands.h"
#include "core/modes.h"
#include "core/qso.h"
#include "entry/entryclock.h"
#include "entry/entryindex.h"
#include "log/logbook.h"
#include "lookup/mastercalldb.h"

WorkedBeforeResult
checkWorkedBefore(const LogBook& log, EntryIndex& index, Band band, Mode mode, QStringView call, bool oneQsoPerBand) {
    WorkedBeforeResult result;
    // A search pattern names no station, so it is never a dupe, even of a line that holds a "?".
    if (!call.isEmpty() && !MasterCallDatabase::isPattern(call) &&
        log.hasWorkedKey(DupeKey(band, mode, oneQsoPerBand, call))) {
        result.dupe = true;
        result.panelText = call.toString() + QStringLiteral(" - QSO zaliczone!");
        result.row = index.firstRow(log, call, band, mode, oneQsoPerBand);
        return result;
    }
    result.row = log.size() - 1;
    return result;
}

std::optional<QString>
crossModeExchange(const LogBook& log, EntryIndex& index, Band band, Mode mode, QStringView call, bool oneQsoPerBand) {
    if (call.isEmpty() || MasterCallDatabase::isPattern(call))
        return std::nullopt;
    // The other of CW and phone: from CW the phone contact, from any other mode the CW one.
    const Mode other = mode.isCw() ? Mode::phone() : Mode::cw();
    if (!log.hasWorkedKey(DupeKey(band, other, oneQsoPerBand, call)))
        return std::nullopt;
    const qsizetype row = index.firstRow(log, call, band, other, oneQsoPerBand);
    if (row < 0)
        return std::nullopt;
    const Qso qso = log.qso(row);
    return QLatin1Char(' ') + qso.mode.code() + QStringLiteral(":  ") + qso.srx;
}

EntryCommand classifyCommand(QStringView text, const QStringList& bands, const QStringList& modes) {
    const QString upper = text.toString();
    if (bands.contains(upper))
        return EntryCommand::Band;
    if (modes.contains(upper))
        return EntryCommand::Mode;
    if (EntryClock::timeCommand(text).isFourDigits)
        return EntryCommand::Time;
    if (EntryClock::looksLikeDate(text))
        return EntryCommand::Date;
    return EntryCommand::None;
}

SelectorList bandSelector(bool withWarc, const QString& current) {
    SelectorList list{Bands::selectorList(withWarc), current};
    if (!list.items.contains(current))
        list.selected = list.items.first();
    return list;
}

SelectorList modeSelector(bool withDigital, const QString& current) {
    SelectorList list{Modes::selectorList(withDigital), current};
    if (!list.items.contains(current))
        list.selected = QStringLiteral("SSB");
    return list;
}

QString stepInList(const QStringList& list, const QString& current, int step) {
    if (list.isEmpty())
        return current;
    const qsizetype at = list.indexOf(current);
    const qsizetype n = list.size();
    const qsizetype next = at < 0 ? 0 : ((at + step) % n + n) % n;
    return list.at(next);
}

QString serialAfterBandSwitch(const LogBook& log,
                              Band band,
                              const QString& serialField,
                              bool separateVhfSerials,
                              bool autoIncrement,
                              SerialFormat format) {
    if (!separateVhfSerials || !autoIncrement)
        return serialField;
    const int vhf = band.vhfIndex();
    return SerialNumber::pad(vhf >= 0 ? QString::number(log.nextVhfSerial(vhf)) : serialField, format);
}

bool exchangeLocatorInvalid(QStringView exchange) {
    return !exchange.isEmpty() && LocatorInvalid(exchange.size() > 6 ? exchange.right(6) : exchange);
}

std::optional<QString> azimuthLabel(const QString& ownLocator, QStringView exchange) {
    const QStringView tail = exchange.size() > 6 ? exchange.right(6) : exchange;
    if (LocatorInvalid(tail))
        return std::nullopt;
    if (exchange == ownLocator)
        return QStringLiteral("Azymut: ???");
    if (LocatorInvalid(ownLocator))
        return std::nullopt;
    return DistanceAzimuth(ownLocator, tail).label();
}
