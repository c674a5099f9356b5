#pragma once

#include "analysis/analysisoptions.h"
#include "settings/settingskeys.h"

#include <QString>

class IniFile;
class ProgramFolder;

// The settings a log is loaded with, read from kvr_log.ini as the program reads them at start-up.
// Missing keys keep the design-time values below.
struct StartupOptions {
    QString logPath; // the last log if it is still there, else the program folder's log.kvr
    bool oneQsoPerBand = SettingsKeys::Program::oneQsoPerBand.defaultValue;
    AnalysisOptions analysis;
    QString ownLocator;
    QString band = SettingsKeys::Program::band.defaultValue;
    QString mode = SettingsKeys::Program::mode.defaultValue;

    static StartupOptions read(const IniFile& settings, const ProgramFolder& folder);
    // "Program" / "Log" if it names an existing file, else the program folder's log.kvr.
    static QString startupLogPath(const IniFile& settings, const ProgramFolder& folder);
    // "Analiza grupy" as read at start-up; "Lokator" needs an own locator, else the county mode is used.
    static AnalysisOptions readAnalysis(const IniFile& settings, const QString& ownLocator, AnalysisOptions defaults);
};
