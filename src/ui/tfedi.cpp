#include "tfedi.h"

#include "core/logsession.h"
#include "platform/userdialogs.h"
#include "settings/inifile.h"
#include "tfedi_pasma.h"
#include "ui_tfedi.h"
#include "uppercaseinput.h"

#include <QCloseEvent>

TFEDI::TFEDI(LogSession& session, std::function<QString()> sentExchange, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFEDI>()), m_session(session),
      m_sentExchange(std::move(sentExchange)) {
    m_ui->setupUi(this);
    forceUpperCase(m_ui->PCall);
    // The per-band window belongs to this one and goes with it.
    m_bands = new TFEDI_pasma(m_session.settingsPath(), this);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TFEDI::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TFEDI::Button2Click);
    connect(m_ui->Button3, &QPushButton::clicked, this, &TFEDI::Button3Click);
}

TFEDI::~TFEDI() {
    FormClose();
}

void TFEDI::prepare() {
    const std::vector<QString>& log = m_session.log().lines();
    m_statistics = Edi::Statistics::gather(log);
    m_ui->TDate->setText(m_statistics.dates);
    const OperatorData& op = m_session.operatorData;
    m_ui->PCall->setText(op.contestCall.toUpper());
    m_ui->RCall->setText(op.operatorCall);
    m_ui->RName->setText(op.name);
    m_ui->RAdr1->setText(op.address1);
    m_ui->RAdr2->setText(op.address2);
    m_ui->RPoCo->setText(op.postcode);
    m_ui->RCity->setText(op.town);
    m_ui->PWWLo->setText(op.locator);
    m_ui->RCoun->setText(QStringLiteral("Poland"));

    const IniFile ini(m_session.settingsPath());
    if (ini.exists()) {
        const Edi::Settings s = Edi::Settings::read(ini, headerSettings());
        m_ui->TName->setText(s.TName);
        m_ui->PExch->setText(s.PExch);
        m_ui->PAdr1->setText(s.PAdr1);
        m_ui->PAdr2->setText(s.PAdr2);
        m_ui->PSect->setText(s.PSect);
        m_ui->PClub->setText(s.PClub);
        m_ui->RPhon->setText(s.RPhon);
        m_ui->RHBBS->setText(s.RHBBS);
        m_ui->MOpe1->setText(s.MOpe1);
        m_ui->MOPe2->setText(s.MOpe2);
        m_bands->loadSettings();
    }
    m_ui->PBand->clear();
    m_ui->PBand->addItem(QStringLiteral("wszystkie"));
    m_ui->PBand->addItems(m_statistics.bandsFound);
    m_ui->PBand->setCurrentIndex(0);
    m_bands->setStatistics(m_statistics, log);
}

Edi::Settings TFEDI::headerSettings() const {
    Edi::Settings s;
    s.TName = m_ui->TName->text();
    s.PExch = m_ui->PExch->text();
    s.PAdr1 = m_ui->PAdr1->text();
    s.PAdr2 = m_ui->PAdr2->text();
    s.PSect = m_ui->PSect->text();
    s.PClub = m_ui->PClub->text();
    s.RPhon = m_ui->RPhon->text();
    s.RHBBS = m_ui->RHBBS->text();
    s.MOpe1 = m_ui->MOpe1->text();
    s.MOpe2 = m_ui->MOPe2->text();
    return s;
}

Edi::Header TFEDI::header() const {
    Edi::Header h;
    h.TName = m_ui->TName->text();
    h.TDate = m_ui->TDate->text();
    h.PCall = m_ui->PCall->text();
    h.PWWLo = m_ui->PWWLo->text();
    h.PExch = m_sentExchange ? m_sentExchange() : QString();
    h.PAdr1 = m_ui->PAdr1->text();
    h.PAdr2 = m_ui->PAdr2->text();
    h.PSect = m_ui->PSect->text();
    h.PClub = m_ui->PClub->text();
    h.RName = m_ui->RName->text();
    h.RCall = m_ui->RCall->text();
    h.RAdr1 = m_ui->RAdr1->text();
    h.RAdr2 = m_ui->RAdr2->text();
    h.RPoCo = m_ui->RPoCo->text();
    h.RCity = m_ui->RCity->text();
    h.RCoun = m_ui->RCoun->text();
    h.RPhon = m_ui->RPhon->text();
    h.RHBBS = m_ui->RHBBS->text();
    h.MOpe1 = m_ui->MOpe1->text();
    h.MOpe2 = m_ui->MOPe2->text();
    return h;
}

void TFEDI::Button2Click() {
    UserDialogs& dialogs = m_session.dialogs();
    const Edi::Header h = header();
    const QString problem = Edi::validate(h);
    if (!problem.isEmpty()) {
        dialogs.error(problem);
        return;
    }
    const QString choice = m_ui->PBand->currentText();
    const bool all = choice == QLatin1String("wszystkie");
    const int only = Edi::bandIndex(choice);
    if (!all && only < 0) {
        // Typed text that names no band: nothing could be written.
        dialogs.error(QStringLiteral("Nieznane pasmo: ") + choice);
        return;
    }
    const Edi::Settings bands = m_bands->bandSettings();
    const std::vector<QString>& log = m_session.log().lines();
    for (int band = 0; band < Edi::kBandCount; ++band) {
        if (!all && band != only)
            continue;
        const TextFile::Status written =
            Edi::writeBand(Edi::fileName(m_session.folder().path(), h.PCall, band), h, band, bands.bands[size_t(band)],
                           m_bands->claimedScore(band), m_statistics, log);
        if (!written) {
            dialogs.error(written.error);
            return;
        }
    }
    dialogs.information(all ? QStringLiteral("Pliki zostały zapisane.") : QStringLiteral("Plik(i) został zapisany."));
}

void TFEDI::Button3Click() {
    m_bands->show();
    m_bands->raise();
}

void TFEDI::Button1Click() {
    FormClose();
    emit closedWithReturn();
    deleteLater();
}

void TFEDI::FormClose() {
    IniFile ini(m_session.settingsPath());
    headerSettings().writeHeader(ini);
}

void TFEDI::closeEvent(QCloseEvent* event) {
    FormClose();
    QDialog::closeEvent(event);
}
