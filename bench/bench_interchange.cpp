// Exports a 100,000-contact log in every format and imports 100,000 ADIF records and Cabrillo lines, then runs
// `kvrlog-cli import adif` on the exported file from start to end.
#include "analysis/countylist.h"
#include "core/qso.h"
#include "core/qsoline.h"
#include "interchange/adifexport.h"
#include "interchange/adifimport.h"
#include "interchange/cabrilloexport.h"
#include "interchange/cabrilloimport.h"
#include "interchange/csvexport.h"
#include "interchange/ediexport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int kContacts = 100000;

std::vector<QsoRecord> makeLog() {
    static const char* const bands[] = {"160M", "80M", "40M", "20M", "15M", "10M", "6M", "2M", "70CM", "23CM"};
    static const char* const modes[] = {"CW", "PH", "FM"};
    std::vector<QsoRecord> log;
    log.reserve(kContacts);
    const QDateTime start(QDate(2024, 6, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < kContacts; ++i) {
        // Several contacts share each minute, as in a busy contest.
        const QDateTime t = start.addSecs(qint64(i) * 7);
        const bool vhf = (i % 10) >= 6;
        QsoFields f{t.toString("yyyy-MM-dd"),
                    t.toString("HH:mm:ss"),
                    Band::fromName(QString::fromLatin1(bands[i % 10])),
                    Mode::fromCode(QString::fromLatin1(modes[i % 3])),
                    "599",
                    QString::number(i % 9999 + 1),
                    vhf ? QStringLiteral(" KO02MD") : QString(),
                    QStringLiteral("SP%1A%2").arg(i % 10).arg(i % 9973),
                    "599",
                    vhf ? QStringLiteral("%1JO%2AB").arg(i % 999).arg(90 + i % 10) : QStringLiteral("%1").arg(i % 999)};
        QsoRecord record = *QsoRecord::fromLine(QsoLine::compose(f));
        if (vhf)
            record.setSuffix(QsoLine::rightJustify(QString::number(100 + i % 700), 4), false);
        log.push_back(record);
    }
    return log;
}

void measure(const char* what, const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    std::printf("%-40s %8.1f ms\n", what, double(timer.nsecsElapsed()) / 1e6);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::vector<QsoRecord> log = makeLog();
    std::printf("log of %d contacts\n", kContacts);

    CabrilloHeader header;
    header.version3 = true;
    header.callsign = QStringLiteral("SP9XYZ");
    measure("export Cabrillo", [&] { CabrilloExport::write(dir.filePath("x.cbr"), header, log); });

    AdifExportOptions adif;
    adif.analysis.enabled = true;
    adif.analysis.mode = AnalysisMode::Locator;
    adif.odxComment = true;
    adif.comment = QStringLiteral("bench");
    measure("export ADIF", [&] { AdifExport(adif).write(dir.filePath("x.adi"), log); });

    AnalysisOptions analysis;
    analysis.enabled = true;
    analysis.mode = AnalysisMode::Locator;
    measure("export CSV", [&] { CsvExport::write(dir.filePath("x.csv"), analysis, log); });

    measure("export EDI (statistics, scores, 4 files)", [&] {
        const Edi::Statistics stats = Edi::Statistics::gather(log);
        Edi::Header h;
        h.PCall = QStringLiteral("SP9XYZ");
        for (int band = 0; band < Edi::kBandCount; ++band) {
            Edi::ClaimedScore claimed;
            claimed.computeAll(stats.bands[size_t(band)], log, 1, 500, false);
            Edi::writeBand(Edi::fileName(dir.path(), h.PCall, band), h, band, {}, claimed, stats, log);
        }
    });

    int adifLines = 0;
    measure("import ADIF (100,000 records)",
            [&] { adifLines = int(AdifImport::readFile(dir.filePath("x.adi")).lines.size()); });
    std::printf("  records imported: %d\n", adifLines);

    int cabrilloLines = 0;
    measure("import Cabrillo (100,000 lines)", [&] {
        // Against the whole log already in memory: every minute is taken, so the seconds search runs in full.
        CabrilloImport import(log);
        cabrilloLines = int(import.readFile(dir.filePath("x.cbr")).lines.size());
    });
    std::printf("  lines imported: %d\n", cabrilloLines);

    // The whole command: start, settings, backup, reading, writing the log and loading it back.
    QDir().mkpath(dir.filePath("home"));
    QFile ini(dir.filePath("home/kvr_log.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Program]\r\nLog=" + dir.filePath("home/log.kvr").toUtf8() + "\r\n");
    ini.close();
    QFile::copy(QFileInfo(QStringLiteral(KVRLOG_CLI)).absoluteDir().filePath(QStringLiteral("powiaty.txt")),
                dir.filePath("home/powiaty.txt"));
    int exitCode = -1;
    measure("kvrlog-cli import adif (whole run)", [&] {
        exitCode = QProcess::execute(QStringLiteral(KVRLOG_CLI),
                                     {QStringLiteral("--home"), dir.filePath("home"), QStringLiteral("import"),
                                      QStringLiteral("adif"), dir.filePath("x.adi")});
    });
    std::printf("  exit code: %d\n", exitCode);
    return 0;
}
