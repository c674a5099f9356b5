#include "keyer/keyersetup.h"

#include "keyer/calibration.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"
#include "keyer/textkeyer.h"
#include "platform/userdialogs.h"
#include "settings/programsettings.h"

KeyerSetup::KeyerSetup(MorseEngine& engine,
                       SerialLines* serial,
                       KeyerTime& time,
                       UserDialogs& dialogs,
                       ProgramSettings& settings,
                       PriorityHook setPriority)
    : m_engine(engine), m_serial(serial), m_time(time), m_dialogs(dialogs), m_settings(settings),
      m_setPriority(std::move(setPriority)) {
    connect(&m_engine, &MorseEngine::keyerFailed, this, &KeyerSetup::keyerFailed);
}

KeyerSetup::~KeyerSetup() {
    closeTextKeyer();
}

void KeyerSetup::chooseKeyer(KeyerKind kind) {
    closeTextKeyer();
    update([kind](KeyerConfig& c) { c.kind = kind; });
    if (KeyerConfig::timedByKeyer(kind)) {
        // The keying port may be the very port the Winkeyer sits on; a keyer that times itself uses no lines.
        if (m_serial && m_serial->isOpen())
            m_serial->close();
        openTextKeyer();
        return;
    }
    const KeyerConfig c = m_engine.config();
    if (c.port == KeyingPort::Com && m_serial && !m_serial->isOpen() && !c.comPort.isEmpty())
        m_serial->open(c.comPort);
    if (kind == KeyerKind::Lines && c.port == KeyingPort::None)
        showStatus(KeyerStartup::noPortsStatus());
    else if (kind == KeyerKind::Lines && c.port == KeyingPort::Com && m_serial && !m_serial->isOpen())
        showStatus(KeyerStartup::comInactiveStatus());
    else
        showStatus({});
}

void KeyerSetup::chooseWinkeyerPort(const QString& name) {
    update([&name](KeyerConfig& c) { c.winkeyerPort = name; });
    if (m_engine.config().kind == KeyerKind::Winkeyer)
        chooseKeyer(KeyerKind::Winkeyer);
}

void KeyerSetup::setCwdaemonAddress(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed == m_engine.config().cwdaemonAddress)
        return;
    update([&trimmed](KeyerConfig& c) { c.cwdaemonAddress = trimmed; });
    if (m_engine.config().kind == KeyerKind::Cwdaemon)
        chooseKeyer(KeyerKind::Cwdaemon);
}

void KeyerSetup::setWinkeyerSpeedPot(bool on) {
    update([on](KeyerConfig& c) { c.winkeyerSpeedPot = on; });
}

void KeyerSetup::openTextKeyer() {
    const KeyerConfig c = m_engine.config();
    if (!c.timedByKeyer())
        return;
    closeTextKeyer();
    std::unique_ptr<TextKeyer> keyer = m_makeTextKeyer ? m_makeTextKeyer(c) : nullptr;
    const QString name = KeyerConfig::kindNames().at(int(c.kind));
    if (!keyer) {
        showStatus({name + QStringLiteral(": niedostępny"), QStringLiteral("red")});
        return;
    }
    m_failureTold = false;
    // Attached before it is open: a transmission started meanwhile ends at once instead of keying the port's lines
    // behind the operator's back.
    m_textKeyer = std::move(keyer);
    m_engine.setTextKeyer(m_textKeyer.get());
    showStatus({name + QStringLiteral(" …"), QStringLiteral("navy")});
    // A device that does not answer takes up to a second to say so; the window does not wait for it.
    const int opening = ++m_opening;
    m_opener = std::thread([this, keyer = m_textKeyer.get(), settings = c.textKeyerSettings(), opening] {
        const TextKeyerOpenResult opened = keyer->open(settings);
        QMetaObject::invokeMethod(
            this, [this, opened, opening] { textKeyerOpened(opening, opened); }, Qt::QueuedConnection);
    });
}

bool KeyerSetup::textKeyerOpening() const {
    return m_opener.joinable() && m_openedAt != m_opening;
}

void KeyerSetup::textKeyerOpened(int opening, const TextKeyerOpenResult& opened) {
    // An answer for a keyer closed meanwhile is dropped.
    if (opening != m_opening || !m_textKeyer)
        return;
    m_openedAt = opening;
    if (m_opener.joinable())
        m_opener.join();
    if (!opened.ok) {
        showStatus({opened.text, QStringLiteral("red")});
        // The keyer may have told the same failure already, through the engine.
        if (!m_failureTold)
            m_dialogs.error(opened.text);
        m_failureTold = true;
        return;
    }
    showStatus({opened.text, QStringLiteral("navy")});
}

void KeyerSetup::closeTextKeyer() {
    if (m_opener.joinable())
        m_opener.join();
    ++m_opening;
    if (!m_textKeyer)
        return;
    m_engine.setTextKeyer(nullptr);
    m_textKeyer->close();
    m_textKeyer.reset();
}

void KeyerSetup::keyerFailed(const QString& text) {
    showStatus({text, QStringLiteral("red")});
    // Told once for each opening: a daemon that keeps not answering does not fill the screen with boxes.
    if (!m_failureTold) {
        m_failureTold = true;
        m_dialogs.error(text);
    }
}

QString KeyerSetup::calibrationOffReason(const KeyerConfig& config) {
    return KeyerConfig::limits(config.kind).calibration;
}

KeyerConfig KeyerSetup::config() const {
    return m_engine.config();
}

void KeyerSetup::update(const std::function<void(KeyerConfig&)>& edit) {
    KeyerConfig c = m_engine.config();
    edit(c);
    m_engine.updateConfig(c);
}

