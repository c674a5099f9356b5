#include "log/analysishandlers.h"

#include "analysis/locator.h"
#include "log/loggedcounties.h"
#include "log/logsession.h"
#include "platform/userdialogs.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"

namespace AnalysisHandlers {

namespace {

const QString kInvalidLocator = QStringLiteral("Został wprowadzony niepoprawny lokator !!");

struct LocatorAnswer {
    QString locator;        // upper case; empty when the operator gave none
    bool abandoned = false; // an empty answer to the second prompt ends the handler
};

LocatorAnswer askOwnLocator(UserDialogs& dialogs) {
    const QString title = QStringLiteral("Własny lokator");
    QString answer = dialogs.inputText(title, QStringLiteral("Wprowadź lokator"), QString()).value_or(QString());
    answer = answer.trimmed().toUpper();
    if (answer.isEmpty())
        return {};
    while (LocatorInvalid(answer)) {
        dialogs.error(kInvalidLocator);
        answer = dialogs.inputText(title, QStringLiteral("Wprowadź poprawny lokator"), QString())
                     .value_or(QString())
                     .trimmed()
                     .toUpper();
        if (answer.isEmpty())
            return {QString(), true};
    }
    return {answer, false};
}

} // namespace

QString locatorOptionCaption(const QString& locator) {
    return QStringLiteral("Lokator  [") + locator + QStringLiteral("]");
}

Effect countyModeChosen(LogSession& session, AnalysisMode mode) {
    Effect effect;
    session.analysis.mode = mode;
    const TextFile::Status loaded = session.LoadCountyList();
    if (!loaded)
        session.dialogs().error(loaded.error);
    if (session.analysis.enabled) {
        session.reload();
        effect.reloaded = true;
    }
    effect.countiesWindowVisible = true;
    effect.sameLocatorEnabled = false;
    return effect;
}

Effect locatorModeChosen(LogSession& session) {
    Effect effect;
    session.analysis.mode = AnalysisMode::Locator;
    QString& own = session.operatorData.locator;
    if (own.isEmpty()) {
        const LocatorAnswer answer = askOwnLocator(session.dialogs());
        // Locator analysis cannot run without an own locator: an empty answer switches it off.
        if (answer.locator.isEmpty())
            session.analysis.enabled = false;
        if (answer.abandoned)
            return effect;
        own = answer.locator;
    }
    if (session.analysis.enabled) {
        session.reload();
        effect.reloaded = true;
        effect.sentFixedPart = own;
    } else {
        effect.sentFixedPart = QString();
    }
    if (!own.isEmpty()) {
        const TextFile::Status written = session.settings().setValue(SettingsKeys::Operator::locator, own);
        if (!written)
            session.dialogs().error(written.error);
    }
    effect.sameLocatorEnabled = true;
    effect.countiesWindowVisible = false;
    return effect;
}

Effect analysisSwitched(LogSession& session, bool on) {
    session.analysis.enabled = on;
    if (!on)
        return {};
    if (session.analysis.countyMode())
        return countyModeChosen(session, session.analysis.mode);
    return locatorModeChosen(session);
}

Effect countiesAllModesSwitched(LogSession& session, bool on) {
    Effect effect;
    session.analysis.countiesAllModes = on;
    if (session.analysis.enabled) {
        session.reload();
        effect.reloaded = true;
    }
    return effect;
}

Effect sameLocatorKmChanged(LogSession& session, int km) {
    Effect effect;
    const int clamped = AnalysisSettings::clampSameLocatorKm(km);
    if (clamped == session.analysis.sameLocatorKm)
        return effect;
    session.analysis.sameLocatorKm = clamped;
    if (session.analysis.enabled && session.analysis.mode == AnalysisMode::Locator) {
        session.reload();
        effect.reloaded = true;
    }
    return effect;
}

Effect VhfBandChosen(LogSession& session) {
    if (session.analysis.enabled && session.analysis.mode == AnalysisMode::Locator)
        return {};
    // Clicking the mode and then the switch would run the locator handler twice (two prompts, two reloads);
    // one run with both set has the same outcome.
    session.analysis.enabled = true;
    return locatorModeChosen(session);
}

void BandOrModeChanged(LogSession& session) {
    if (!session.analysis.enabled || !session.analysis.countyMode())
        return;
    RebuildLoggedCounties(session.log(), session.analysisContext());
    emit session.loggedCountiesChanged();
}

void writeSettings(IniFile& settings, const AnalysisOptions& options) {
    // The mode is written whatever the own locator; it only matters for reading.
    ::writeSettings(settings, options, AnalysisSettings::bindings(true));
}

} // namespace AnalysisHandlers
