#include "entry/entryclock.h"

#include <algorithm>

namespace EntryClock {

int ComputeUtcOffset(bool manualUtc, int configuredHours, const QDateTime& localNow) {
    const int hours = manualUtc ? configuredHours : localNow.offsetFromUtc() / 3600;
    return int(qint8(hours));
}

QDateTime utcFromLocal(const QDateTime& localNow, int offsetHours) {
    // The wall-clock reading minus the offset; the result is shown as it is, without zone conversions.
    const QDateTime wall(localNow.date(), localNow.time(), Qt::UTC);
    return wall.addSecs(-qint64(offsetHours) * 3600);
}

QString formatDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString formatTime(const QTime& time) {
    return time.toString(QStringLiteral("hh:mm:ss"));
}

namespace {

bool digitPair(QStringView text, qsizetype at, int max, int& value) {
    const QChar a = text[at];
    const QChar b = text[at + 1];
    if (!a.isDigit() || !b.isDigit() || a.unicode() > '9' || b.unicode() > '9')
        return false;
    value = (a.unicode() - '0') * 10 + (b.unicode() - '0');
    return value <= max;
}

bool onlyDigitsAndHyphens(QStringView text) {
    for (const QChar ch : text) {
        if (ch != QLatin1Char('-') && (ch < QLatin1Char('0') || ch > QLatin1Char('9')))
            return false;
    }
    return true;
}

} // namespace

bool validManualTime(QStringView text) {
    int h = 0, m = 0, s = 0;
    return text.size() == 8 && text[2] == QLatin1Char(':') && text[5] == QLatin1Char(':') &&
           digitPair(text, 0, 23, h) && digitPair(text, 3, 59, m) && digitPair(text, 6, 59, s);
}

ManualTime stepMinute(const ManualTime& current, int minutes) {
    QTime time = QTime::fromString(current.time, QStringLiteral("hh:mm:ss"));
    if (!time.isValid())
        time = QTime(0, 0);
    const QDateTime start(current.date, QTime(time.hour(), time.minute()), Qt::UTC);
    const QDateTime moved = start.addSecs(qint64(minutes) * 60);
    return {moved.date(), formatTime(moved.time())};
}

TimeCommand timeCommand(QStringView text) {
    TimeCommand command;
    if (text.size() != 4 || !onlyDigitsAndHyphens(text) || text.contains(QLatin1Char('-')))
        return command;
    command.isFourDigits = true;
    int h = 0, m = 0;
    if (digitPair(text, 0, 23, h) && digitPair(text, 2, 59, m))
        command.time = text.left(2).toString() + QLatin1Char(':') + text.mid(2, 2).toString() + QStringLiteral(":00");
    return command;
}

bool looksLikeDate(QStringView text) {
    return text.size() == 10 && onlyDigitsAndHyphens(text);
}

std::optional<QDate> dateCommand(QStringView text) {
    if (!looksLikeDate(text))
        return std::nullopt;
    const QDate date = QDate::fromString(text.toString(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QString> dateFieldError(QStringView text) {
    QString compact = text.toString();
    compact.remove(QLatin1Char(' '));
    if (compact.size() != 10)
        return QStringLiteral("Błędny format daty!");
    for (qsizetype i = 0; i < compact.size(); ++i) {
        if (i == 4 || i == 7)
            continue;
        if (compact[i] < QLatin1Char('0') || compact[i] > QLatin1Char('9'))
            return QStringLiteral("Niewłaściwe dane w polu daty!");
    }
    return std::nullopt;
}

ManualTime resolveOfflineCollision(const ManualTime& manual, std::span<const QsoRecord> sortedLog) {
    const QTime time = QTime::fromString(manual.time, QStringLiteral("hh:mm:ss"));
    if (!time.isValid() || !manual.date.isValid())
        return manual;
    // The log is sorted by its lines, so by their date and time first.
    const auto taken = [&](const QString& stamp) {
        const QByteArray key = stamp.toLatin1();
        const auto at =
            std::lower_bound(sortedLog.begin(), sortedLog.end(), key,
                             [](const QsoRecord& qso, const QByteArray& k) { return qso.dateAndTime() < k; });
        return at != sortedLog.end() && at->dateAndTime() == key;
    };
    QDateTime moment(manual.date, time, Qt::UTC);
    QDateTime free = moment;
    while (taken(formatDate(free.date()) + QLatin1Char(' ') + free.time().toString(QStringLiteral("hhmmss"))))
        free = free.addSecs(1);
    if (free == moment)
        return manual;
    return {free.date(), formatTime(free.time())};
}

} // namespace EntryClock
