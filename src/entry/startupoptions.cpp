#include "entry/startupoptions.h"

#include "entry/entryoptions.h"
#include "platform/programfolder.h"
#include "settings/inifile.h"

#include <QFileInfo>

QString StartupOptions::startupLogPath(const IniFile& settings, const ProgramFolder& folder) {
    const QString path = settings.value(SettingsKeys::Program::logPath);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return folder.file(QStringLiteral("log.kvr"));
    return path;
}

AnalysisOptions
StartupOptions::readAnalysis(const IniFile& settings, const QString& ownLocator, AnalysisOptions options) {
    readSettings(settings, options, AnalysisSettings::bindings(!ownLocator.isEmpty()),
                 SettingsBinding<AnalysisOptions>::Missing::KeepsMember);
    return options;
}

StartupOptions StartupOptions::read(const IniFile& settings, const ProgramFolder& folder) {
    StartupOptions options;
    options.logPath = startupLogPath(settings, folder);
    options.oneQsoPerBand = settings.value(SettingsKeys::Program::oneQsoPerBand);
    options.ownLocator = settings.value(SettingsKeys::Operator::locator);
    options.analysis = readAnalysis(settings, options.ownLocator, options.analysis);
    // The band and mode the window starts on decide which counties count, as at start-up.
    const EntryOptions entry = EntryOptions::read(settings);
    options.band = entry.band;
    options.mode = entry.mode;
    return options;
}
