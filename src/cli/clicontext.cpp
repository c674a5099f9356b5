#include "clicontext.h"

#include "analysis/operatordata.h"
#include "entry/entrystartup.h"
#include "entry/startupoptions.h"
#include "log/logsession.h"
#include "settings/inifile.h"

#include <QFileInfo>

#include <cstdio>

std::optional<QString> CliContext::option(const QString& name) const {
    const QStringList values = parser.values(name);
    if (values.isEmpty())
        return std::nullopt;
    return values.first();
}

int CliContext::usage(const QString& problem) const {
    return Cli::usage(problem.isEmpty() ? synopsis : synopsis + QStringLiteral(": ") + problem);
}

namespace Cli {

void out(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void err(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

QString usageText(const QString& synopsis) {
    return QStringLiteral("usage: kvrlog-cli [--home DIR] ") + synopsis;
}

int usage(const QString& synopsis) {
    err(usageText(synopsis));
    return kUsage;
}

QString prepareSession(LogSession& session, const std::optional<QString>& log) {
    const IniFile settings(session.folder().settingsFile());
    const StartupOptions options = StartupOptions::read(settings, session.folder());
    session.analysis = options.analysis;
    session.oneQsoPerBand = options.oneQsoPerBand;
    session.operatorData = OperatorData::read(settings);
    session.setBand(options.band);
    session.setMode(options.mode);
    session.setLogPath(QFileInfo(log.value_or(options.logPath)).absoluteFilePath());
    if (!QFileInfo::exists(session.folder().countyFile()))
        return EntryStartup::countyListMissingMessage(session.folder());
    session.LoadCountyList();
    const LoadResult loaded = LoadLog(session.log(), session.logContext());
    if (loaded.status == LoadResult::Status::FormatError || loaded.status == LoadResult::Status::ReadError)
        return loaded.message;
    return {};
}

int logLockWaitMs() {
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("KVRLOG_LOCK_WAIT_MS", &ok);
    return ok && fromEnvironment >= 0 ? fromEnvironment : 5000;
}

} // namespace Cli
