#include "tfanaliza_grupy.h"

#include "core/logsession.h"
#include "ui_tfanaliza_grupy.h"

TFAnaliza_grupy::TFAnaliza_grupy(LogSession& session, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFAnaliza_grupy>()), m_session(session) {
    m_ui->setupUi(this);
    connect(m_ui->RadioButton1, &QRadioButton::clicked, this, &TFAnaliza_grupy::RadioButton1Click);
    connect(m_ui->RadioButton2, &QRadioButton::clicked, this, &TFAnaliza_grupy::RadioButton1Click);
    connect(m_ui->RadioButton3, &QRadioButton::clicked, this, &TFAnaliza_grupy::RadioButton3Click);
    connect(m_ui->CheckBox1, &QCheckBox::clicked, this, &TFAnaliza_grupy::CheckBox1Click);
    connect(m_ui->CheckBox2, &QCheckBox::clicked, this, &TFAnaliza_grupy::CheckBox2Click);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TFAnaliza_grupy::Button1Click);
    connect(m_ui->SpinEdit1, &QSpinBox::valueChanged, this,
            [this](int km) { m_session.analysis.sameLocatorKm = AnalysisSettings::clampSameLocatorKm(km); });
    syncFromSession();
}

TFAnaliza_grupy::~TFAnaliza_grupy() = default;

void TFAnaliza_grupy::syncFromSession() {
    const AnalysisOptions& options = m_session.analysis;
    const QSignalBlocker b1(m_ui->SpinEdit1);
    m_ui->RadioButton1->setChecked(options.mode == AnalysisMode::County);
    m_ui->RadioButton2->setChecked(options.mode == AnalysisMode::ProvinceCounty);
    m_ui->RadioButton3->setChecked(options.mode == AnalysisMode::Locator);
    m_ui->CheckBox1->setChecked(options.enabled);
    m_ui->CheckBox2->setChecked(options.countiesAllModes);
    m_ui->SpinEdit1->setValue(options.sameLocatorKm);
    const bool locator = options.mode == AnalysisMode::Locator;
    m_ui->SpinEdit1->setEnabled(locator);
    m_ui->Label1->setEnabled(locator);
    if (!m_session.operatorData.locator.isEmpty())
        setLocatorCaption(m_session.operatorData.locator);
}

void TFAnaliza_grupy::applyEffect(const AnalysisHandlers::Effect& effect) {
    syncFromSession();
    if (effect.sameLocatorEnabled) {
        m_ui->SpinEdit1->setEnabled(*effect.sameLocatorEnabled);
        m_ui->Label1->setEnabled(*effect.sameLocatorEnabled);
    }
    if (effect.sentFixedPart)
        emit sentFixedPartChanged(*effect.sentFixedPart);
    if (effect.countiesWindowVisible)
        emit countiesWindowRequested(*effect.countiesWindowVisible);
}

void TFAnaliza_grupy::RadioButton1Click() {
    const AnalysisMode mode = m_ui->RadioButton1->isChecked() ? AnalysisMode::County : AnalysisMode::ProvinceCounty;
    applyEffect(AnalysisHandlers::RadioButton1Click(m_session, mode));
}

void TFAnaliza_grupy::RadioButton3Click() {
    applyEffect(AnalysisHandlers::RadioButton3Click(m_session));
}

void TFAnaliza_grupy::CheckBox1Click() {
    applyEffect(AnalysisHandlers::CheckBox1Click(m_session, m_ui->CheckBox1->isChecked()));
}

void TFAnaliza_grupy::CheckBox2Click() {
    applyEffect(AnalysisHandlers::CheckBox2Click(m_session, m_ui->CheckBox2->isChecked()));
}

void TFAnaliza_grupy::Button1Click() {
    accept();
}

void TFAnaliza_grupy::VhfBandChosen() {
    applyEffect(AnalysisHandlers::VhfBandChosen(m_session));
}

void TFAnaliza_grupy::setLocatorCaption(const QString& locator) {
    m_ui->RadioButton3->setText(AnalysisHandlers::locatorOptionCaption(locator));
}

void TFAnaliza_grupy::showEvent(QShowEvent* event) {
    syncFromSession();
    QDialog::showEvent(event);
}
