#include "analysis/analysisoptions.h"

#include <algorithm>
#include <functional>

int AnalysisOptions::keyLength() const {
    switch (mode) {
    case AnalysisMode::County:
        return 2;
    case AnalysisMode::ProvinceCounty:
        return 3;
    case AnalysisMode::Locator:
        return 6;
    }
    return 3;
}

namespace AnalysisSettings {

QString modeText(AnalysisMode mode) {
    switch (mode) {
    case AnalysisMode::County:
        return QStringLiteral("Powiat");
    case AnalysisMode::ProvinceCounty:
        return QStringLiteral("Województwo + powiat");
    case AnalysisMode::Locator:
        return QStringLiteral("Lokator");
    }
    return {};
}

AnalysisMode modeFromText(const QString& text, bool ownLocatorSet, AnalysisMode fallback) {
    if (text == modeText(AnalysisMode::County))
        return AnalysisMode::County;
    if (text == modeText(AnalysisMode::ProvinceCounty))
        return AnalysisMode::ProvinceCounty;
    if (text == modeText(AnalysisMode::Locator))
        return ownLocatorSet ? AnalysisMode::Locator : AnalysisMode::County;
    return fallback;
}

int clampSameLocatorKm(int km) {
    return std::clamp(km, 0, 5);
}

SettingsBindings<AnalysisOptions> bindings(bool ownLocatorSet) {
    namespace Keys = SettingsKeys::Analysis;
    using O = AnalysisOptions;
    return {
        Bind::whole<O>(
            Keys::mode,
            [ownLocatorSet](O& o, const QString& text) { o.mode = modeFromText(text, ownLocatorSet, o.mode); },
            [](const O& o) { return modeText(o.mode); }),
        Bind::field(Keys::sameLocatorKm, &O::sameLocatorKm, clampSameLocatorKm, std::identity()),
        Bind::field(Keys::enabled, &O::enabled),
        Bind::field(Keys::countiesAllModes, &O::countiesAllModes),
    };
}

} // namespace AnalysisSettings
