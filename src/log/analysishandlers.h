#pragma once

#include "analysis/analysisoptions.h"

#include <QString>

#include <optional>

class IniFile;
class LogSession;

// The handlers of the analysis options dialog, on the shared log session. The dialog only ticks its controls
// to match the session afterwards and passes on what the entry window has to change.
namespace AnalysisHandlers {

// What a handler asks of the windows around the dialog.
struct Effect {
    // Show and tick (true) or hide and untick (false) the logged-counties window; nullopt leaves it.
    std::optional<bool> countiesWindowVisible;
    // sameLocatorKmSpin and sameLocatorKmCaption enabled (locator mode); nullopt leaves them.
    std::optional<bool> sameLocatorEnabled;
    // The new fixed part of the sent exchange (sentFixedPartEdit of the entry window); nullopt leaves it.
    std::optional<QString> sentFixedPart;
    bool reloaded = false;
};

// "Lokator  [JO91RU]": the caption of the locator mode button.
QString locatorOptionCaption(const QString& locator);

// The county or province-and-county mode was selected.
Effect countyModeChosen(LogSession& session, AnalysisMode mode);
// The locator mode was selected; asks for the own locator when there is none.
Effect locatorModeChosen(LogSession& session);
// The analysis switch changed; switching it on runs the selected mode's handler.
Effect analysisSwitched(LogSession& session, bool on);
// The all-modes switch changed.
Effect countiesAllModesSwitched(LogSession& session, bool on);
// "ODX z własnym lokatorem" changed: in the locator analysis the log is reloaded, so the distances and
// "Suma ODX" follow at once.
Effect sameLocatorKmChanged(LogSession& session, int km);

// A band of the VHF set was chosen: locator mode and the analysis on, as if the operator had clicked both.
Effect VhfBandChosen(LogSession& session);

// A band or mode change: the logged counties of the new band and mode, from the whole log.
void BandOrModeChanged(LogSession& session);

// "Analiza grupy", written when the program closes.
void writeSettings(IniFile& settings, const AnalysisOptions& options);

} // namespace AnalysisHandlers
