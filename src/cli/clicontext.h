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

namespace Cli {
inline constexpr int kOk = 0;
inline constexpr int kFailure = 1;
inline constexpr int kUsage = 2;

void out(const QString& text); // a line on stdout, UTF-8
void err(const QString& text); // a line on stderr, UTF-8
int usage(const QString& text);
} // namespace Cli

// Subcommands: each returns the exit code.
int runSummary(CliContext& context);
int runLocator(CliContext& context);
int runMorse(CliContext& context);
