#include "entry/workedbefore.h"

#include "analysis/locator.h"
#include "core/bands.h"
#include "core/modes.h"
#include "core/qsoline.h"
#include "entry/entryclock.h"
#include "entry/entryindex.h"
#include "log/logbook.h"
#include "lookup/mastercalldb.h"

QString currentDupeKey(QStringView band, QStringView mode, QStringView call, bool oneQsoPerBand) {
    const ModeInfo* info = Modes::byName(mode);
    return dupeKey(Bands::dupeCode(band), info ? info->dupeCode : '?', oneQsoPerBand, call);
}

WorkedBeforeResult checkWorkedBefore(
    const LogBook& log, EntryIndex& index, QStringView band, QStringView mode, QStringView call, bool oneQsoPerBand) {
    WorkedBeforeResult result;
    // A search pattern names no station, so it is never a dupe, even of a line that holds a "?".
    if (!call.isEmpty() && !MasterCallDatabase::isPattern(call) &&
        log.hasWorkedKey(currentDupeKey(band, mode, call, oneQsoPerBand))) {
        result.dupe = true;
        result.panelText = call.toString() + QStringLiteral(" - QSO zaliczone!");
        const ModeInfo* info = Modes::byName(mode);
        result.row = index.firstRow(log, call, band, info ? QString::fromLatin1(info->code) : QString(), oneQsoPerBand);
        return result;
    }
    result.row = log.size() - 1;
    return result;
}

std::optional<QString> crossModeExchange(
    const LogBook& log, EntryIndex& index, QStringView band, QStringView mode, QStringView call, bool oneQsoPerBand) {
    if (call.isEmpty() || MasterCallDatabase::isPattern(call))
        return std::nullopt;
    const bool cw = mode == QLatin1String("CW");
    const char otherMode = cw ? '0' : '1';
    const QString key = dupeKey(Bands::dupeCode(band), otherMode, oneQsoPerBand, call);
    if (!log.hasWorkedKey(key))
        return std::nullopt;
    const QString otherCode = cw ? QStringLiteral("PH") : QStringLiteral("CW");
    const qsizetype row = index.firstRow(log, call, band, otherCode, oneQsoPerBand);
    if (row < 0)
        return std::nullopt;
    const QString& line = log.line(row);
    return QLatin1Char(' ') + QsoLine::column(line, QsoColumns::Mode).toString() + QStringLiteral(":  ") +
           QsoLine::trimmedColumn(line, QsoColumns::Srx).toString();
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
                              QStringView band,
                              const QString& serialField,
                              bool separateVhfSerials,
                              bool autoIncrement,
                              SerialFormat format) {
    if (!separateVhfSerials || !autoIncrement)
        return serialField;
    const int vhf = Bands::vhfIndex(band);
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
