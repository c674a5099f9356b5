#include "entrywindowrig.h"

#include "core/bands.h"
#include "core/modes.h"
#include "entrywindow.h"
#include "hamlibrig.h"
#include "keyer/keyinginterface.h"
#include "log/logsession.h"
#include "rig/rigmapping.h"
#include "rigsettingsdialog.h"
#include "settings/programsettings.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSerialPortInfo>
#include <QStatusBar>

namespace {

std::unique_ptr<Rig> hamlibRig(const RigSettings& settings) {
    return std::make_unique<HamlibRig>(settings);
}

} // namespace

EntryWindowRig::EntryWindowRig(EntryWindow& window, LogSession& session, RigControl::RigFactory factory)
    : QObject(&window), m_window(window), m_session(session),
      m_control(factory ? std::move(factory) : RigControl::RigFactory(hamlibRig)) {
    m_settingsAction = window.menuItems().rigSettings;
    m_settingsAction->setEnabled(true);
    connect(m_settingsAction, &QAction::triggered, this, &EntryWindowRig::openSettings);

    // The frequency at the right of the band's caption, above the band it belongs to.
    m_frequencyLabel = new QLabel(&window);
    m_frequencyLabel->setObjectName(QStringLiteral("rigFrequencyLabel"));
    m_frequencyLabel->hide();
    if (auto* grid = qobject_cast<QGridLayout*>(window.centralWidget()->layout()))
        grid->addWidget(m_frequencyLabel, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    m_statusLabel = new QLabel(&window);
    m_statusLabel->setObjectName(QStringLiteral("rigStatusLabel"));
    m_statusLabel->hide();
    window.statusBar()->addPermanentWidget(m_statusLabel);

    m_control.setProgram([this] {
        const EntryOptions& options = m_window.entry().options();
        return RigFollower::Program{m_session.band(), m_session.mode(), Bands::selectorList(options.warcBands),
                                    Modes::selectorList(options.digitalModes)};
    });
    m_control.setBusy([] { return QApplication::activeModalWidget() != nullptr; });
    connect(&m_control, &RigControl::followBand, &window, &EntryWindow::followRigBand);
    connect(&m_control, &RigControl::followMode, &window, &EntryWindow::followRigMode);
    connect(&window, &EntryWindow::bandChanged, this,
            [this](const QString& band) { m_control.bandChosen(band, m_session.mode()); });
    connect(&window, &EntryWindow::modeChanged, this,
            [this](const QString& mode) { m_control.modeChosen(mode, m_session.band()); });
    connect(&m_control, &RigControl::stateChanged, this, &EntryWindowRig::showStatus);
    connect(&m_control, &RigControl::frequencyChanged, this, &EntryWindowRig::showFrequency);
}

// The keyer, which goes first when the program ends, is not touched: it may be gone already.
EntryWindowRig::~EntryWindowRig() = default;

void EntryWindowRig::setKeying(KeyingInterface* keying) {
    m_keying = keying;
    if (m_keying) {
        const RigSettings& s = m_control.settings();
        m_keying->setRigKeying(s.enabled() ? &m_control.keying() : nullptr, s.pttThroughRig);
    }
}

void EntryWindowRig::start() {
    apply(RigSettings::read(m_session.settings().file()));
}

void EntryWindowRig::apply(const RigSettings& settings) {
    m_control.apply(settings);
    setKeying(m_keying);
}

void EntryWindowRig::openSettings() {
    QStringList ports;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        ports << port.systemLocation();
    RigSettingsDialog dialog(m_control.settings(), HamlibRig::models(), ports, m_session.dialogs(), &m_window);
    if (dialog.exec() == QDialog::Accepted) {
        const RigSettings chosen = dialog.settings();
        IniFile& settings = m_session.settings().file();
        chosen.write(settings);
        apply(chosen);
    }
    m_window.activateWindow();
    m_window.callsignField()->setFocus();
}

void EntryWindowRig::showStatus() {
    const QString text = m_control.statusText();
    m_statusLabel->setText(text);
    m_statusLabel->setStyleSheet(m_control.state() == RigControl::State::Connected ? QStringLiteral("color: navy;")
                                                                                   : QStringLiteral("color: red;"));
    m_statusLabel->setVisible(!text.isEmpty());
}

void EntryWindowRig::showFrequency(qint64 hz) {
    m_frequencyLabel->setText(hz > 0 ? RigMapping::kilohertz(hz) + QStringLiteral(" kHz") : QString());
    m_frequencyLabel->setVisible(hz > 0);
}
