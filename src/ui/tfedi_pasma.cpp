#include "tfedi_pasma.h"

#include "settings/inifile.h"
#include "ui_tfedi_pasma.h"

#include <climits>

TFEDI_pasma::TFEDI_pasma(QString settingsPath, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFEDI_pasma>()), m_settingsPath(std::move(settingsPath)) {
    m_ui->setupUi(this);
    const auto ui = m_ui.get();
    m_bands[0] = {ui->STXEq_6M,
                  ui->SPowe_6M,
                  ui->SRXEq_6M,
                  ui->SAnt_6M,
                  ui->SAntH_6M,
                  ui->wys_masztu_6m,
                  ui->SpinEdit_6M,
                  ui->SpinEdit2_6M,
                  ui->Remarks_6M,
                  ui->Lokatory_6M,
                  ui->LabelLok_6M,
                  {ui->CQSOs_6M, ui->CQSOP_6M, ui->CWWLs_6M, ui->CWWLB_6M, ui->CExcs_6M, ui->CExcB_6M, ui->CDXCs_6M,
                   ui->CDXCB_6M, ui->CToSc_6M, ui->CODXC_6M}};
    m_bands[1] = {ui->STXEq_2M,
                  ui->SPowe_2M,
                  ui->SRXEq_2M,
                  ui->SAnt_2M,
                  ui->SAntH_2M,
                  ui->wys_masztu_2m,
                  ui->SpinEdit_2M,
                  ui->SpinEdit2_2M,
                  ui->Remarks_2M,
                  ui->Lokatory_2M,
                  ui->LabelLok_2M,
                  {ui->CQSOs_2M, ui->CQSOP_2M, ui->CWWLs_2M, ui->CWWLB_2M, ui->CExcs_2M, ui->CExcB_2M, ui->CDXCs_2M,
                   ui->CDXCB_2M, ui->CToSc_2M, ui->CODXC_2M}};
    m_bands[2] = {ui->STXEq_70CM,
                  ui->SPowe_70CM,
                  ui->SRXEq_70CM,
                  ui->SAnt_70CM,
                  ui->SAntH_70CM,
                  ui->wys_masztu_70cm,
                  ui->SpinEdit_70CM,
                  ui->SpinEdit2_70CM,
                  ui->Remarks_70CM,
                  ui->Lokatory_70CM,
                  ui->LabelLok_70CM,
                  {ui->CQSOs_70CM, ui->CQSOP_70CM, ui->CWWLs_70CM, ui->CWWLB_70CM, ui->CExcs_70CM, ui->CExcB_70CM,
                   ui->CDXCs_70CM, ui->CDXCB_70CM, ui->CToSc_70CM, ui->CODXC_70CM}};
    m_bands[3] = {ui->STXEq_23CM,
                  ui->SPowe_23CM,
                  ui->SRXEq_23CM,
                  ui->SAnt_23CM,
                  ui->SAntH_23CM,
                  ui->wys_masztu_23cm,
                  ui->SpinEdit_23CM,
                  ui->SpinEdit2_23CM,
                  ui->Remarks_23CM,
                  ui->Lokatory_23CM,
                  ui->LabelLok_23CM,
                  {ui->CQSOs_23CM, ui->CQSOP_23CM, ui->CWWLs_23CM, ui->CWWLB_23CM, ui->CExcs_23CM, ui->CExcB_23CM,
                   ui->CDXCs_23CM, ui->CDXCB_23CM, ui->CToSc_23CM, ui->CODXC_23CM}};

    for (int band = 0; band < Edi::kBandCount; ++band) {
        BandControls& b = m_bands[size_t(band)];
        const bool fromOne = band == 0 || band == 3;
        b.multiplier->setRange(fromOne ? 1 : 0, 100);
        b.multiplier->setValue(1);
        if (band == 0)
            b.bonus->setRange(0, 2000);
        else
            b.bonus->setRange(INT_MIN + 1, INT_MAX);
        b.bonus->setSingleStep(band == 3 ? 50 : 1);
        b.bonus->setValue(0);
        showScore(band, Edi::ClaimedScore());
        connect(b.multiplier, &QSpinBox::valueChanged, this, [this, band] { SpinEditChange(band); });
        connect(b.bonus, &QSpinBox::valueChanged, this, [this, band] { SpinEdit2Change(band); });
    }
    connect(ui->CheckBox1, &QCheckBox::clicked, this, &TFEDI_pasma::CheckBox1Click);
    connect(ui->Button1, &QPushButton::clicked, this, &TFEDI_pasma::Button1Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TFEDI_pasma::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TFEDI_pasma::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TFEDI_pasma::Button5Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TFEDI_pasma::Button8Click);
}

TFEDI_pasma::~TFEDI_pasma() = default;

Edi::Settings TFEDI_pasma::bandSettings() const {
    Edi::Settings s;
    for (int band = 0; band < Edi::kBandCount; ++band) {
        const BandControls& b = m_bands[size_t(band)];
        Edi::BandSettings& out = s.bands[size_t(band)];
        out.txEquipment = b.tx->text();
        out.power = b.power->text();
        out.rxEquipment = b.rx->text();
        out.antenna = b.antenna->text();
        out.antennaHeight = b.antennaHeight->text();
        out.mastHeight = b.mastHeight->text();
        out.multiplier = b.multiplier->value();
        out.bonus = b.bonus->value();
        // A line break after the last remark starts no further, empty line.
        QString remarks = b.remarks->toPlainText();
        if (remarks.endsWith(QLatin1Char('\n')))
            remarks.chop(1);
        if (!remarks.isEmpty())
            out.remarks = remarks.split(QLatin1Char('\n'));
    }
    s.squaresMultiply = m_ui->CheckBox1->isChecked();
    return s;
}

