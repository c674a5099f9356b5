#include "clicontext.h"
#include "contest/contestchoice.h"
#include "contest/contestsession.h"
#include "interchange/adifexport.h"
#include "interchange/cabrilloexport.h"
#include "interchange/csvexport.h"
#include "interchange/ediexport.h"
#include "interchange/interchangecommands.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace {

int written(const TextFile::Status& status, const QString& path) {
    if (!status) {
        Cli::err(status.error);
        return Cli::kFailure;
    }
    Cli::out(QStringLiteral("written=") + path);
    return Cli::kOk;
}

// What the contest chosen in the program proposes for the header, as the Cabrillo window takes it; a contest that
// does not read is told and proposes nothing.
std::optional<InterchangeCommands::CabrilloContestValues>
chosenContestValues(LogSession& session, const IniFile& settings, const CliContext& context) {
    const QString chosen = settings.value(SettingsKeys::Contest::definition);
    if (ContestChoice::isNone(chosen))
        return std::nullopt;
    const ProgramPlaces places = ProgramPlaces::forExecutable(QCoreApplication::applicationDirPath());
    ContestSession contest(
        session, ContestChoice::definitionFolders(places.executableDir, places.sharedDataDir, context.folder.path()));
    if (const QString refused = contest.choose(chosen); !refused.isEmpty()) {
        Cli::err(refused);
        return std::nullopt;
    }
    return InterchangeCommands::cabrilloContestValues(contest);
}

// The header as the Cabrillo window fills it when opened: operator data, the "Cabrillo" settings, the chosen
// contest, the options.
CabrilloHeader cabrilloHeader(LogSession& session, const IniFile& settings, const CliContext& context) {
    const OperatorData& op = session.operatorData;
    const CabrilloSettings s = CabrilloSettings::read(settings, op.operatorCall);
    CabrilloHeader h;
    h.version3 = s.version3;
    h.callsign = op.contestCall.toUpper();
    h.name = op.name;
    h.email = op.email;
    h.address1 = op.address1;
    h.address2 = op.address2;
    h.address3 = InterchangeCommands::cabrilloTownLine(op);
    h.locator = op.locator.toUpper();
    const std::optional<QString> claimed = context.option(QStringLiteral("claimed"));
    const std::optional<QString> typedName = context.option(QStringLiteral("contest-name"));
    const auto contest = claimed && typedName ? std::nullopt : chosenContestValues(session, settings, context);
    h.claimed = claimed.value_or(contest ? contest->claimed : QStringLiteral("0"));
    h.province = context.option(QStringLiteral("province")).value_or(QString()).toUpper();
    h.location = context.option(QStringLiteral("location")).value_or(QStringLiteral("DX"));
    h.contestName =
        s.contest == 0 ? typedName.value_or(QString()) : CabrilloLists::item(CabrilloLists::contests(), s.contest);
    h.domesticContest = s.domesticContest;
    if (contest && !typedName) {
        h.contestName = contest->contestName;
        h.domesticContest = contest->contestName.toUpper();
    }
    h.category = s.category;
    h.operators = s.operators;
    h.club = s.club;
    h.remarks = s.remarks;
    h.categoryOperator = CabrilloLists::item(CabrilloLists::categoryOperator(), s.categoryOperator);
    h.transmitter = CabrilloLists::item(CabrilloLists::transmitter(), s.transmitter);
    h.assisted = CabrilloLists::item(CabrilloLists::assisted(), s.assisted);
    h.band = CabrilloLists::item(CabrilloLists::band(), s.band);
    h.mode = CabrilloLists::item(CabrilloLists::mode(), s.mode);
    h.power = CabrilloLists::item(CabrilloLists::power(), s.power);
    h.time = CabrilloLists::item(CabrilloLists::time(), s.time);
    h.station = CabrilloLists::item(CabrilloLists::station(), s.station);
    h.overlay = CabrilloLists::item(CabrilloLists::overlay(), s.overlay);
    return h;
}

