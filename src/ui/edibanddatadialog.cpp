#include "edibanddatadialog.h"

#include "core/memotext.h"
#include "settings/programsettings.h"
#include "ui_edibanddatadialog.h"

EdiBandDataDialog::EdiBandDataDialog(ProgramSettings& settings, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::EdiBandDataDialog>()), m_settings(settings) {
    m_ui->setupUi(this);
    const auto ui = m_ui.get();
    m_bands[0] = {ui->band6mTxEquipmentEdit,
                  ui->band6mPowerEdit,
                  ui->band6mRxEquipmentEdit,
                  ui->band6mAntennaEdit,
                  ui->band6mAntennaHeightEdit,
                  ui->band6mMastHeightEdit,
                  ui->band6mMultiplierSpin,
                  ui->band6mNewSquareBonusSpin,
                  ui->band6mRemarksEdit,
                  ui->band6mSquareList,
                  ui->band6mSquareCountLabel,
                  {ui->band6mClaimedQsosEdit, ui->band6mClaimedQsoPointsEdit, ui->band6mClaimedSquaresEdit,
                   ui->band6mClaimedSquareBonusEdit, ui->band6mClaimedExchangesEdit, ui->band6mClaimedExchangeBonusEdit,
                   ui->band6mClaimedDxccsEdit, ui->band6mClaimedDxccBonusEdit, ui->band6mClaimedTotalScoreEdit,
                   ui->band6mClaimedOdxEdit}};
    m_bands[1] = {ui->band2mTxEquipmentEdit,
                  ui->band2mPowerEdit,
                  ui->band2mRxEquipmentEdit,
                  ui->band2mAntennaEdit,
                  ui->band2mAntennaHeightEdit,
                  ui->band2mMastHeightEdit,
                  ui->band2mMultiplierSpin,
                  ui->band2mNewSquareBonusSpin,
                  ui->band2mRemarksEdit,
                  ui->band2mSquareList,
                  ui->band2mSquareCountLabel,
                  {ui->band2mClaimedQsosEdit, ui->band2mClaimedQsoPointsEdit, ui->band2mClaimedSquaresEdit,
                   ui->band2mClaimedSquareBonusEdit, ui->band2mClaimedExchangesEdit, ui->band2mClaimedExchangeBonusEdit,
                   ui->band2mClaimedDxccsEdit, ui->band2mClaimedDxccBonusEdit, ui->band2mClaimedTotalScoreEdit,
                   ui->band2mClaimedOdxEdit}};
    m_bands[2] = {ui->band70cmTxEquipmentEdit,
                  ui->band70cmPowerEdit,
                  ui->band70cmRxEquipmentEdit,
                  ui->band70cmAntennaEdit,
                  ui->band70cmAntennaHeightEdit,
                  ui->band70cmMastHeightEdit,
                  ui->band70cmMultiplierSpin,
                  ui->band70cmNewSquareBonusSpin,
                  ui->band70cmRemarksEdit,
                  ui->band70cmSquareList,
                  ui->band70cmSquareCountLabel,
                  {ui->band70cmClaimedQsosEdit, ui->band70cmClaimedQsoPointsEdit, ui->band70cmClaimedSquaresEdit,
                   ui->band70cmClaimedSquareBonusEdit, ui->band70cmClaimedExchangesEdit,
                   ui->band70cmClaimedExchangeBonusEdit, ui->band70cmClaimedDxccsEdit, ui->band70cmClaimedDxccBonusEdit,
                   ui->band70cmClaimedTotalScoreEdit, ui->band70cmClaimedOdxEdit}};
    m_bands[3] = {ui->band23cmTxEquipmentEdit,
                  ui->band23cmPowerEdit,
                  ui->band23cmRxEquipmentEdit,
                  ui->band23cmAntennaEdit,
                  ui->band23cmAntennaHeightEdit,
                  ui->band23cmMastHeightEdit,
                  ui->band23cmMultiplierSpin,
                  ui->band23cmNewSquareBonusSpin,
                  ui->band23cmRemarksEdit,
                  ui->band23cmSquareList,
                  ui->band23cmSquareCountLabel,
                  {ui->band23cmClaimedQsosEdit, ui->band23cmClaimedQsoPointsEdit, ui->band23cmClaimedSquaresEdit,
                   ui->band23cmClaimedSquareBonusEdit, ui->band23cmClaimedExchangesEdit,
                   ui->band23cmClaimedExchangeBonusEdit, ui->band23cmClaimedDxccsEdit, ui->band23cmClaimedDxccBonusEdit,
                   ui->band23cmClaimedTotalScoreEdit, ui->band23cmClaimedOdxEdit}};

    for (int band = 0; band < Edi::kBandCount; ++band) {
        BandControls& b = m_bands[size_t(band)];
        const Edi::BandLimits limits = Edi::bandLimits(band);
        b.multiplier->setRange(limits.multiplierMin, limits.multiplierMax);
        b.multiplier->setValue(1);
        b.bonus->setRange(limits.bonusMin, limits.bonusMax);
        b.bonus->setSingleStep(limits.bonusStep);
        b.bonus->setValue(0);
        showScore(band, Edi::ClaimedScore());
        connect(b.multiplier, &QSpinBox::valueChanged, this, [this, band] { onMultiplierChanged(band); });
        connect(b.bonus, &QSpinBox::valueChanged, this, [this, band] { onNewSquareBonusChanged(band); });
    }
    connect(ui->squaresAsMultiplierCheck, &QCheckBox::clicked, this, &EdiBandDataDialog::onSquaresAsMultiplierToggled);
    connect(ui->subregionalPresetButton, &QPushButton::clicked, this, &EdiBandDataDialog::applySubregionalPreset);
    connect(ui->iaruPresetButton, &QPushButton::clicked, this, &EdiBandDataDialog::applyIaruPreset);
    connect(ui->spacPresetButton, &QPushButton::clicked, this, &EdiBandDataDialog::applySpacPreset);
    connect(ui->summerVhfPresetButton, &QPushButton::clicked, this, &EdiBandDataDialog::applySummerVhfPreset);
    connect(ui->okButton, &QPushButton::clicked, this, &EdiBandDataDialog::confirm);
}

