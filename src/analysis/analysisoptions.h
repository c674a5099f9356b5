#pragma once

#include "settings/settingsbinding.h"
#include "settings/settingskeys.h"

#include <QString>

// What the received exchange is expected to end with.
enum class AnalysisMode {
    County,         // "Powiat": two-letter county code (IC)
    ProvinceCounty, // "Województwo + powiat": province letter and county code (SIC)
    Locator,        // "Lokator": six-character locator
};

struct AnalysisOptions {
    bool enabled = SettingsKeys::Analysis::enabled.defaultValue; // "Włącz analizę grupy kontrolnej"
    AnalysisMode mode = AnalysisMode::ProvinceCounty;
    // Credited for a QSO in the own locator, 0…5.
    int sameLocatorKm = SettingsKeys::Analysis::sameLocatorKm.defaultValue;
    // "Powiaty łącznie dla wszystkich emisji"
    bool countiesAllModes = SettingsKeys::Analysis::countiesAllModes.defaultValue;

    bool countyMode() const { return mode != AnalysisMode::Locator; }
    // Characters taken from the end of the received exchange: 2, 3 or 6.
    int keyLength() const;
};

namespace AnalysisSettings {
// "Analiza grupy" / "Opcja" values.
QString modeText(AnalysisMode mode);
// The start-up reading of "Opcja": "Lokator" falls back to the county mode without an own locator.
AnalysisMode modeFromText(const QString& text, bool ownLocatorSet, AnalysisMode fallback);
int clampSameLocatorKm(int km);
// The "Analiza grupy" section; the mode reads as modeFromText() does with ownLocatorSet.
SettingsBindings<AnalysisOptions> bindings(bool ownLocatorSet);
} // namespace AnalysisSettings
