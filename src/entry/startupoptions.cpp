#include "entry/startupoptions.h"

#include "entry/entryoptions.h"
#include "platform/programfolder.h"
#include "settings/inifile.h"

#include <QFileInfo>

QString StartupOptions::startupLogPath(const IniFile& settings, const ProgramFolder& folder) {
    const QString path = settings.readString(QStringLiteral("Program"), QStringLiteral("Log"), QString());
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return folder.file(QStringLiteral("log.kvr"));
    return path;
}

AnalysisOptions
StartupOptions::readAnalysis(const IniFile& settings, const QString& ownLocator, AnalysisOptions options) {
    const QString section = QStringLiteral("Analiza grupy");
    options.mode = AnalysisSettings::modeFromText(
        settings.readString(section, QStringLiteral("Opcja"), AnalysisSettings::modeText(options.mode)),
        !ownLocator.isEmpty(), options.mode);
    options.sameLocatorKm = AnalysisSettings::clampSameLocatorKm(
        settings.readInteger(section, QStringLiteral("ODX"), options.sameLocatorKm));
    options.enabled = settings.readBool(section, QStringLiteral("Analiza"), options.enabled);
    options.countiesAllModes = settings.readBool(section, QStringLiteral("Powiaty-emisja"), options.countiesAllModes);
    return options;
}

StartupOptions StartupOptions::read(const IniFile& settings, const ProgramFolder& folder) {
    StartupOptions options;
    options.logPath = startupLogPath(settings, folder);
    options.oneQsoPerBand = settings.readBool(QStringLiteral("Program"), QStringLiteral("Jedno QSO"), false);
    options.ownLocator = settings.readString(QStringLiteral("Operator"), QStringLiteral("Lokator"), QString());
    options.analysis = readAnalysis(settings, options.ownLocator, options.analysis);
    // The band and mode the window starts on decide which counties count, as at start-up.
    const EntryOptions entry = EntryOptions::read(settings);
    options.band = entry.band;
    options.mode = entry.mode;
    return options;
}
