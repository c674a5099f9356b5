#include "analysis/exchangeanalysis.h"

#include "analysis/countylist.h"
#include "analysis/locator.h"
#include "core/qsoline.h"

namespace {
QStringView keyOf(QStringView receivedExchange, int keyLength) {
    const QStringView trimmed = receivedExchange.trimmed();
    return trimmed.right(std::min<qsizetype>(keyLength, trimmed.size()));
}
} // namespace

QString analysisKey(QStringView receivedExchange, int keyLength) {
    return keyOf(receivedExchange, keyLength).toString();
}

bool countyCountsForCurrent(Band band, Mode mode, const AnalysisContext& context) {
    if (!band.isValid() || band != context.currentBand)
        return false;
    return context.options.countiesAllModes || (mode.isKnown() && mode == context.currentMode);
}

QString callInfoEntry(QStringView call, QStringView county, QStringView locator) {
    QString entry = call.toString();
    entry += QLatin1Char(';');
    if (county.size() == 2)
        entry += QLatin1Char('_');
    entry += county;
    entry += QLatin1Char(';');
    entry += locator;
    return entry;
}

QsoAnalysis AnalyseQso(QStringView receivedExchange, Band band, Mode mode, bool dupe, const AnalysisContext& context) {
    QsoAnalysis result;
    if (!context.options.enabled || dupe)
        return result;
    // The key stays a view into the exchange until it is found: most loaded contacts build no string for it.
    const QStringView key = keyOf(receivedExchange, context.options.keyLength());
    if (context.options.countyMode()) {
        std::optional<QString> county = context.counties ? context.counties->match(key) : std::nullopt;
        if (!county)
            return result;
        result.county = std::move(*county);
        result.suffix = QLatin1Char(' ') + result.county;
        result.infoCounty = result.county;
        result.logCounty = countyCountsForCurrent(band, mode, context);
        return result;
    }
    if (key.size() != 6 || LocatorInvalid(key))
        return result;
    result.infoLocator = key.toString();
    // A distance needs a usable own locator; without one the line simply gets no distance.
    if (LocatorInvalid(context.ownLocator))
        return result;
    int km = DistanceAzimuth(context.ownLocator, key).km;
    if (km == 0)
        km = context.options.sameLocatorKm;
    result.distanceKm = km;
    result.suffix = QsoLine::rightJustify(QString::number(km), 4);
    return result;
}
