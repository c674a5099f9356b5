#pragma once

#include "consoledialogs.h"
#include "platform/programfolder.h"

#include <QString>
#include <QStringList>

#include <optional>

// What every subcommand gets: the program folder, the remaining arguments and the console seams.
struct CliContext {
    ProgramFolder folder;
    QStringList args; // after the subcommand name
    ConsoleDialogs dialogs;

    // Takes "--name value" (or "--name=value") out of args.
    std::optional<QString> takeOption(const QString& name);
    bool takeFlag(const QString& name);
    // An option left over, or a positional argument beyond the expected count, is a usage error.
    bool hasUnknownOptions() const;
};

class LogSession;

namespace Cli {
inline constexpr int kOk = 0;
inline constexpr int kFailure = 1;
inline constexpr int kUsage = 2;

void out(const QString& text); // a line on stdout, UTF-8
void err(const QString& text); // a line on stderr, UTF-8
int usage(const QString& text);

// Fills the session as the program does at start-up (settings file of the program folder, county list) and
// loads the log: the given one, else the settings' last log. Returns the error text, empty on success.
QString prepareSession(LogSession& session, const std::optional<QString>& log);
} // namespace Cli

// Subcommands: each returns the exit code.
int runSummary(CliContext& context);
int runLocator(CliContext& context);
int runMaster(CliContext& context);
int runAdd(CliContext& context);
int runExport(CliContext& context);
int runImport(CliContext& context);
int runMorse(CliContext& context);