QStringList KeyerSetup::serialPorts() const {
    if (!m_serial)
        return {};
    QStringList ports = m_serial->enumerate();
    // The port the keyer holds open cannot be opened a second time, so the system does not offer it.
    const KeyerConfig c = m_engine.config();
    if (m_serial->isOpen() && !c.comPort.isEmpty() && !ports.contains(c.comPort)) {
        ports << c.comPort;
        ports.sort();
    }
    return ports;
}

void KeyerSetup::showStatus(const PortStatus& status) {
    m_status = status;
    emit portStatusChanged(status.text, status.colour);
}

void KeyerSetup::chooseNoPort() {
    update([](KeyerConfig& c) { c.port = KeyingPort::None; });
    showStatus(KeyerStartup::noPortsStatus());
}

void KeyerSetup::chooseSerialPort(const QString& name) {
    update([&name](KeyerConfig& c) {
        c.port = KeyingPort::Com;
        c.comPort = name;
    });
    showStatus({});
    if (name.isEmpty() || !m_serial || m_serial->isOpen())
        return;
    if (const SerialOpenResult opened = m_serial->open(name); !opened.ok) {
        // The port stays closed; the status says so rather than leaving the operator to find out in a QSO.
        m_dialogs.error(KeyerStartup::serialMissingMessage(name));
        showStatus(KeyerStartup::comInactiveStatus());
    }
}

void KeyerSetup::changeSerialPort(const QString& name) {
    update([&name](KeyerConfig& c) { c.comPort = name; });
    if (!m_serial || name.isEmpty())
        return;
    showStatus(KeyerStartup::reopenSerial(name, *m_serial, m_dialogs, m_time));
}

LptSelection KeyerSetup::chooseParallelPort(const QString& choice) {
    const KeyerConfig current = m_engine.config();
    const LptSelection selection = choice == QLatin1String("USER")
                                       ? LptAddress::askUser(m_dialogs, current.lptUserAddress)
                                       : LptAddress::fixed(choice);
    update([&selection](KeyerConfig& c) {
        c.port = KeyingPort::Lpt;
        c.lptChoice = selection.choice;
        if (selection.choice == QLatin1String("USER"))
            c.lptUserAddress = selection.userAddress;
    });
    showStatus({});
    m_engine.keying().lptChosen();
    return selection;
}

void KeyerSetup::setSpeed(int wpm) {
    // Like the speed keys: the new speed also survives the end of the next transmission.
    m_engine.changeSpeedBy(wpm - m_engine.speed());
}

void KeyerSetup::setSidetone(bool on) {
    m_engine.setSidetone(on);
    emit sidetoneChanged(on);
}

void KeyerSetup::setSerialFormat(int index) {
    update([index](KeyerConfig& c) { c.serialFormat = index; });
    emit serialFormatChanged(index);
}

QString KeyerSetup::priorityRefusedMessage(const QString& name) {
    return QStringLiteral("System nie pozwolił ustawić priorytetu „%1”.\nProgram działa z dotychczasowym "
                          "priorytetem.\n\nPodwyższenie priorytetu wymaga uprawnień (np. limitu „nice” w "
                          "/etc/security/limits.conf).")
        .arg(name);
}

void KeyerSetup::setPriority(const QString& name, bool tellRefusal) {
    const qsizetype index = KeyerConfig::priorityNames().indexOf(name);
    update([&name, index](KeyerConfig& c) { c.priority = index >= 0 ? name : QString(); });
    constexpr ProcessPriority kByIndex[] = {ProcessPriority::Realtime, ProcessPriority::High, ProcessPriority::Normal,
                                            ProcessPriority::Idle};
    const ProcessPriority priority = index >= 0 ? kByIndex[index] : ProcessPriority::Normal;
    if (m_setPriority && !m_setPriority(priority) && tellRefusal)
        m_dialogs.message(QStringLiteral("Ostrzeżenie"), priorityRefusedMessage(name), MessageIcon::Warning,
                          unsigned(DialogButton::Ok), DialogButton::Ok);
}

void KeyerSetup::calibrate(const std::function<void()>& hideWindow, const std::function<void()>& showWindow) {
    if (const QString reason = calibrationOffReason(m_engine.config()); !reason.isEmpty()) {
        m_dialogs.information(reason);
        return;
    }
    const int speed = m_engine.speed();
    const KeyerConfig before = m_engine.config();
    update([](KeyerConfig& c) { c.calibrationFactor = 1.0; });
    m_engine.setCalibrationRunning(true);
    // The sidetone would change the element times.
    m_engine.setSidetone(false);
    m_dialogs.information(Calibration::introMessage());
    if (hideWindow)
        hideWindow();
    m_engine.setSpeed(Calibration::kSpeed);
    m_engine.SendText(Calibration::parisText());
    if (showWindow)
        showWindow();
    m_engine.setCalibrationRunning(false);

    const qint64 elapsedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_engine.lastEnd() - m_engine.lastStart()).count();
    const bool measured = !m_engine.keyingFailed() && elapsedMs > 0;
    const double seconds = Calibration::seconds(elapsedMs);
    const double factor = measured ? Calibration::factor(seconds) : before.calibrationFactor;
    update([factor](KeyerConfig& c) { c.calibrationFactor = factor; });
    m_engine.changeSpeedBy(speed - m_engine.speed());
    if (measured) {
        if (m_settings.file().exists())
            m_settings.setValue(SettingsKeys::Keyer::calibrationFactor, factor);
    }
    m_engine.setSidetone(before.sidetone);
    if (measured)
        m_dialogs.information(Calibration::resultMessage(seconds));
    else
        m_dialogs.error(Calibration::failedMessage());
}
