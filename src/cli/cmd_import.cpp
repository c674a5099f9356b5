#include "clicontext.h"
#include "interchange/interchangecommands.h"
#include "log/logsession.h"
#include "platform/clock.h"

#include <QFileInfo>

int runImport(CliContext& context) {
    const std::optional<QString> log = context.option(QStringLiteral("log"));
    if (context.badOptions || context.args.size() != 1)
        return context.usage();
    const QString input = context.args.first();
    if (!QFileInfo(input).isFile()) {
        Cli::err(TextFile::openFailure(input, QStringLiteral("Plik nie istnieje.")));
        return Cli::kFailure;
    }

    SystemClock clock;
    LogSession session(context.folder, context.dialogs, clock);
    // The log stays locked from the read to the write: the window, or another command, waits or is refused.
    session.holdLogLock(Cli::logLockWaitMs());
    if (const QString error = Cli::prepareSession(session, log); !error.isEmpty()) {
        Cli::err(error);
        return Cli::kFailure;
    }
    if (const std::optional<QString> refusal = session.lockRefusal()) {
        Cli::err(*refusal);
        return Cli::kFailure;
    }
    InterchangeCommands::ImportOutcome outcome;
    if (context.format == QLatin1String("adif")) {
        // Nobody is asked on the command line, so the contacts the import replaces are kept in Backup_logs.
        const InterchangeCommands::BackupResult backup = InterchangeCommands::backupCurrentLog(session);
        if (!backup.status) {
            Cli::err(backup.status.error);
            return Cli::kFailure;
        }
        if (!backup.path.isEmpty())
            Cli::out(QStringLiteral("backup=") + backup.path);
        outcome = InterchangeCommands::importAdifFile(session, input);
    } else {
        outcome = InterchangeCommands::importCabrilloFile(session, input);
    }
    if (!outcome.changed)
        return Cli::kFailure; // the reason went to stderr through the dialog seam
    Cli::out(QStringLiteral("imported=%1").arg(outcome.imported));
    if (outcome.skipped > 0)
        Cli::out(QStringLiteral("skipped=%1").arg(outcome.skipped));
    // Every record or line left out or cleaned, in file order: a script sees them all, not the window's first 20.
    for (const QString& note : outcome.notes)
        Cli::err(note);
    return Cli::kOk;
}
