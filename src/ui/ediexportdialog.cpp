#include "ediexportdialog.h"

#include "edibanddatadialog.h"
#include "interchange/interchangecommands.h"
#include "log/logsession.h"
#include "settings/programsettings.h"
#include "ui_ediexportdialog.h"
#include "uppercaseinput.h"

#include <QCloseEvent>

EdiExportDialog::EdiExportDialog(LogSession& session, std::function<QString()> sentExchange, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::EdiExportDialog>()), m_session(session),
      m_sentExchange(std::move(sentExchange)) {
    m_ui->setupUi(this);
    forceUpperCase(m_ui->stationCallEdit);
    // The per-band window belongs to this one and goes with it.
    m_bands = new EdiBandDataDialog(m_session.settings(), this);
    connect(m_ui->backButton, &QPushButton::clicked, this, &EdiExportDialog::goBack);
    connect(m_ui->saveEdiButton, &QPushButton::clicked, this, &EdiExportDialog::writeEdi);
    connect(m_ui->bandDataButton, &QPushButton::clicked, this, &EdiExportDialog::showBandData);
}

EdiExportDialog::~EdiExportDialog() {
    saveSettings();
}

void EdiExportDialog::prepare() {
    const std::span<const QsoRecord> log = m_session.log().records();
    m_statistics = Edi::Statistics::gather(log);
    m_ui->contestDatesEdit->setText(m_statistics.dates);
    const OperatorData& op = m_session.operatorData;
    m_ui->stationCallEdit->setText(op.contestCall.toUpper());
    m_ui->responsibleCallEdit->setText(op.operatorCall);
    m_ui->responsibleNameEdit->setText(op.name);
    m_ui->responsibleAddress1Edit->setText(op.address1);
    m_ui->responsibleAddress2Edit->setText(op.address2);
    m_ui->responsiblePostcodeEdit->setText(op.postcode);
    m_ui->responsibleCityEdit->setText(op.town);
    m_ui->stationLocatorEdit->setText(op.locator);
    m_ui->responsibleCountryEdit->setText(QStringLiteral("Poland"));

    const IniFile& ini = m_session.settings().file();
    if (ini.exists()) {
        const Edi::Settings s = Edi::Settings::read(ini, headerSettings());
        m_ui->contestNameEdit->setText(s.TName);
        m_ui->sentExchangeEdit->setText(s.PExch);
        m_ui->stationAddress1Edit->setText(s.PAdr1);
        m_ui->stationAddress2Edit->setText(s.PAdr2);
        m_ui->sectionEdit->setText(s.PSect);
        m_ui->clubEdit->setText(s.PClub);
        m_ui->responsiblePhoneEdit->setText(s.RPhon);
        m_ui->responsibleBbsEdit->setText(s.RHBBS);
        m_ui->operatorsLine1Edit->setText(s.MOpe1);
        m_ui->operatorsLine2Edit->setText(s.MOpe2);
        m_bands->loadSettings();
    }
    m_ui->bandCombo->clear();
    m_ui->bandCombo->addItem(QStringLiteral("wszystkie"));
    m_ui->bandCombo->addItems(m_statistics.bandsFound);
    m_ui->bandCombo->setCurrentIndex(0);
    m_bands->setStatistics(m_statistics, log);
}

Edi::Settings EdiExportDialog::headerSettings() const {
    Edi::Settings s;
    s.TName = m_ui->contestNameEdit->text();
    s.PExch = m_ui->sentExchangeEdit->text();
    s.PAdr1 = m_ui->stationAddress1Edit->text();
    s.PAdr2 = m_ui->stationAddress2Edit->text();
    s.PSect = m_ui->sectionEdit->text();
    s.PClub = m_ui->clubEdit->text();
    s.RPhon = m_ui->responsiblePhoneEdit->text();
    s.RHBBS = m_ui->responsibleBbsEdit->text();
    s.MOpe1 = m_ui->operatorsLine1Edit->text();
    s.MOpe2 = m_ui->operatorsLine2Edit->text();
    return s;
}

Edi::Header EdiExportDialog::header() const {
    Edi::Header h;
    h.TName = m_ui->contestNameEdit->text();
    h.TDate = m_ui->contestDatesEdit->text();
    h.PCall = m_ui->stationCallEdit->text();
    h.PWWLo = m_ui->stationLocatorEdit->text();
    h.PExch = m_sentExchange ? m_sentExchange() : QString();
    h.PAdr1 = m_ui->stationAddress1Edit->text();
    h.PAdr2 = m_ui->stationAddress2Edit->text();
    h.PSect = m_ui->sectionEdit->text();
    h.PClub = m_ui->clubEdit->text();
    h.RName = m_ui->responsibleNameEdit->text();
    h.RCall = m_ui->responsibleCallEdit->text();
    h.RAdr1 = m_ui->responsibleAddress1Edit->text();
    h.RAdr2 = m_ui->responsibleAddress2Edit->text();
    h.RPoCo = m_ui->responsiblePostcodeEdit->text();
    h.RCity = m_ui->responsibleCityEdit->text();
    h.RCoun = m_ui->responsibleCountryEdit->text();
    h.RPhon = m_ui->responsiblePhoneEdit->text();
    h.RHBBS = m_ui->responsibleBbsEdit->text();
    h.MOpe1 = m_ui->operatorsLine1Edit->text();
    h.MOpe2 = m_ui->operatorsLine2Edit->text();
    return h;
}

void EdiExportDialog::writeEdi() {
    InterchangeCommands::EdiRequest request;
    request.header = header();
    request.band = m_ui->bandCombo->currentText();
    request.bands = m_bands->bandSettings().bands;
    for (int band = 0; band < Edi::kBandCount; ++band)
        request.claimed[size_t(band)] = m_bands->claimedScore(band);
    request.statistics = m_statistics;
    InterchangeCommands::exportEdi(m_session, request);
}

void EdiExportDialog::showBandData() {
    m_bands->show();
    m_bands->raise();
}

void EdiExportDialog::goBack() {
    saveSettings();
    emit closedWithReturn();
    deleteLater();
}

void EdiExportDialog::saveSettings() {
    IniFile& ini = m_session.settings().file();
    headerSettings().writeHeader(ini);
}

void EdiExportDialog::closeEvent(QCloseEvent* event) {
    saveSettings();
    QDialog::closeEvent(event);
}
