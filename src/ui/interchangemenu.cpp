#include "interchangemenu.h"

#include "adifexportdialog.h"
#include "cabrilloexportdialog.h"
#include "ediexportdialog.h"
#include "interchange/ediexport.h"
#include "log/logsession.h"
#include "platform/userdialogs.h"

#include <QWidget>

InterchangeMenu::InterchangeMenu(LogSession& session, Hooks hooks, QWidget* mainWindow)
    : QObject(mainWindow), m_session(session), m_hooks(std::move(hooks)), m_mainWindow(mainWindow),
      m_cabrilloDialog(new CabrilloExportDialog(session, mainWindow)),
      m_adifDialog(new AdifExportDialog(session, mainWindow)) {
    connect(m_cabrilloDialog, &CabrilloExportDialog::exported, this, &InterchangeMenu::focusCallsignRequested);
    connect(m_adifDialog, &QDialog::finished, this, [this] {
        if (m_mainWindow)
            m_mainWindow->raise();
    });
}

InterchangeMenu::~InterchangeMenu() = default;

void InterchangeMenu::exportCabrillo() {
    const ContestSession* contest = m_hooks.contest ? m_hooks.contest() : nullptr;
    m_cabrilloDialog->prepare(m_hooks.warcOption && m_hooks.warcOption(),
                              contest ? InterchangeCommands::cabrilloContestValues(*contest) : std::nullopt);
    m_cabrilloDialog->exec();
}

void InterchangeMenu::exportAdif() {
    m_adifDialog->prepare();
    m_adifDialog->exec();
}

void InterchangeMenu::exportEdi() {
    if (!m_session.analysis.enabled || m_session.analysis.mode != AnalysisMode::Locator) {
        m_session.dialogs().error(Edi::noAnalysisMessage());
        return;
    }
    if (m_ediDialog && m_ediDialog->isVisible()) {
        m_ediDialog->raise();
        m_ediDialog->activateWindow();
        return;
    }
    delete m_ediDialog;
    m_ediDialog = new EdiExportDialog(m_session, m_hooks.sentExchange, m_mainWindow);
    connect(m_ediDialog, &EdiExportDialog::closedWithReturn, this, &InterchangeMenu::focusCallsignRequested);
    m_ediDialog->prepare();
    m_ediDialog->show();
}

void InterchangeMenu::exportCsv() {
    InterchangeCommands::exportCsv(m_session);
}

void InterchangeMenu::importAdif() {
    followImportedLog(InterchangeCommands::importAdif(m_session, m_hooks.saveLogCopy));
}

void InterchangeMenu::importCabrillo() {
    followImportedLog(InterchangeCommands::importCabrillo(m_session));
}

void InterchangeMenu::followImportedLog(const InterchangeCommands::ImportOutcome& outcome) {
    if (!outcome.changed)
        return;
    const bool autoIncrement = m_hooks.autoIncrement && m_hooks.autoIncrement();
    const int digits = m_hooks.serialDigits ? m_hooks.serialDigits() : 1;
    if (const auto serial = InterchangeCommands::serialAfterImport(m_session, autoIncrement, digits))
        emit serialFieldChanged(*serial);
}
