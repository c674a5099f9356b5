#include "rig/rigmapping.h"

#include <QStringList>

#include <cmath>

namespace {

struct BandPlan {
    const char* band;
    qint64 lowHz;
    qint64 highHz;
    qint64 cwHz;
    qint64 phoneHz;
    qint64 fmHz;
    qint64 digitalHz;
};

constexpr BandPlan kPlans[] = {
    {"160M", 1'800'000, 2'000'000, 1'830'000, 1'850'000, 1'850'000, 1'838'000},
    {"80M", 3'500'000, 4'000'000, 3'530'000, 3'700'000, 3'700'000, 3'580'000},
    {"40M", 7'000'000, 7'300'000, 7'020'000, 7'100'000, 7'100'000, 7'040'000},
    {"30M", 10'100'000, 10'150'000, 10'120'000, 10'120'000, 10'120'000, 10'140'000},
    {"20M", 14'000'000, 14'350'000, 14'030'000, 14'200'000, 14'200'000, 14'080'000},
    {"17M", 18'068'000, 18'168'000, 18'080'000, 18'130'000, 18'130'000, 18'100'000},
    {"15M", 21'000'000, 21'450'000, 21'030'000, 21'250'000, 21'250'000, 21'080'000},
    {"12M", 24'890'000, 24'990'000, 24'900'000, 24'950'000, 24'950'000, 24'920'000},
    {"10M", 28'000'000, 29'700'000, 28'030'000, 28'500'000, 29'600'000, 28'080'000},
    {"6M", 50'000'000, 54'000'000, 50'090'000, 50'150'000, 51'510'000, 50'300'000},
    {"2M", 144'000'000, 148'000'000, 144'050'000, 144'300'000, 145'500'000, 144'140'000},
    {"70CM", 420'000'000, 450'000'000, 432'050'000, 432'200'000, 433'500'000, 432'090'000},
    {"23CM", 1'240'000'000, 1'300'000'000, 1'296'050'000, 1'296'200'000, 1'297'500'000, 1'296'140'000},
};

const BandPlan* planOf(const QString& band) {
    for (const BandPlan& plan : kPlans) {
        if (band == QLatin1String(plan.band))
            return &plan;
    }
    return nullptr;
}

} // namespace

namespace RigMapping {

QString bandOf(qint64 hz) {
    for (const BandPlan& plan : kPlans) {
        if (hz >= plan.lowHz && hz <= plan.highHz)
            return QString::fromLatin1(plan.band);
    }
    return {};
}

QString modeOf(const QString& rigMode) {
    static const QStringList cw = {QStringLiteral("CW"), QStringLiteral("CWR"), QStringLiteral("CWN")};
    static const QStringList ssb = {QStringLiteral("USB"), QStringLiteral("LSB"), QStringLiteral("ECSSUSB"),
                                    QStringLiteral("ECSSLSB")};
    static const QStringList fm = {QStringLiteral("FM"), QStringLiteral("FMN"), QStringLiteral("WFM")};
    static const QStringList rtty = {QStringLiteral("RTTY"), QStringLiteral("RTTYR")};
    static const QStringList psk = {QStringLiteral("PSK"), QStringLiteral("PSKR")};
    const QString mode = rigMode.trimmed().toUpper();
    if (cw.contains(mode))
        return QStringLiteral("CW");
    if (ssb.contains(mode))
        return QStringLiteral("SSB");
    if (fm.contains(mode))
        return QStringLiteral("FM");
    if (rtty.contains(mode))
        return QStringLiteral("RTTY");
    if (psk.contains(mode))
        return QStringLiteral("PSK31");
    return {};
}

QString rigModeFor(const QString& mode, const QString& band) {
    if (mode == QLatin1String("SSB")) {
        const BandPlan* plan = planOf(band);
        return plan && plan->highHz < 10'000'000 ? QStringLiteral("LSB") : QStringLiteral("USB");
    }
    if (mode == QLatin1String("PSK31") || mode == QLatin1String("HELL"))
        return QStringLiteral("PKTUSB");
    return mode;
}

qint64 defaultFrequency(const QString& band, const QString& mode) {
    const BandPlan* plan = planOf(band);
    if (!plan)
        return 0;
    if (mode == QLatin1String("SSB"))
        return plan->phoneHz;
    if (mode == QLatin1String("FM"))
        return plan->fmHz;
    if (mode == QLatin1String("CW"))
        return plan->cwHz;
    return plan->digitalHz;
}

QString kilohertz(qint64 hz) {
    const qint64 hundreds = (hz + 50) / 100;
    return QStringLiteral("%1.%2").arg(hundreds / 10).arg(hundreds % 10);
}

std::optional<qint64> frequencyFromRig(double hz) {
    constexpr double kHighestHz = 1e12;
    if (!std::isfinite(hz) || hz <= 0.0 || hz >= kHighestHz)
        return std::nullopt;
    return qint64(hz + 0.5);
}

QString impossibleFrequencyText(double hz) {
    return QStringLiteral("radio podało niemożliwą częstotliwość: %1 Hz").arg(QString::number(hz, 'g', 6));
}

} // namespace RigMapping
