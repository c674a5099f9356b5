#include "cabrilloexportdialog.h"

#include "core/memotext.h"
#include "interchange/cabrilloexport.h"
#include "interchange/interchangecommands.h"
#include "log/logsession.h"
#include "platform/userdialogs.h"
#include "settings/programsettings.h"
#include "ui_cabrilloexportdialog.h"
#include "uppercaseinput.h"

CabrilloExportDialog::CabrilloExportDialog(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CabrilloExportDialog>()), m_session(session) {
    m_ui->setupUi(this);
    for (QLineEdit* edit :
         {m_ui->callsignEdit, m_ui->provinceEdit, m_ui->locatorEdit, m_ui->domesticContestEdit, m_ui->categoryEdit})
        forceUpperCase(edit);
    acceptDigitsOnly(m_ui->claimedScoreEdit);
    // The fields the export needs wear the colours its messages name: the callsign and the name blue
    // ("niebieskie pola"), the first address line grey ("szare pola").
    const QColor blue(0xCC, 0xE0, 0xFF);
    const QColor grey(0xDD, 0xDD, 0xDD);
    for (const auto& [edit, colour] :
         {std::pair{m_ui->callsignEdit, blue}, std::pair{m_ui->nameEdit, blue}, std::pair{m_ui->address1Edit, grey}}) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, colour);
        edit->setPalette(palette);
    }
    m_ui->contestCombo->addItems(CabrilloLists::contests());
    m_ui->categoryOperatorCombo->addItems(CabrilloLists::categoryOperator());
    m_ui->transmitterCombo->addItems(CabrilloLists::transmitter());
    m_ui->assistedCombo->addItems(CabrilloLists::assisted());
    m_ui->bandCombo->addItems(CabrilloLists::band());
    m_ui->modeCombo->addItems(CabrilloLists::mode());
    m_ui->powerCombo->addItems(CabrilloLists::power());
    m_ui->timeCombo->addItems(CabrilloLists::time());
    m_ui->stationCombo->addItems(CabrilloLists::station());
    m_ui->overlayCombo->addItems(CabrilloLists::overlay());

    connect(m_ui->okButton, &QPushButton::clicked, this, &CabrilloExportDialog::writeCabrillo);
    connect(m_ui->backButton, &QPushButton::clicked, this, &CabrilloExportDialog::goBack);
    connect(m_ui->domesticContestRadio, &QRadioButton::clicked, this, &CabrilloExportDialog::chooseDomesticContest);
    connect(m_ui->internationalContestRadio, &QRadioButton::clicked, this,
            &CabrilloExportDialog::chooseInternationalContest);
    loadSettings();
}

CabrilloExportDialog::~CabrilloExportDialog() = default;

void CabrilloExportDialog::loadSettings() {
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->clear();
    m_ui->remarksEdit->clear();
    m_ui->claimedScoreEdit->setText(QStringLiteral("0"));
    m_ui->locationEdit->setText(QStringLiteral("DX"));
    CabrilloSettings defaults =
        CabrilloSettings::read(m_session.settings().file(), m_session.operatorData.operatorCall);
    applySettings(defaults);
}

void CabrilloExportDialog::applySettings(const CabrilloSettings& s) {
    m_ui->operatorsEdit->setText(s.operators);
    m_ui->clubEdit->setText(s.club);
    m_ui->remarksEdit->setPlainText(s.remarks.join(QLatin1Char('\n')));
    m_ui->categoryEdit->setText(s.category);
    m_ui->domesticContestEdit->setText(s.domesticContest);
    m_ui->contestCombo->setCurrentIndex(s.contest);
    m_ui->categoryOperatorCombo->setCurrentIndex(s.categoryOperator);
    m_ui->transmitterCombo->setCurrentIndex(s.transmitter);
    m_ui->assistedCombo->setCurrentIndex(s.assisted);
    m_ui->bandCombo->setCurrentIndex(s.band);
    m_ui->modeCombo->setCurrentIndex(s.mode);
    m_ui->powerCombo->setCurrentIndex(s.power);
    m_ui->timeCombo->setCurrentIndex(s.time);
    m_ui->stationCombo->setCurrentIndex(s.station);
    m_ui->overlayCombo->setCurrentIndex(s.overlay);
    setVersion3(s.version3);
}

void CabrilloExportDialog::setVersion3(bool version3) {
    m_ui->domesticContestRadio->setChecked(!version3);
    m_ui->internationalContestRadio->setChecked(version3);
    for (QWidget* w :
         {static_cast<QWidget*>(m_ui->domesticContestEdit), static_cast<QWidget*>(m_ui->domesticContestCaption),
          static_cast<QWidget*>(m_ui->categoryEdit), static_cast<QWidget*>(m_ui->categoryCaption)})
        w->setEnabled(!version3);
    const QList<QWidget*> international = {m_ui->contestCombo,
                                           m_ui->contestCaption,
                                           m_ui->categoryOperatorCombo,
                                           m_ui->categoryOperatorCaption,
                                           m_ui->transmitterCombo,
                                           m_ui->transmitterCaption,
                                           m_ui->assistedCombo,
                                           m_ui->assistedCaption,
                                           m_ui->bandCombo,
                                           m_ui->bandCaption,
                                           m_ui->modeCombo,
                                           m_ui->modeCaption,
                                           m_ui->powerCombo,
                                           m_ui->powerCaption,
                                           m_ui->timeCombo,
                                           m_ui->timeCaption,
                                           m_ui->stationCombo,
                                           m_ui->stationCaption,
                                           m_ui->locationEdit,
                                           m_ui->locationCaption};
    for (QWidget* w : international)
        w->setEnabled(version3);
}

