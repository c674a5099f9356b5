#pragma once

#include "core/qso.h"

#include <span>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The entry window's UTC clock, the UTC offset, and the manual time of offline entry.
namespace EntryClock {

// Whole hours (local minus UTC). Automatic: the zone's current offset truncated toward zero, so a half-hour
// zone loses its half hour; manual: the configured hours. Kept in a signed byte as the settings allow.
int ComputeUtcOffset(bool manualUtc, int configuredHours, const QDateTime& localNow);

QDateTime utcFromLocal(const QDateTime& localNow, int offsetHours);
QString formatDate(const QDate& date); // yyyy-mm-dd
QString formatTime(const QTime& time); // hh:mm:ss

// hh:mm:ss with hours at most 23, minutes and seconds at most 59.
bool validManualTime(QStringView text);

struct ManualTime {
    QDate date;
    QString time; // hh:mm:ss
};
// PageUp/PageDown: one minute later or earlier with seconds 00, the date following past midnight.
ManualTime stepMinute(const ManualTime& current, int minutes);

// What the callsign field holds when Enter is pressed and it is a time or date command.
struct TimeCommand {
    bool isFourDigits = false;
    std::optional<QString> time; // hh:mm:00 when hh ≤ 23 and mm ≤ 59
};
TimeCommand timeCommand(QStringView text);
bool looksLikeDate(QStringView text); // ten characters of digits and "-"
std::optional<QDate> dateCommand(QStringView text);

// The date field's check when it is left: the message to show, if any.
std::optional<QString> dateFieldError(QStringView text);

// Two offline contacts must not share a moment: while a contact of the log has the manual date and time, the
// time is raised by one second. Past :59 the minute (and hour, and date) carry, so the time stays valid.
// sortedLines is the log in its sorted order (date and time first): each check is a binary search, so a paper
// log typed in among 100,000 contacts costs microseconds per contact.
ManualTime resolveOfflineCollision(const ManualTime& manual, std::span<const QsoRecord> sortedLog);

} // namespace EntryClock
