#include "clicontext.h"

#include "analysis/operatordata.h"
#include "core/logsession.h"
#include "settings/inifile.h"
#include "settings/startupoptions.h"

#include <QFileInfo>

#include <cstdio>

std::optional<QString> CliContext::takeOption(const QString& name) {
    const QString flag = QStringLiteral("--") + name;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == flag && i + 1 < args.size()) {
            const QString value = args.at(i + 1);
            args.remove(i, 2);
            return value;
        }
        if (args.at(i).startsWith(flag + QLatin1Char('='))) {
            const QString value = args.at(i).mid(flag.size() + 1);
            args.remove(i);
            return value;
        }
    }
    return std::nullopt;
}

bool CliContext::takeFlag(const QString& name) {
    return args.removeOne(QStringLiteral("--") + name);
}

bool CliContext::hasUnknownOptions() const {
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--")))
            return true;
    }
    return false;
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

int usage(const QString& text) {
    err(QStringLiteral("usage: kvrlog-cli [--home DIR] ") + text);
    return kUsage;
}

QString prepareSession(LogSession& session, const std::optional<QString>& log) {
    const IniFile settings(session.folder().settingsFile());
    const StartupOptions options = StartupOptions::read(settings, session.folder());
    session.analysis = options.analysis;
    session.oneQsoPerBand = options.oneQsoPerBand;
    session.operatorData = OperatorData::read(settings);
    session.band = options.band;
    session.mode = options.mode;
    session.setLogPath(QFileInfo(log.value_or(options.logPath)).absoluteFilePath());
    if (!QFileInfo::exists(session.folder().countyFile()))
        return QStringLiteral("Wykaz powiatów (plik \"powiaty.txt\") \nnie został znaleziony lub nie można go czytać!");
    session.LoadCountyList();
    const LoadResult loaded = LoadLog(session.log(), session.logContext());
    if (loaded.status == LoadResult::Status::FormatError || loaded.status == LoadResult::Status::ReadError)
        return loaded.message;
    return {};
}

} // namespace Cli
