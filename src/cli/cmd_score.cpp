#include "clicontext.h"
#include "contest/contestchoice.h"
#include "contest/contestscore.h"
#include "contest/countryfile.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"

#include <QCoreApplication>

namespace {

QString cell(const QString& text, int width) {
    return text.leftJustified(width);
}
QString number(qint64 value, int width) {
    return QString::number(value).rightJustified(width);
}

} // namespace

// The claimed score of a log in a contest: the table of bands and modes, then "Wynik: …" as the last line.
int runScore(CliContext& context) {
    if (context.badOptions || context.args.size() > 1)
        return context.usage();
    SystemClock clock;
    LogSession session(context.folder, context.dialogs, clock);
    const std::optional<QString> logArgument =
        context.args.isEmpty() ? std::nullopt : std::optional<QString>(context.args.first());
    if (const QString error = Cli::prepareSession(session, logArgument); !error.isEmpty()) {
        Cli::err(error);
        return Cli::kFailure;
    }
    const IniFile settings(context.folder.settingsFile());
    const QString chosen =
        context.option(QStringLiteral("contest")).value_or(settings.value(SettingsKeys::Contest::definition));
    if (ContestChoice::isNone(chosen)) {
        Cli::err(QStringLiteral("Nie wybrano zawodów: podaj --contest NAZWA albo wybierz zawody w programie."));
        return Cli::kFailure;
    }
    const ProgramPlaces places = ProgramPlaces::forExecutable(QCoreApplication::applicationDirPath());
    const ContestDefinitionRead read = ContestChoice::find(
        chosen, ContestChoice::definitionFolders(places.executableDir, places.sharedDataDir, context.folder.path()));
    if (!read.definition) {
        Cli::err(read.error);
        return Cli::kFailure;
    }
    CountryFile countries;
    if (read.definition->needsCountries()) {
        const CountryFile::LoadResult loaded = countries.load(CountryFile::pathFor(context.folder.path()));
        if (!loaded.ok)
            Cli::err(loaded.message);
    }
    ContestStation own;
    own.call = session.operatorData.contestCall.trimmed().toUpper();
    if (!own.call.isEmpty())
        own.country = countries.find(own.call);
    if (read.definition->needsCountries() && countries.isLoaded() && !own.country)
        Cli::err(ContestScore::ownCountryUnknownMessage(own.call));
    ContestScore score(*read.definition, &countries, own, session.analysisContext());
    score.rebuild(session.log().records());

    Cli::out(read.definition->name);
    Cli::out(cell(QStringLiteral("Pasmo"), 6) + cell(QStringLiteral("Emisja"), 7) +
             QStringLiteral("   QSO  Punkty  Mnożniki"));
    for (const ScoreRow& row : score.rows()) {
        Cli::out(cell(row.band.name(), 6) + cell(row.mode.name(), 7) + number(row.qsos, 6) + number(row.points, 8) +
                 number(row.multipliers, 10));
    }
    const ScoreTotals totals = score.totals();
    Cli::out(cell(QStringLiteral("Razem"), 13) + number(totals.qsos, 6) + number(totals.points, 8) +
             number(totals.multipliers, 10));
    Cli::out(score.scoreLine());
    return Cli::kOk;
}
