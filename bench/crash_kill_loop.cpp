// Kills kvrlog-cli add with SIGKILL at random moments and checks after every kill that each contact the tool
// acknowledged (printed) is in the log, that the log loads whole, and that no serial was given twice.
//   crash_kill_loop [--cycles N] [--max-delay-ms M] [--seed S]
#include "core/qsoline.h"
#include "log/logbook.h"
#include "log/logloader.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int fail(const QString& what) {
    std::fprintf(stderr, "FAILED: %s\n", qPrintable(what));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&args](const char* name, int fallback) {
        const qsizetype at = args.indexOf(QString::fromLatin1(name));
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
    };
    const int cycles = option("--cycles", 300);
    const int maxDelayMs = option("--max-delay-ms", 60);
    QRandomGenerator random(quint32(option("--seed", int(QDateTime::currentMSecsSinceEpoch() & 0x7fffffff))));

    const QString cli = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bin/kvrlog-cli"));
    QTemporaryDir home;
    if (!QFile::copy(QStringLiteral(KVR_COUNTY_FILE), home.filePath(QStringLiteral("powiaty.txt"))))
        return fail(QStringLiteral("no county list"));
    {
        QFile settings(home.filePath(QStringLiteral("kvr_log.ini")));
        if (!settings.open(QIODevice::WriteOnly) || settings.write("[Program]\r\nSTX=001\r\nPasmo=40M\r\n") < 0)
            return fail(QStringLiteral("cannot write the settings"));
    }

    QSet<QString> acknowledged;
    int kills = 0;
    QElapsedTimer clock;
    clock.start();
    for (int cycle = 0; cycle < cycles; ++cycle) {
        QProcess add;
        add.start(cli, {QStringLiteral("--home"), home.path(), QStringLiteral("add"), QStringLiteral("--call"),
                        QStringLiteral("SP%1K").arg(cycle), QStringLiteral("--srx"), QStringLiteral("1")});
        if (!add.waitForStarted())
            return fail(QStringLiteral("cannot start ") + cli);
        const int delay = int(random.bounded(maxDelayMs + 1));
        if (!add.waitForFinished(delay)) {
            add.kill();
            ++kills;
            add.waitForFinished();
        }
        // A line on the output is the acknowledgement: from then on the contact must be in the log.
        const QString out = QString::fromUtf8(add.readAllStandardOutput()).trimmed();
        if (out.contains(QStringLiteral("SP%1K").arg(cycle)))
            acknowledged.insert(QsoLine::body(out));

        LogBook log;
        log.setPath(home.filePath(QStringLiteral("log.kvr")));
        const LoadResult loaded = LoadLog(log, LogContext());
        if (loaded.status != LoadResult::Status::Loaded && loaded.status != LoadResult::Status::Missing)
            return fail(QStringLiteral("cycle %1: the log does not load: %2").arg(cycle).arg(loaded.message));
        QSet<QString> bodies;
        QSet<QString> serials;
        for (const QString& line : log.lineTexts()) {
            bodies.insert(QsoLine::body(line));
            const QString serial = Qso::fromLine(line)->stx;
            if (serials.contains(serial))
                return fail(QStringLiteral("cycle %1: serial %2 given twice").arg(cycle).arg(serial));
            serials.insert(serial);
        }
        for (const QString& body : std::as_const(acknowledged)) {
            if (!bodies.contains(body))
                return fail(QStringLiteral("cycle %1: acknowledged contact lost: %2").arg(cycle).arg(body));
        }
    }
    const qsizetype leftovers = QDir(home.path()).entryList({QStringLiteral("*.??????")}, QDir::Files).size();
    std::printf("cycles %d, killed %d, acknowledged %lld, %.1f s, temporaries left %lld: every acknowledged contact "
                "is in the log, the log loads, no serial twice\n",
                cycles, kills, qlonglong(acknowledged.size()), clock.elapsed() / 1000.0, qlonglong(leftovers));
    return 0;
}