int exportEdi(LogSession& session, const IniFile& settings, const QString& band, const QString& dir) {
    if (!session.analysis.enabled || session.analysis.mode != AnalysisMode::Locator) {
        Cli::err(Edi::noAnalysisMessage());
        return Cli::kFailure;
    }
    const OperatorData& op = session.operatorData;
    const Edi::Settings s = Edi::Settings::read(settings, Edi::Settings());
    const std::span<const QsoRecord> log = session.log().records();
    const Edi::Statistics stats = Edi::Statistics::gather(log);
    Edi::Header h;
    h.TName = s.TName;
    h.TDate = stats.dates;
    h.PCall = op.contestCall.toUpper();
    h.PWWLo = op.locator;
    // The entry window starts with the serial number's auto-increment on, which leaves PExch empty.
    h.PAdr1 = s.PAdr1;
    h.PAdr2 = s.PAdr2;
    h.PSect = s.PSect;
    h.PClub = s.PClub;
    h.RName = op.name;
    h.RCall = op.operatorCall;
    h.RAdr1 = op.address1;
    h.RAdr2 = op.address2;
    h.RPoCo = op.postcode;
    h.RCity = op.town;
    h.RPhon = s.RPhon;
    h.RHBBS = s.RHBBS;
    h.MOpe1 = s.MOpe1;
    h.MOpe2 = s.MOpe2;
    const QString problem = Edi::validate(h);
    if (!problem.isEmpty()) {
        Cli::err(problem);
        return Cli::kFailure;
    }
    QDir().mkpath(dir);
    for (int i = 0; i < Edi::kBandCount; ++i) {
        if (band != QLatin1String("ALL") && band != Edi::bandName(i))
            continue;
        if (stats.bands[size_t(i)].qsoCount == 0)
            continue;
        const Edi::BandSettings& b = s.bands[size_t(i)];
        Edi::ClaimedScore claimed;
        claimed.computeAll(stats.bands[size_t(i)], log, b.multiplier, b.bonus, s.squaresMultiply);
        const QString path = Edi::fileName(dir, h.PCall, i);
        if (const int rc = written(Edi::writeBand(path, h, i, b, claimed, stats, log), path); rc != Cli::kOk)
            return rc;
    }
    return Cli::kOk;
}

} // namespace

int runExport(CliContext& context) {
    const QString& format = context.format;
    const std::optional<QString> log = context.option(QStringLiteral("log"));
    SystemClock clock;
    LogSession session(context.folder, context.dialogs, clock);
    const IniFile settings(context.folder.settingsFile());

    if (format == QLatin1String("cabrillo")) {
        if (const QString error = Cli::prepareSession(session, log); !error.isEmpty()) {
            Cli::err(error);
            return Cli::kFailure;
        }
        const CabrilloHeader h = cabrilloHeader(session, settings, context);
        if (context.badOptions || context.args.size() != 1)
            return context.usage();
        const QString problem = InterchangeCommands::cabrilloValidation(h, session.logPath());
        if (!problem.isEmpty()) {
            Cli::err(problem);
            return Cli::kFailure;
        }
        return written(CabrilloExport::write(context.args.first(), h, session.log().records()), context.args.first());
    }
    if (format == QLatin1String("adif")) {
        const QString comment = context.option(QStringLiteral("comment")).value_or(QString());
        const std::optional<QString> contest = context.option(QStringLiteral("contest"));
        const std::optional<QString> op = context.option(QStringLiteral("operator"));
        const bool sppa = context.flag(QStringLiteral("sppa-comment"));
        const bool odx = context.flag(QStringLiteral("odx-comment"));
        if (context.badOptions || context.args.size() != 1)
            return context.usage();
        if (const QString error = Cli::prepareSession(session, log); !error.isEmpty()) {
            Cli::err(error);
            return Cli::kFailure;
        }
        AdifExportOptions options = InterchangeCommands::adifOptions(session);
        options.comment = comment;
        options.contest = contest.value_or(AdifExport::proposedContest(
            settings.value(SettingsKeys::Cabrillo::contestName), QDate::currentDate().year()));
        options.operatorCall = op.value_or(session.operatorData.contestCall).toUpper().trimmed();
        options.sppaComment = sppa;
        options.odxComment = odx;
        return written(AdifExport(options).write(context.args.first(), session.log().records()), context.args.first());
    }
    if (format == QLatin1String("csv")) {
        if (context.badOptions || context.args.size() != 1)
            return context.usage();
        if (const QString error = Cli::prepareSession(session, log); !error.isEmpty()) {
            Cli::err(error);
            return Cli::kFailure;
        }
        return written(CsvExport::write(context.args.first(), session.analysis, session.log().records()),
                       context.args.first());
    }
    if (format == QLatin1String("edi")) {
        const QString band = context.option(QStringLiteral("band")).value_or(QStringLiteral("all")).toUpper();
        if (context.badOptions || context.args.size() != 1 ||
            (band != QLatin1String("ALL") && Edi::bandIndex(band) < 0))
            return context.usage();
        if (const QString error = Cli::prepareSession(session, log); !error.isEmpty()) {
            Cli::err(error);
            return Cli::kFailure;
        }
        return exportEdi(session, settings, band, context.args.first());
    }
    return context.usage();
}
