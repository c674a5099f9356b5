#pragma once

#include "consoledialogs.h"
#include "platform/programfolder.h"
#include "rig/rig.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// What every subcommand gets: the program folder, its parsed command line and the console seams.
struct CliContext {
    ProgramFolder folder;
    QString synopsis; // what the usage message shows after "kvrlog-cli [--home DIR] "
    QString format;   // export and import: the format named first, in lower case
    const QCommandLineParser& parser;
    QStringList args;        // the arguments that are not options
    bool badOptions = false; // an unknown option, an option given twice, or one without its value
    ConsoleDialogs dialogs;

    // The option's value, nullopt when it was not given. Given twice, the first one counts: export cabrillo
    // loads that log before it reports the bad usage.
    std::optional<QString> option(const QString& name) const;
    bool flag(const QString& name) const { return parser.isSet(name); }
    // The synopsis on stderr, after it the problem when there is one; returns the exit code of bad usage.
    int usage(const QString& problem = QString()) const;
};

class IniFile;
class LogSession;

namespace Cli {
inline constexpr int kOk = 0;
inline constexpr int kFailure = 1;
inline constexpr int kUsage = 2;

void out(const QString& text); // a line on stdout, UTF-8
void err(const QString& text); // a line on stderr, UTF-8
QString usageText(const QString& synopsis);
int usage(const QString& synopsis); // the usage on stderr; returns the exit code of bad usage

// Fills the session as the program does at start-up (settings file of the program folder, county list) and
// loads the log: the given one, else the settings' last log. Returns the error text, empty on success.
QString prepareSession(LogSession& session, const std::optional<QString>& log);

// How long a writing command waits for another writer of the log to finish: 5 s, or KVRLOG_LOCK_WAIT_MS.
int logLockWaitMs();

// One reading of the radio that the "Radio" settings name, changed by --model, --port, --speed and --rigctld,
// with the band and mode the entry window would select on it (empty where it would keep its own).
struct RigTake {
    int exitCode = kOk; // bad usage or a failure, already told on stderr
    RigReading reading;
    QString band;
    QString mode;
};
RigTake readRig(const CliContext& context, const IniFile& settings);
} // namespace Cli

// Subcommands: each returns the exit code.
int runSummary(CliContext& context);
int runLocator(CliContext& context);
int runMaster(CliContext& context);
int runAdd(CliContext& context);
int runExport(CliContext& context);
int runImport(CliContext& context);
int runMorse(CliContext& context);
int runRig(CliContext& context);
int runScore(CliContext& context);
int runSend(CliContext& context);
