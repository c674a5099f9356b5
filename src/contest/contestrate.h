#pragma once

#include "contest/contestscore.h"
#include "core/qso.h"

#include <QDateTime>
#include <QMap>
#include <QString>

#include <span>
#include <vector>

// The rate meter of the entry window: how fast the operator logs now, and how long he has been on the air.
struct RateFigures {
    int last10PerHour = 0;       // the last 10 contacts, per hour, measured up to now
    int last100PerHour = 0;      // the same over the last 100
    int lastHour = 0;            // contacts of the last 60 minutes
    qint64 operatingSeconds = 0; // first contact to last, without the off-times
    qint64 offSeconds = 0;       // gaps of 60 minutes or more between two contacts
    int offTimes = 0;
};

// The moment of a contact, in UTC seconds since 1970; nullopt for a date or time that is no moment.
std::optional<qint64> contactSeconds(const QsoRecord& record);

RateFigures rateOf(std::span<const QsoRecord> records, const QDateTime& nowUtc);
// The rate meter's text: "Tempo 10: 120/h   100: 95/h   60 min: 87   Czas pracy 5:12   Przerwy 1:05" (hours and
// minutes).
QString rateLine(const RateFigures& figures);

// An off-time is a gap of at least this many seconds between two contacts, the usual contest rule.
inline constexpr qint64 kOffTimeSeconds = 60 * 60;

// The statistics window: contacts per hour and band, the claimed score at the end of each hour, and the
// contacts per continent.
struct HourStatistics {
    QDateTime hour;           // UTC, the hour's start
    std::vector<int> perBand; // in the order of Bands::all()
    int total = 0;
    qint64 claimedAtEnd = 0;
};
struct ContestStatistics {
    std::vector<HourStatistics> hours;
    QMap<QString, int> perContinent; // "EU" → contacts; "?" for calls without a country
};
// The score gives the running score (its contact scores must be those of these records) and the continents;
// without one the hours carry no score and no continent is counted.
ContestStatistics gatherStatistics(std::span<const QsoRecord> records, const ContestScore* score);
// The bands with at least one contact in the hours, as indexes into Bands::all(), in that order.
std::vector<int> bandsWorked(const ContestStatistics& statistics);
