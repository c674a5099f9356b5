#include "exchangeanalysisdialog.h"

#include "log/logsession.h"
#include "ui_exchangeanalysisdialog.h"

ExchangeAnalysisDialog::ExchangeAnalysisDialog(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ExchangeAnalysisDialog>()), m_session(session) {
    m_ui->setupUi(this);
    connect(m_ui->countyModeRadio, &QRadioButton::clicked, this, &ExchangeAnalysisDialog::onCountyModeChosen);
    connect(m_ui->provinceCountyModeRadio, &QRadioButton::clicked, this, &ExchangeAnalysisDialog::onCountyModeChosen);
    connect(m_ui->locatorModeRadio, &QRadioButton::clicked, this, &ExchangeAnalysisDialog::onLocatorModeChosen);
    connect(m_ui->analysisCheck, &QCheckBox::clicked, this, &ExchangeAnalysisDialog::onAnalysisToggled);
    connect(m_ui->countiesAllModesCheck, &QCheckBox::clicked, this, &ExchangeAnalysisDialog::onCountiesAllModesToggled);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->sameLocatorKmSpin, &QSpinBox::valueChanged, this, &ExchangeAnalysisDialog::onSameLocatorKmChanged);
    syncFromSession();
}

ExchangeAnalysisDialog::~ExchangeAnalysisDialog() = default;

void ExchangeAnalysisDialog::syncFromSession() {
    const AnalysisOptions& options = m_session.analysis;
    const QSignalBlocker b1(m_ui->sameLocatorKmSpin);
    m_ui->countyModeRadio->setChecked(options.mode == AnalysisMode::County);
    m_ui->provinceCountyModeRadio->setChecked(options.mode == AnalysisMode::ProvinceCounty);
    m_ui->locatorModeRadio->setChecked(options.mode == AnalysisMode::Locator);
    m_ui->analysisCheck->setChecked(options.enabled);
    m_ui->countiesAllModesCheck->setChecked(options.countiesAllModes);
    m_ui->sameLocatorKmSpin->setValue(options.sameLocatorKm);
    const bool locator = options.mode == AnalysisMode::Locator;
    m_ui->sameLocatorKmSpin->setEnabled(locator);
    m_ui->sameLocatorKmCaption->setEnabled(locator);
    if (!m_session.operatorData.locator.isEmpty())
        setLocatorCaption(m_session.operatorData.locator);
}

void ExchangeAnalysisDialog::applyEffect(const AnalysisHandlers::Effect& effect) {
    syncFromSession();
    if (effect.sameLocatorEnabled) {
        m_ui->sameLocatorKmSpin->setEnabled(*effect.sameLocatorEnabled);
        m_ui->sameLocatorKmCaption->setEnabled(*effect.sameLocatorEnabled);
    }
    if (effect.sentFixedPart)
        emit sentFixedPartChanged(*effect.sentFixedPart);
    if (effect.countiesWindowVisible)
        emit countiesWindowRequested(*effect.countiesWindowVisible);
}

void ExchangeAnalysisDialog::onCountyModeChosen() {
    const AnalysisMode mode = m_ui->countyModeRadio->isChecked() ? AnalysisMode::County : AnalysisMode::ProvinceCounty;
    applyEffect(AnalysisHandlers::countyModeChosen(m_session, mode));
}

void ExchangeAnalysisDialog::onLocatorModeChosen() {
    applyEffect(AnalysisHandlers::locatorModeChosen(m_session));
}

void ExchangeAnalysisDialog::onAnalysisToggled() {
    applyEffect(AnalysisHandlers::analysisSwitched(m_session, m_ui->analysisCheck->isChecked()));
}

void ExchangeAnalysisDialog::onCountiesAllModesToggled() {
    applyEffect(AnalysisHandlers::countiesAllModesSwitched(m_session, m_ui->countiesAllModesCheck->isChecked()));
}

void ExchangeAnalysisDialog::onSameLocatorKmChanged(int km) {
    applyEffect(AnalysisHandlers::sameLocatorKmChanged(m_session, km));
}

void ExchangeAnalysisDialog::onVhfBandChosen() {
    applyEffect(AnalysisHandlers::VhfBandChosen(m_session));
}

void ExchangeAnalysisDialog::setLocatorCaption(const QString& locator) {
    m_ui->locatorModeRadio->setText(AnalysisHandlers::locatorOptionCaption(locator));
}

void ExchangeAnalysisDialog::showEvent(QShowEvent* event) {
    syncFromSession();
    QDialog::showEvent(event);
}