void CabrilloExportDialog::chooseDomesticContest() {
    setVersion3(false);
}

void CabrilloExportDialog::chooseInternationalContest() {
    setVersion3(true);
}

void CabrilloExportDialog::prepare(bool warcOption,
                                   const std::optional<InterchangeCommands::CabrilloContestValues>& contest) {
    if (warcOption)
        m_session.dialogs().information(InterchangeCommands::warcSkippedMessage());
    const OperatorData& op = m_session.operatorData;
    m_ui->callsignEdit->setText(op.contestCall.toUpper());
    m_ui->nameEdit->setText(op.name);
    m_ui->emailEdit->setText(op.email);
    m_ui->address1Edit->setText(op.address1);
    m_ui->address2Edit->setText(op.address2);
    m_ui->address3Edit->setText(InterchangeCommands::cabrilloTownLine(op));
    m_ui->locatorEdit->setText(op.locator.toUpper());
    m_proposedName.clear();
    if (!contest)
        return;
    m_ui->claimedScoreEdit->setText(contest->claimed);
    m_ui->domesticContestEdit->setText(contest->contestName.toUpper());
    // The first list entry stands for a contest the list does not hold; its name is asked for at "OK".
    const int listed = m_ui->contestCombo->findText(contest->contestName);
    m_ui->contestCombo->setCurrentIndex(std::max(listed, 0));
    if (listed <= 0)
        m_proposedName = contest->contestName;
}

CabrilloSettings CabrilloExportDialog::settings() const {
    CabrilloSettings s;
    s.version3 = m_ui->internationalContestRadio->isChecked();
    s.contest = m_ui->contestCombo->currentIndex();
    s.categoryOperator = m_ui->categoryOperatorCombo->currentIndex();
    s.transmitter = m_ui->transmitterCombo->currentIndex();
    s.assisted = m_ui->assistedCombo->currentIndex();
    s.band = m_ui->bandCombo->currentIndex();
    s.mode = m_ui->modeCombo->currentIndex();
    s.power = m_ui->powerCombo->currentIndex();
    s.time = m_ui->timeCombo->currentIndex();
    s.station = m_ui->stationCombo->currentIndex();
    s.overlay = m_ui->overlayCombo->currentIndex();
    s.operators = m_ui->operatorsEdit->text();
    s.domesticContest = m_ui->domesticContestEdit->text();
    s.club = m_ui->clubEdit->text();
    s.remarks = memoLines(m_ui->remarksEdit->toPlainText());
    s.category = m_ui->categoryEdit->text();
    return s;
}

CabrilloHeader CabrilloExportDialog::header() const {
    CabrilloHeader h;
    h.version3 = m_ui->internationalContestRadio->isChecked();
    h.contestName = m_ui->contestCombo->currentText();
    h.domesticContest = m_ui->domesticContestEdit->text();
    h.callsign = m_ui->callsignEdit->text();
    h.category = m_ui->categoryEdit->text();
    h.locator = m_ui->locatorEdit->text();
    h.province = m_ui->provinceEdit->text();
    h.categoryOperator = m_ui->categoryOperatorCombo->currentText();
    h.transmitter = m_ui->transmitterCombo->currentText();
    h.power = m_ui->powerCombo->currentText();
    h.band = m_ui->bandCombo->currentText();
    h.mode = m_ui->modeCombo->currentText();
    h.assisted = m_ui->assistedCombo->currentText();
    h.station = m_ui->stationCombo->currentText();
    h.time = m_ui->timeCombo->currentIndex() > 0 ? m_ui->timeCombo->currentText() : QString();
    h.location = m_ui->locationEdit->text();
    // Typed text that is none of the list items gives no overlay line.
    const int overlay = m_ui->overlayCombo->findText(m_ui->overlayCombo->currentText());
    h.overlay = overlay > 0 ? m_ui->overlayCombo->itemText(overlay) : QString();
    h.club = m_ui->clubEdit->text();
    h.claimed = m_ui->claimedScoreEdit->text();
    h.operators = m_ui->operatorsEdit->text();
    h.email = m_ui->emailEdit->text();
    h.name = m_ui->nameEdit->text();
    h.address1 = m_ui->address1Edit->text();
    h.address2 = m_ui->address2Edit->text();
    h.address3 = m_ui->address3Edit->text();
    h.remarks = memoLines(m_ui->remarksEdit->toPlainText());
    return h;
}

void CabrilloExportDialog::writeCabrillo() {
    const std::optional<QString> path =
        InterchangeCommands::exportCabrillo(m_session, header(), m_ui->contestCombo->currentIndex(), m_proposedName);
    if (!path)
        return;
    accept();
    emit exported(*path);
}

void CabrilloExportDialog::goBack() {
    reject();
}

void CabrilloExportDialog::saveSettings() {
    IniFile& ini = m_session.settings().file();
    settings().write(ini);
}

void CabrilloExportDialog::done(int result) {
    saveSettings();
    QDialog::done(result);
}
