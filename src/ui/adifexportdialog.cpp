#include "adifexportdialog.h"

#include "interchange/adifexport.h"
#include "interchange/interchangecommands.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"
#include "ui_adifexportdialog.h"
#include "uppercaseinput.h"

AdifExportDialog::AdifExportDialog(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::AdifExportDialog>()), m_session(session) {
    m_ui->setupUi(this);
    forceUpperCase(m_ui->operatorEdit);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &AdifExportDialog::writeAdif);
    connect(m_ui->backButton, &QPushButton::clicked, this, &AdifExportDialog::goBack);
    connect(m_ui->operatorEdit, &QLineEdit::editingFinished, this, &AdifExportDialog::trimOperator);
}

AdifExportDialog::~AdifExportDialog() = default;

void AdifExportDialog::prepare() {
    const IniFile& settings = m_session.settings().file();
    const QString contest = settings.value(SettingsKeys::Cabrillo::contestName);
    m_ui->contestEdit->setText(AdifExport::proposedContest(contest, m_session.clock().now().date().year()));
    m_ui->operatorEdit->setText(m_session.operatorData.contestCall.toUpper());
}

void AdifExportDialog::trimOperator() {
    m_ui->operatorEdit->setText(m_ui->operatorEdit->text().trimmed());
}

void AdifExportDialog::writeAdif() {
    trimOperator();
    AdifExportOptions options = InterchangeCommands::adifOptions(m_session);
    options.comment = m_ui->commentEdit->text();
    options.contest = m_ui->contestEdit->text();
    options.operatorCall = m_ui->operatorEdit->text();
    options.sppaComment = m_ui->sppaCommentCheck->isChecked();
    options.odxComment = m_ui->odxCommentCheck->isChecked();
    const std::optional<QString> path = InterchangeCommands::exportAdif(m_session, options);
    // A cancelled file choice closes the dialog as well.
    accept();
    if (path)
        emit exported(*path);
}

void AdifExportDialog::goBack() {
    reject();
}
