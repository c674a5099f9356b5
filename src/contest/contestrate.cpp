#include "contest/contestrate.h"

#include "core/bands.h"

#include <algorithm>

namespace {

int digits(QByteArrayView text, qsizetype from, qsizetype count, bool& ok) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            ok = false;
            return 0;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

int perHour(qsizetype contacts, qint64 seconds) {
    // Measured over at least a minute, so one contact logged just now is no rate of thousands.
    return int(qint64(contacts) * 3600 / std::max<qint64>(60, seconds));
}

QString hoursAndMinutes(qint64 seconds) {
    const qint64 minutes = std::max<qint64>(0, seconds) / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

std::optional<qint64> contactSeconds(const QsoRecord& record) {
    // "yyyy-mm-dd hhmmss"
    const QByteArrayView text = record.dateAndTime();
    bool ok = text.size() >= 17;
    if (!ok)
        return std::nullopt;
    const int year = digits(text, 0, 4, ok), month = digits(text, 5, 2, ok), day = digits(text, 8, 2, ok);
    const int hour = digits(text, 11, 2, ok), minute = digits(text, 13, 2, ok), second = digits(text, 15, 2, ok);
    const QDate date(year, month, day);
    if (!ok || !date.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return date.toJulianDay() * 86400 + hour * 3600 + minute * 60 + second - QDate(1970, 1, 1).toJulianDay() * 86400;
}

RateFigures rateOf(std::span<const QsoRecord> records, const QDateTime& nowUtc) {
    RateFigures figures;
    const qint64 now = nowUtc.toSecsSinceEpoch();
    std::vector<qint64> moments;
    moments.reserve(records.size());
    for (const QsoRecord& record : records) {
        if (const std::optional<qint64> seconds = contactSeconds(record))
            moments.push_back(*seconds);
    }
    std::sort(moments.begin(), moments.end());
    if (moments.empty())
        return figures;
    const auto lastOf = [&](size_t count) {
        const size_t taken = std::min(count, moments.size());
        return perHour(qsizetype(taken), now - moments[moments.size() - taken]);
    };
    figures.last10PerHour = lastOf(10);
    figures.last100PerHour = lastOf(100);
    figures.lastHour = int(moments.end() - std::lower_bound(moments.begin(), moments.end(), now - 3600 + 1));
    for (size_t i = 1; i < moments.size(); ++i) {
        const qint64 gap = moments[i] - moments[i - 1];
        if (gap >= kOffTimeSeconds) {
            figures.offSeconds += gap;
            ++figures.offTimes;
        }
    }
    figures.operatingSeconds = moments.back() - moments.front() - figures.offSeconds;
    return figures;
}

QString rateLine(const RateFigures& figures) {
    return QStringLiteral("Tempo 10: %1/h   100: %2/h   60 min: %3   Czas pracy %4   Przerwy %5")
        .arg(figures.last10PerHour)
        .arg(figures.last100PerHour)
        .arg(figures.lastHour)
        .arg(hoursAndMinutes(figures.operatingSeconds), hoursAndMinutes(figures.offSeconds));
}

ContestStatistics gatherStatistics(std::span<const QsoRecord> records, const ContestScore* score) {
    ContestStatistics statistics;
    const auto bands = Bands::all();
    const std::vector<ContactScore>* scores =
        score && score->contactScores().size() == records.size() ? &score->contactScores() : nullptr;
    const bool pointsOnly = score && score->definition().formula == ContestDefinition::Formula::PointsOnly;
    qint64 points = 0;
    qint64 multipliers = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const std::optional<qint64> seconds = contactSeconds(records[i]);
        if (!seconds)
            continue;
        const qint64 hourStart = *seconds - *seconds % 3600;
        if (statistics.hours.empty() || statistics.hours.back().hour.toSecsSinceEpoch() != hourStart) {
            HourStatistics hour;
            hour.hour = QDateTime::fromSecsSinceEpoch(hourStart, Qt::UTC);
            hour.perBand.assign(bands.size(), 0);
            statistics.hours.push_back(std::move(hour));
        }
        HourStatistics& hour = statistics.hours.back();
        const int band = records[i].band().index();
        if (band >= 0 && size_t(band) < hour.perBand.size())
            ++hour.perBand[size_t(band)];
        ++hour.total;
        if (scores) {
            const ContactScore& contact = (*scores)[i];
            if (contact.inContest && !contact.dupe) {
                points += contact.points;
                multipliers += contact.newMultipliers.size();
                const QString continent = contact.country ? contact.country->continent : QStringLiteral("?");
                ++statistics.perContinent[continent];
            }
            hour.claimedAtEnd = pointsOnly ? points : points * multipliers;
        }
    }
    return statistics;
}

std::vector<int> bandsWorked(const ContestStatistics& statistics) {
    std::vector<int> worked;
    const size_t bands = statistics.hours.empty() ? 0 : statistics.hours.front().perBand.size();
    for (size_t band = 0; band < bands; ++band) {
        const bool any = std::any_of(statistics.hours.begin(), statistics.hours.end(),
                                     [band](const HourStatistics& hour) { return hour.perBand[band] > 0; });
        if (any)
            worked.push_back(int(band));
    }
    return worked;
}