void TFEDI_pasma::loadSettings() {
    const IniFile ini(m_settingsPath);
    if (!ini.exists())
        return;
    const Edi::Settings s = Edi::Settings::read(ini, bandSettings());
    const QSignalBlocker block(this);
    for (int band = 0; band < Edi::kBandCount; ++band) {
        BandControls& b = m_bands[size_t(band)];
        const Edi::BandSettings& in = s.bands[size_t(band)];
        b.tx->setText(in.txEquipment);
        b.power->setText(in.power);
        b.rx->setText(in.rxEquipment);
        b.antenna->setText(in.antenna);
        b.antennaHeight->setText(in.antennaHeight);
        b.mastHeight->setText(in.mastHeight);
        b.multiplier->setValue(in.multiplier);
        b.bonus->setValue(in.bonus);
        b.remarks->setPlainText(in.remarks.join(QLatin1Char('\n')));
    }
    m_ui->CheckBox1->setChecked(s.squaresMultiply);
}

void TFEDI_pasma::setStatistics(const Edi::Statistics& statistics, const std::vector<QString>& log) {
    m_statistics = statistics;
    m_log = log;
    for (int band = 0; band < Edi::kBandCount; ++band) {
        m_bands[size_t(band)].squares->clear();
        m_bands[size_t(band)].squares->addItems(statistics.bands[size_t(band)].squares);
    }
    computeClaimedScores();
}

Edi::ClaimedScore TFEDI_pasma::claimedScore(int band) const {
    const auto& f = m_bands[size_t(band)].score;
    Edi::ClaimedScore c;
    c.CQSOs = f[0]->text();
    c.CQSOP = f[1]->text();
    c.CWWLs = f[2]->text();
    c.CWWLB = f[3]->text();
    c.CExcs = f[4]->text();
    c.CExcB = f[5]->text();
    c.CDXCs = f[6]->text();
    c.CDXCB = f[7]->text();
    c.CToSc = f[8]->text();
    c.CODXC = f[9]->text();
    c.squaresLabel = m_bands[size_t(band)].squaresLabel->text();
    return c;
}

void TFEDI_pasma::showScore(int band, const Edi::ClaimedScore& c) {
    const auto& f = m_bands[size_t(band)].score;
    const QString values[] = {c.CQSOs, c.CQSOP, c.CWWLs, c.CWWLB, c.CExcs, c.CExcB, c.CDXCs, c.CDXCB, c.CToSc, c.CODXC};
    for (size_t i = 0; i < f.size(); ++i)
        f[i]->setText(values[i]);
    m_bands[size_t(band)].squaresLabel->setText(c.squaresLabel);
}

void TFEDI_pasma::computeClaimedScores() {
    for (int band = 0; band < Edi::kBandCount; ++band) {
        const BandControls& b = m_bands[size_t(band)];
        Edi::ClaimedScore c = claimedScore(band);
        c.computeAll(m_statistics.bands[size_t(band)], m_log, b.multiplier->value(), b.bonus->value(),
                     m_ui->CheckBox1->isChecked());
        showScore(band, c);
    }
}

void TFEDI_pasma::CheckBox1Click() {
    computeClaimedScores();
}

void TFEDI_pasma::SpinEditChange(int band) {
    const Edi::BandStatistics& stats = m_statistics.bands[size_t(band)];
    if (stats.qsoCount <= 0)
        return;
    const BandControls& b = m_bands[size_t(band)];
    Edi::ClaimedScore c = claimedScore(band);
    c.computeMultiplier(stats, b.multiplier->value(), b.bonus->value(), m_ui->CheckBox1->isChecked());
    showScore(band, c);
}

void TFEDI_pasma::SpinEdit2Change(int band) {
    const Edi::BandStatistics& stats = m_statistics.bands[size_t(band)];
    if (stats.qsoCount <= 0)
        return;
    const BandControls& b = m_bands[size_t(band)];
    Edi::ClaimedScore c = claimedScore(band);
    c.computeBonus(stats, b.multiplier->value(), b.bonus->value(), m_ui->CheckBox1->isChecked());
    showScore(band, c);
}

void TFEDI_pasma::applyPreset(int preset) {
    const std::array<int, Edi::kBandCount> bonus = Edi::presetBonus(preset);
    m_ui->CheckBox1->setChecked(false);
    for (int band = 0; band < Edi::kBandCount; ++band) {
        m_bands[size_t(band)].multiplier->setValue(1);
        m_bands[size_t(band)].bonus->setValue(bonus[size_t(band)]);
    }
    computeClaimedScores();
}

void TFEDI_pasma::Button1Click() {
    applyPreset(0);
}

void TFEDI_pasma::Button3Click() {
    applyPreset(1);
}

void TFEDI_pasma::Button4Click() {
    applyPreset(2);
}

void TFEDI_pasma::Button5Click() {
    applyPreset(3);
}

void TFEDI_pasma::Button8Click() {
    accept();
}

void TFEDI_pasma::FormClose() {
    IniFile ini(m_settingsPath);
    bandSettings().writeBands(ini);
}

void TFEDI_pasma::done(int result) {
    FormClose();
    QDialog::done(result);
}
