// Loading logs of 10,000, 100,000 and 1,000,000 contacts with the analysis off, in county mode and in
// locator mode: milliseconds per load, microseconds per contact and the memory the loaded log holds.
// "bench_load 1000000 county" measures one size and mode only, for a profiler.
#include "analysis/countylist.h"
#include "log/logbook.h"
#include "log/logloader.h"
#include "loggenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>
#include <memory>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString countyFile = QStringLiteral(KVR_SOURCE_DIR "/data/powiaty.txt");
    std::printf("%-10s %-9s %10s %12s %14s\n", "contacts", "analysis", "ms/load", "us/contact", "MB held");
    const QStringList args = app.arguments();
    const int onlyCount = args.size() > 1 ? args.at(1).toInt() : 0;
    const QString onlyMode = args.value(2);
    for (const int count : {10000, 100000, 1000000}) {
        if (onlyCount > 0 && count != onlyCount)
            continue;
        const QString path = LogGenerator::write(dir.filePath(QStringLiteral("log%1.kvr").arg(count)), count);
        for (const char* modeName : {"off", "county", "locator"}) {
            const QString name = QString::fromLatin1(modeName);
            if (!onlyMode.isEmpty() && name != onlyMode)
                continue;
            CountyList counties;
            LogContext context;
            context.analysis.options.enabled = name != QLatin1String("off");
            context.analysis.options.mode =
                name == QLatin1String("locator") ? AnalysisMode::Locator : AnalysisMode::ProvinceCounty;
            counties.LoadCountyList(countyFile, context.analysis.options.mode);
            context.analysis.counties = &counties;
            context.analysis.ownLocator = QStringLiteral("JO91RU");
            context.analysis.currentBand = Band::fromName(u"80M");
            context.analysis.currentMode = Mode::fromName(u"CW");

            double best = 1e12;
            double heldMb = 0;
            const int rounds = onlyCount > 0 ? 5 : (count >= 1000000 ? 2 : 3);
            for (int round = 0; round < rounds; ++round) {
                malloc_trim(0);
                const qint64 before = residentKb();
                auto log = std::make_unique<LogBook>();
                log->setPath(path);
                QElapsedTimer timer;
                timer.start();
                const LoadResult result = LoadLog(*log, context);
                const double ms = double(timer.nsecsElapsed()) / 1e6;
                if (!result.complete()) {
                    std::fprintf(stderr, "load failed: %s\n", qPrintable(result.message));
                    return 1;
                }
                best = std::min(best, ms);
                heldMb = double(residentKb() - before) / 1024.0;
            }
            std::printf("%-10d %-9s %10.1f %12.3f %14.1f\n", count, modeName, best, best * 1000.0 / count, heldMb);
        }
    }
    std::printf("peak resident memory: %.1f MB\n", double(peakResidentKb()) / 1024.0);
    return 0;
}
