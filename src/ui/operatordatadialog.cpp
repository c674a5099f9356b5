#include "operatordatadialog.h"

#include "analysis/locator.h"
#include "log/logsession.h"
#include "platform/userdialogs.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"
#include "ui_operatordatadialog.h"
#include "uppercaseinput.h"

#include <QFocusEvent>

OperatorDataDialog::OperatorDataDialog(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::OperatorDataDialog>()), m_session(session) {
    m_ui->setupUi(this);
    m_ui->contestNameEdit->hide();
    // The callsign and the locator are kept in upper case as typed.
    for (QLineEdit* edit : {m_ui->contestCallEdit, m_ui->locatorEdit})
        forceUpperCase(edit);
    m_ui->locatorEdit->installEventFilter(this);
    connect(m_ui->okButton, &QPushButton::clicked, this, &OperatorDataDialog::saveOperatorData);
    connect(m_ui->backButton, &QPushButton::clicked, this, &OperatorDataDialog::closeWithoutSaving);
    loadOperatorData();
}

OperatorDataDialog::~OperatorDataDialog() = default;

void OperatorDataDialog::loadOperatorData() {
    const IniFile& settings = m_session.settings().file();
    if (!settings.exists()) {
        showFields(m_session.operatorData);
        return;
    }
    m_session.operatorData = OperatorData::read(settings);
    showFields(m_session.operatorData);
    m_ui->contestNameEdit->setText(settings.value(SettingsKeys::Cabrillo::contestName));
    if (!m_session.operatorData.locator.isEmpty())
        emit locatorCaptionChanged(m_session.operatorData.locator);
}

void OperatorDataDialog::showFields(const OperatorData& d) {
    m_ui->contestCallEdit->setText(d.contestCall);
    m_ui->nameEdit->setText(d.name);
    m_ui->emailEdit->setText(d.email);
    m_ui->address1Edit->setText(d.address1);
    m_ui->address2Edit->setText(d.address2);
    m_ui->townEdit->setText(d.town);
    m_ui->postcodeEdit->setText(d.postcode);
    m_ui->locatorEdit->setText(d.locator);
    m_ui->operatorCallEdit->setText(d.operatorCall);
}

OperatorData OperatorDataDialog::fields() const {
    OperatorData d;
    d.contestCall = m_ui->contestCallEdit->text();
    d.name = m_ui->nameEdit->text();
    d.email = m_ui->emailEdit->text();
    d.address1 = m_ui->address1Edit->text();
    d.address2 = m_ui->address2Edit->text();
    d.town = m_ui->townEdit->text();
    d.postcode = m_ui->postcodeEdit->text();
    d.locator = m_ui->locatorEdit->text();
    d.operatorCall = m_ui->operatorCallEdit->text();
    return d;
}

QString OperatorDataDialog::contestName() const {
    return m_ui->contestNameEdit->text();
}

bool OperatorDataDialog::checkLocator() {
    const QString locator = m_ui->locatorEdit->text();
    if (!locator.isEmpty() && LocatorInvalid(locator)) {
        m_session.dialogs().error(QStringLiteral("Został wprowadzony niepoprawny lokator !!"));
        m_ui->locatorEdit->setFocus();
        return false;
    }
    emit locatorCaptionChanged(locator);
    return true;
}

void OperatorDataDialog::saveOperatorData() {
    // An invalid locator never becomes the reference point of the distances.
    if (!checkLocator())
        return;
    m_session.operatorData = fields();
    IniFile& settings = m_session.settings().file();
    m_session.operatorData.write(settings);
    accept();
}

void OperatorDataDialog::closeWithoutSaving() {
    reject();
}

bool OperatorDataDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->locatorEdit && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another program is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            checkLocator();
    }
    return QDialog::eventFilter(watched, event);
}

void OperatorDataDialog::showEvent(QShowEvent* event) {
    // The analysis dialog may have asked for the own locator since the dialog was last shown.
    if (m_ui->locatorEdit->text() != m_session.operatorData.locator)
        m_ui->locatorEdit->setText(m_session.operatorData.locator);
    QDialog::showEvent(event);
}

void OperatorDataDialog::done(int result) {
    // Leaving without saving keeps the own locator in use: the locator option must not name an edited one.
    if (result == QDialog::Rejected && m_ui->locatorEdit->text() != m_session.operatorData.locator)
        emit locatorCaptionChanged(m_session.operatorData.locator);
    QDialog::done(result);
    emit callsignFocusRequested();
}
