#include "analysis/countylist.h"
#include "analysis/scoresummary.h"
#include "clicontext.h"
#include "core/bands.h"
#include "core/modes.h"
#include "core/qsoline.h"
#include "entry/entrystartup.h"
#include "entry/startupoptions.h"
#include "log/logbook.h"
#include "log/logloader.h"
#include "settings/inifile.h"

#include <QFileInfo>

int runSummary(CliContext& context) {
    const IniFile settings(context.folder.settingsFile());
    StartupOptions options = StartupOptions::read(settings, context.folder);
    if (const auto band = context.option(QStringLiteral("band")))
        options.band = band->toUpper();
    if (const auto mode = context.option(QStringLiteral("mode")))
        options.mode = mode->toUpper();
    if (context.badOptions || context.args.size() > 1)
        return context.usage();
    if (!Band::fromName(options.band).isValid())
        return context.usage(QStringLiteral("unknown band ") + options.band);
    if (!Mode::fromName(options.mode).isKnown())
        return context.usage(QStringLiteral("unknown mode ") + options.mode);

    LogBook log;
    log.setPath(QFileInfo(context.args.isEmpty() ? options.logPath : context.args.first()).absoluteFilePath());
    if (!context.args.isEmpty() && !QFileInfo::exists(log.path())) {
        Cli::err(TextFile::openFailure(log.path(), QStringLiteral("Plik nie istnieje.")));
        return Cli::kFailure;
    }

    CountyList counties;
    if (!QFileInfo::exists(context.folder.countyFile())) {
        Cli::err(EntryStartup::countyListMissingMessage(context.folder));
        return Cli::kFailure;
    }
    counties.LoadCountyList(context.folder.countyFile(), options.analysis.mode);

    LogContext logContext;
    logContext.oneQsoPerBand = options.oneQsoPerBand;
    logContext.analysis = {options.analysis, &counties, options.ownLocator, Band::fromName(options.band),
                           Mode::fromName(options.mode)};
    const LoadResult loaded = LoadLog(log, logContext);
    if (loaded.status == LoadResult::Status::FormatError || loaded.status == LoadResult::Status::ReadError) {
        Cli::err(loaded.message);
        return Cli::kFailure;
    }

    qint64 dupes = 0;
    for (const QsoRecord& qso : log.records())
        dupes += qso.isDupe() ? 1 : 0;
    QStringList vhf;
    for (int i = 0; i < Bands::kVhfCount; ++i)
        vhf.append(Bands::vhfName(i) + QLatin1Char(':') + QString::number(log.nextVhfSerial(i)));

    Cli::out(BuildScoreSummary(log.path(), log.scoreFigures(options.analysis)));
    Cli::out(QStringLiteral("qsos=%1").arg(log.size()));
    Cli::out(QStringLiteral("dupes=%1").arg(dupes));
    Cli::out(QStringLiteral("phone=%1").arg(log.phoneCount()));
    Cli::out(QStringLiteral("cw=%1").arg(log.cwCount()));
    Cli::out(QStringLiteral("odx=%1").arg(log.odxTotal()));
    Cli::out(QStringLiteral("counties=") + log.loggedCountyList().join(QLatin1Char(',')));
    Cli::out(QStringLiteral("vhf=") + vhf.join(QLatin1Char(',')));
    return Cli::kOk;
}
