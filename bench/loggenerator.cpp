#include "loggenerator.h"

#include "core/bands.h"
#include "core/qsoline.h"
#include "core/textfile.h"

#include <QDate>
#include <QFile>

#include <random>

namespace LogGenerator {

QStringList lines(int count, unsigned seed) {
    static const char* counties[] = {"GW", "KD", "AQ", "BJ", "GV", "IA", "ZG", "ZL", "SC", "NL"};
    static const char* provinces[] = {"B", "B", "C", "C", "C", "C", "B", "B", "B", "B"};
    static const char* modes[] = {"CW", "PH", "CW", "FM", "CW", "RY"};
    std::mt19937 random(seed);
    const auto bands = Bands::all();
    QStringList out;
    out.reserve(count);
    const QDateTime start(QDate(2026, 3, 14), QTime(6, 0));
    const int calls = std::max(50, count / 3);
    for (int i = 0; i < count; ++i) {
        const BandInfo& band = bands[random() % bands.size()];
        QsoFields f;
        const QDateTime when = start.addSecs(i * 7 + qint64(random() % 5));
        f.date = when.date().toString(QStringLiteral("yyyy-MM-dd"));
        f.time = when.time().toString(QStringLiteral("HH:mm:ss"));
        f.band = Band::fromInfo(&band);
        f.mode = Mode::fromCode(QString::fromLatin1(modes[random() % 6]));
        f.rstSent = f.mode.isCw() ? QStringLiteral("599") : QStringLiteral("59");
        f.rstRcvd = f.rstSent;
        f.stxFirst = QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        const unsigned callNumber = random() % unsigned(calls);
        f.call = QStringLiteral("S%1%2%3")
                     .arg(QLatin1Char("PQN"[callNumber % 3]))
                     .arg(callNumber % 10)
                     .arg(QString::number(callNumber / 10, 36).toUpper());
        const unsigned c = random() % 10;
        if (band.vhf) {
            f.stxFixed = QStringLiteral("-JO91RU");
            const char lon = char('J' + random() % 3), lat = char('N' + random() % 3);
            f.srx = QStringLiteral("%1%2%3%4%5%6")
                        .arg(QLatin1Char(lon))
                        .arg(QLatin1Char(lat))
                        .arg(random() % 10)
                        .arg(random() % 10)
                        .arg(QLatin1Char(char('A' + random() % 24)))
                        .arg(QLatin1Char(char('A' + random() % 24)));
        } else {
            f.srx = QStringLiteral("%1%2%3")
                        .arg(random() % 100)
                        .arg(QLatin1String(provinces[c]))
                        .arg(QLatin1String(counties[c]));
        }
        out.append(QsoLine::compose(f));
    }
    return out;
}

QString write(const QString& path, int count, unsigned seed) {
    TextFile::writeLines(path, lines(count, seed));
    return path;
}

} // namespace LogGenerator

namespace {
qint64 statusField(const char* name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(qstrlen(name)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
} // namespace

qint64 residentKb() {
    return statusField("VmRSS:");
}

qint64 peakResidentKb() {
    return statusField("VmHWM:");
}
