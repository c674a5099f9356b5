#include "keyersettingsdialog.h"

#include "entry/entryoptions.h"
#include "keyer/keyersetup.h"
#include "keyer/ports/ppdevparallelport.h"
#include "ui_keyersettingsdialog.h"

#include <QKeyEvent>
#include <QSignalBlocker>

#include <vector>

KeyerSettingsDialog::KeyerSettingsDialog(KeyerSetup& setup, const EntryOptions& entryOptions, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::KeyerSettingsDialog>()), m_setup(setup), m_entryOptions(entryOptions) {
    m_ui->setupUi(this);
    m_ui->lptPortCombo->addItems(
        {QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"), QStringLiteral("USER")});
    m_ui->serialFormatCombo->addItems({QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("001")});
    m_ui->priorityCombo->addItems(KeyerConfig::priorityNames());
    m_ui->keyingLineGroup->setToolTip(QStringLiteral("4 pin - DTR, 7 pin - RTS (złącze 9 pin)\n17 pin - LPT"));

    for (QRadioButton* kind : {m_ui->lineKeyerRadio, m_ui->winkeyerRadio, m_ui->cwdaemonRadio, m_ui->rigKeyerRadio})
        connect(kind, &QRadioButton::clicked, this, &KeyerSettingsDialog::chooseKeyer);
    connect(m_ui->winkeyerPortCombo, &QComboBox::activated, this, &KeyerSettingsDialog::onWinkeyerPortChosen);
    connect(m_ui->cwdaemonAddressEdit, &QLineEdit::editingFinished, this,
            [this] { m_setup.setCwdaemonAddress(m_ui->cwdaemonAddressEdit->text()); });
    connect(m_ui->winkeyerSpeedPotCheck, &QCheckBox::toggled, &m_setup, &KeyerSetup::setWinkeyerSpeedPot);
    connect(&m_setup, &KeyerSetup::portStatusChanged, this, &KeyerSettingsDialog::showKeyerStatus);
    connect(m_ui->noPortRadio, &QRadioButton::clicked, this, &KeyerSettingsDialog::chooseNoPort);
    connect(m_ui->comPortRadio, &QRadioButton::clicked, this, &KeyerSettingsDialog::chooseSerialPort);
    connect(m_ui->lptPortRadio, &QRadioButton::clicked, this, &KeyerSettingsDialog::chooseParallelPort);
    connect(m_ui->comPortCombo, &QComboBox::activated, this, &KeyerSettingsDialog::onSerialPortChosen);
    connect(m_ui->lptPortCombo, &QComboBox::activated, this, &KeyerSettingsDialog::onParallelPortChosen);
    connect(m_ui->rtsKeyingRadio, &QRadioButton::toggled, this,
            [this](bool rts) { m_setup.update([rts](KeyerConfig& c) { c.keyingOnRts = rts; }); });

    bindSetting(m_ui->pttOnPortCheck, &KeyerConfig::ptt);
    bindSetting(m_ui->pttDelaySpin, &KeyerConfig::pttDelayMs);
    bindSetting(m_ui->loopDelaySpin, &KeyerConfig::loopDelaySeconds);
    bindSetting(m_ui->dashRatioSpin, &KeyerConfig::dashRatio);
    bindSetting(m_ui->gapRatioSpin, &KeyerConfig::gapRatio);
    bindSetting(m_ui->longGapRatioSpin, &KeyerConfig::longGapRatio);
    bindSetting(m_ui->toneSpin, &KeyerConfig::toneHz);
    bindSetting(m_ui->volumeSpin, &KeyerConfig::volume);
    bindSetting(m_ui->multithreadedCheck, &KeyerConfig::multithreaded);
    bindSetting(m_ui->extraGapCheck, &KeyerConfig::extraGap);
    bindSetting(m_ui->cutNumbersCheck, &KeyerConfig::cutNumbers);
    bindSetting(m_ui->mapDownCheck, &KeyerConfig::mapDownAsInsert);
    bindSetting(m_ui->mapUpCheck, &KeyerConfig::mapUpAsPlus);
    for (QSpinBox* ratio : {m_ui->dashRatioSpin, m_ui->gapRatioSpin, m_ui->longGapRatioSpin})
        connect(ratio, &QSpinBox::valueChanged, this, &KeyerSettingsDialog::showRatioTexts);

    connect(m_ui->speedSlider, &QSlider::valueChanged, this, [this](int wpm) {
        m_setup.setSpeed(wpm);
        m_ui->speedValueLabel->setText(QStringLiteral("%1 WPM").arg(wpm));
    });
    connect(m_ui->sidetoneCheck, &QCheckBox::toggled, &m_setup, &KeyerSetup::setSidetone);
    connect(m_ui->serialFormatCombo, &QComboBox::currentIndexChanged, &m_setup, &KeyerSetup::setSerialFormat);
    connect(m_ui->priorityCombo, &QComboBox::textActivated, this,
            [this](const QString& name) { m_setup.setPriority(name); });
    auto utcChanged = [this] {
        emit utcOptionsChanged(m_ui->manualUtcCheck->isChecked(), m_ui->utcOffsetSpin->value());
    };
    connect(m_ui->manualUtcCheck, &QCheckBox::toggled, this, utcChanged);
    connect(m_ui->utcOffsetSpin, &QSpinBox::valueChanged, this, utcChanged);

    for (QAbstractButton* test : {m_ui->dotsTestButton, m_ui->dashesTestButton, m_ui->tuneTestButton}) {
        connect(test, &QAbstractButton::pressed, this, &KeyerSettingsDialog::startKeyingTest);
        connect(test, &QAbstractButton::released, this, &KeyerSettingsDialog::stopKeyingTest);
    }
    connect(m_ui->calibrateButton, &QPushButton::clicked, this, &KeyerSettingsDialog::calibrate);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    showSettings();
}

KeyerSettingsDialog::~KeyerSettingsDialog() = default;

template <typename Value> void KeyerSettingsDialog::bindSetting(QObject* control, Value KeyerConfig::*field) {
    auto store = [this, field](Value value) { m_setup.update([field, value](KeyerConfig& c) { c.*field = value; }); };
    if (auto* check = qobject_cast<QCheckBox*>(control))
        connect(check, &QCheckBox::toggled, this, store);
    else if (auto* spin = qobject_cast<QSpinBox*>(control))
        connect(spin, &QSpinBox::valueChanged, this, store);
}

void KeyerSettingsDialog::showSettings() {
    const KeyerConfig c = m_setup.config();
    // Showing the settings changes none of them.
    std::vector<QSignalBlocker> blockers;
    for (QWidget* control : findChildren<QWidget*>())
        blockers.emplace_back(control);

    const QStringList ports = m_setup.serialPorts();
    m_ui->lineKeyerRadio->setChecked(c.kind == KeyerKind::Lines);
    m_ui->winkeyerRadio->setChecked(c.kind == KeyerKind::Winkeyer);
    m_ui->cwdaemonRadio->setChecked(c.kind == KeyerKind::Cwdaemon);
    m_ui->rigKeyerRadio->setChecked(c.kind == KeyerKind::Rig);
    m_ui->winkeyerPortCombo->clear();
    m_ui->winkeyerPortCombo->addItems(ports);
    // The Winkeyer's port is held open by the keyer, so the system may not list it.
    if (!c.winkeyerPort.isEmpty() && m_ui->winkeyerPortCombo->findText(c.winkeyerPort) < 0)
        m_ui->winkeyerPortCombo->addItem(c.winkeyerPort);
    m_ui->winkeyerPortCombo->setCurrentIndex(m_ui->winkeyerPortCombo->findText(c.winkeyerPort));
    m_ui->winkeyerSpeedPotCheck->setChecked(c.winkeyerSpeedPot);
    m_ui->cwdaemonAddressEdit->setText(c.cwdaemonAddress);
    showKeyerStatus(m_setup.portStatus().text, m_setup.portStatus().colour);

    m_ui->comPortCombo->clear();
    m_ui->comPortCombo->addItems(ports);
    const int comIndex = m_ui->comPortCombo->findText(c.comPort);
    m_ui->comPortCombo->setCurrentIndex(comIndex >= 0 ? comIndex : 0);
    m_ui->noPortRadio->setChecked(c.port == KeyingPort::None);
    m_ui->comPortRadio->setChecked(c.port == KeyingPort::Com);
    m_ui->lptPortRadio->setChecked(c.port == KeyingPort::Lpt);
    m_ui->rtsKeyingRadio->setChecked(c.keyingOnRts);
    m_ui->dtrKeyingRadio->setChecked(!c.keyingOnRts);
    showParallelPort(c.lptChoice, c.lptLabel());
    QStringList devices;
    for (const PpdevParallelPort::Device& device : PpdevParallelPort::devices(m_procRoot, m_devRoot))
        devices << device.path + QStringLiteral(" [$") + QString::number(device.base, 16).toUpper() + u']';
    m_ui->lptDevicesLabel->setText(devices.isEmpty()
                                       ? QStringLiteral("W systemie nie ma portu równoległego.")
                                       : QStringLiteral("W systemie: ") + devices.join(QStringLiteral(", ")));

    m_ui->pttOnPortCheck->setChecked(c.ptt);
    m_ui->pttDelaySpin->setValue(c.pttDelayMs);
    m_ui->loopDelaySpin->setValue(c.loopDelaySeconds);
    m_ui->serialFormatCombo->setCurrentIndex(c.serialFormat);
    m_ui->speedSlider->setValue(c.speed);
    m_ui->speedValueLabel->setText(QStringLiteral("%1 WPM").arg(c.speed));
    m_ui->dashRatioSpin->setValue(c.dashRatio);
    m_ui->gapRatioSpin->setValue(c.gapRatio);
    m_ui->longGapRatioSpin->setValue(c.longGapRatio);
    showRatioTexts();
    m_ui->sidetoneCheck->setChecked(c.sidetone);
    m_ui->toneSpin->setValue(c.toneHz);
    m_ui->volumeSpin->setValue(c.volume);
    m_ui->multithreadedCheck->setChecked(c.multithreaded);
    m_ui->extraGapCheck->setChecked(c.extraGap);
    m_ui->cutNumbersCheck->setChecked(c.cutNumbers);
    m_ui->mapDownCheck->setChecked(c.mapDownAsInsert);
    m_ui->mapUpCheck->setChecked(c.mapUpAsPlus);
    m_ui->priorityCombo->setCurrentIndex(int(KeyerConfig::priorityNames().indexOf(c.priority)));
    m_ui->manualUtcCheck->setChecked(m_entryOptions.manualUtc);
    m_ui->utcOffsetSpin->setValue(m_entryOptions.utcOffsetHours);
    enablePortControls();
}

void KeyerSettingsDialog::enablePortControls() {
    const KeyerKind kind = m_setup.config().kind;
    const bool com = m_ui->comPortRadio->isChecked();
    const bool lpt = m_ui->lptPortRadio->isChecked();
    m_ui->comPortCombo->setEnabled(com);
    m_ui->keyingLineGroup->setEnabled(com);
    m_ui->lptPortCombo->setEnabled(lpt);
    m_ui->lptAddressLabel->setEnabled(lpt);
    m_ui->winkeyerPortCombo->setEnabled(kind == KeyerKind::Winkeyer);
    m_ui->winkeyerSpeedPotCheck->setEnabled(kind == KeyerKind::Winkeyer);
    m_ui->cwdaemonAddressEdit->setEnabled(kind == KeyerKind::Cwdaemon);

    // What the chosen keyer cannot do is greyed, with the reason as the hint.
    const KeyerConfig::Limits limits = KeyerConfig::limits(kind);
    const std::pair<QWidget*, QString> greyed[] = {{m_ui->portGroup, limits.lines},
                                                   {m_ui->comGroup, limits.lines},
                                                   {m_ui->lptGroup, limits.lines},
                                                   {m_ui->longGapRatioSpin, limits.longGap},
                                                   {m_ui->volumeSpin, limits.volume},
                                                   {m_ui->multithreadedCheck, limits.multithreaded},
                                                   {m_ui->calibrateButton, limits.calibration}};
    for (const auto& [control, hint] : greyed) {
        control->setEnabled(hint.isEmpty());
        control->setToolTip(hint);
    }
}

void KeyerSettingsDialog::chooseKeyer() {
    auto* chosen = qobject_cast<QRadioButton*>(sender());
    const KeyerKind kind = chosen == m_ui->winkeyerRadio   ? KeyerKind::Winkeyer
                           : chosen == m_ui->cwdaemonRadio ? KeyerKind::Cwdaemon
                           : chosen == m_ui->rigKeyerRadio ? KeyerKind::Rig
                                                           : KeyerKind::Lines;
    if (kind == KeyerKind::Cwdaemon)
        m_setup.setCwdaemonAddress(m_ui->cwdaemonAddressEdit->text());
    if (kind == KeyerKind::Winkeyer)
        m_setup.update([this](KeyerConfig& c) { c.winkeyerPort = m_ui->winkeyerPortCombo->currentText(); });
    m_ui->keyerStatusLabel->clear();
    m_setup.chooseKeyer(kind);
    enablePortControls();
}

void KeyerSettingsDialog::onWinkeyerPortChosen(int index) {
    m_setup.chooseWinkeyerPort(m_ui->winkeyerPortCombo->itemText(index));
}

void KeyerSettingsDialog::showKeyerStatus(const QString& text, const QString& colour) {
    m_ui->keyerStatusLabel->setText(text);
    m_ui->keyerStatusLabel->setStyleSheet(colour.isEmpty() ? QString() : QStringLiteral("color: %1").arg(colour));
}

void KeyerSettingsDialog::showParallelPort(const QString& choice, const QString& label) {
    const QSignalBlocker block(m_ui->lptPortCombo);
    m_ui->lptPortCombo->setCurrentIndex(std::max(0, m_ui->lptPortCombo->findText(choice)));
    m_ui->lptAddressLabel->setText(label);
}

void KeyerSettingsDialog::showRatioTexts() {
    m_ui->dashRatioText->setText(KeyerConfig::ratioText(m_ui->dashRatioSpin->value()));
    m_ui->gapRatioText->setText(KeyerConfig::ratioText(m_ui->gapRatioSpin->value()));
    m_ui->longGapRatioText->setText(KeyerConfig::ratioText(m_ui->longGapRatioSpin->value()));
}

void KeyerSettingsDialog::chooseNoPort() {
    enablePortControls();
    m_setup.chooseNoPort();
}

void KeyerSettingsDialog::chooseSerialPort() {
    enablePortControls();
    m_setup.chooseSerialPort(m_ui->comPortCombo->currentText());
}

void KeyerSettingsDialog::chooseParallelPort() {
    enablePortControls();
    const LptSelection selection = m_setup.chooseParallelPort(m_ui->lptPortCombo->currentText());
    showParallelPort(selection.choice, m_setup.config().lptLabel());
}

void KeyerSettingsDialog::onSerialPortChosen(int index) {
    m_setup.changeSerialPort(m_ui->comPortCombo->itemText(index));
}

void KeyerSettingsDialog::onParallelPortChosen(int index) {
    const LptSelection selection = m_setup.chooseParallelPort(m_ui->lptPortCombo->itemText(index));
    showParallelPort(selection.choice, m_setup.config().lptLabel());
}

void KeyerSettingsDialog::startKeyingTest() {
    auto* pressed = qobject_cast<QAbstractButton*>(sender());
    const MorseEngine::KeyingTest kind = pressed == m_ui->dotsTestButton     ? MorseEngine::KeyingTest::Dots
                                         : pressed == m_ui->dashesTestButton ? MorseEngine::KeyingTest::Dashes
                                                                             : MorseEngine::KeyingTest::Tune;
    m_setup.engine().startKeyingTest(kind);
}

void KeyerSettingsDialog::stopKeyingTest() {
    // A button still held when the test ends another way (F12, the window closing) comes up without a release,
    // so letting go of the mouse later starts nothing.
    for (QAbstractButton* test : {m_ui->dotsTestButton, m_ui->dashesTestButton, m_ui->tuneTestButton}) {
        const QSignalBlocker block(test);
        test->setDown(false);
    }
    m_setup.engine().stopKeyingTest();
}

void KeyerSettingsDialog::calibrate() {
    stopKeyingTest();
    // Hiding a modal window would end it; it becomes transparent for the run instead.
    m_setup.calibrate([this] { setWindowOpacity(0.0); }, [this] { setWindowOpacity(1.0); });
    const QSignalBlocker block(m_ui->speedSlider);
    m_ui->speedSlider->setValue(m_setup.config().speed);
}

void KeyerSettingsDialog::showEvent(QShowEvent* event) {
    showSettings();
    QDialog::showEvent(event);
}

void KeyerSettingsDialog::keyPressEvent(QKeyEvent* event) {
    // F12 stops the keyer everywhere in the program; Esc closes the window, which stops it too.
    if (event->key() == Qt::Key_F12) {
        stopKeyingTest();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void KeyerSettingsDialog::changeEvent(QEvent* event) {
    // A button whose window loses the mouse and keyboard gets no release: the test ends with the activation.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && m_setup.engine().keyingTestRunning())
        stopKeyingTest();
    QDialog::changeEvent(event);
}

void KeyerSettingsDialog::done(int result) {
    stopKeyingTest();
    QDialog::done(result);
}