EdiBandDataDialog::~EdiBandDataDialog() = default;

Edi::Settings EdiBandDataDialog::bandSettings() const {
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
        out.remarks = memoLines(b.remarks->toPlainText());
    }
    s.squaresMultiply = m_ui->squaresAsMultiplierCheck->isChecked();
    return s;
}

void EdiBandDataDialog::loadSettings() {
    const IniFile& ini = m_settings.file();
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
    m_ui->squaresAsMultiplierCheck->setChecked(s.squaresMultiply);
}

void EdiBandDataDialog::setStatistics(const Edi::Statistics& statistics, std::span<const QsoRecord> log) {
    m_statistics = statistics;
    m_log.assign(log.begin(), log.end());
    for (int band = 0; band < Edi::kBandCount; ++band) {
        m_bands[size_t(band)].squares->clear();
        m_bands[size_t(band)].squares->addItems(statistics.bands[size_t(band)].squares);
    }
    computeClaimedScores();
}

Edi::ClaimedScore EdiBandDataDialog::claimedScore(int band) const {
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

void EdiBandDataDialog::showScore(int band, const Edi::ClaimedScore& c) {
    const auto& f = m_bands[size_t(band)].score;
    const QString values[] = {c.CQSOs, c.CQSOP, c.CWWLs, c.CWWLB, c.CExcs, c.CExcB, c.CDXCs, c.CDXCB, c.CToSc, c.CODXC};
    for (size_t i = 0; i < f.size(); ++i)
        f[i]->setText(values[i]);
    m_bands[size_t(band)].squaresLabel->setText(c.squaresLabel);
}

void EdiBandDataDialog::computeClaimedScores() {
    for (int band = 0; band < Edi::kBandCount; ++band) {
        const BandControls& b = m_bands[size_t(band)];
        Edi::ClaimedScore c = claimedScore(band);
        c.computeAll(m_statistics.bands[size_t(band)], m_log, b.multiplier->value(), b.bonus->value(),
                     m_ui->squaresAsMultiplierCheck->isChecked());
        showScore(band, c);
    }
}

void EdiBandDataDialog::onSquaresAsMultiplierToggled() {
    computeClaimedScores();
}

void EdiBandDataDialog::onMultiplierChanged(int band) {
    const Edi::BandStatistics& stats = m_statistics.bands[size_t(band)];
    if (stats.qsoCount <= 0)
        return;
    const BandControls& b = m_bands[size_t(band)];
    Edi::ClaimedScore c = claimedScore(band);
    c.computeMultiplier(stats, b.multiplier->value(), b.bonus->value(), m_ui->squaresAsMultiplierCheck->isChecked());
    showScore(band, c);
}

void EdiBandDataDialog::onNewSquareBonusChanged(int band) {
    const Edi::BandStatistics& stats = m_statistics.bands[size_t(band)];
    if (stats.qsoCount <= 0)
        return;
    const BandControls& b = m_bands[size_t(band)];
    Edi::ClaimedScore c = claimedScore(band);
    c.computeBonus(stats, b.multiplier->value(), b.bonus->value(), m_ui->squaresAsMultiplierCheck->isChecked());
    showScore(band, c);
}

void EdiBandDataDialog::applyPreset(int preset) {
    const std::array<int, Edi::kBandCount> bonus = Edi::presetBonus(preset);
    m_ui->squaresAsMultiplierCheck->setChecked(false);
    for (int band = 0; band < Edi::kBandCount; ++band) {
        m_bands[size_t(band)].multiplier->setValue(1);
        m_bands[size_t(band)].bonus->setValue(bonus[size_t(band)]);
    }
    computeClaimedScores();
}

void EdiBandDataDialog::applySubregionalPreset() {
    applyPreset(0);
}

void EdiBandDataDialog::applyIaruPreset() {
    applyPreset(1);
}

void EdiBandDataDialog::applySpacPreset() {
    applyPreset(2);
}

void EdiBandDataDialog::applySummerVhfPreset() {
    applyPreset(3);
}

void EdiBandDataDialog::confirm() {
    accept();
}

void EdiBandDataDialog::saveSettings() {
    IniFile& ini = m_settings.file();
    bandSettings().writeBands(ini);
}

void EdiBandDataDialog::done(int result) {
    saveSettings();
    QDialog::done(result);
}
