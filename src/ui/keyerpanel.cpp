#include "keyerpanel.h"

#include "audiosidetone.h"
#include "keyer/keyerentry.h"
#include "keyer/keyerkeys.h"
#include "keyer/keyersetup.h"
#include "keyer/keyerstartup.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"
#include "keyer/ports/ppdevparallelport.h"
#include "keyer/textkeyers.h"
#include "keyer/voicekeyer.h"
#include "log/logsession.h"
#include "mediavoiceplayer.h"
#include "mediavoicerecorder.h"
#include "serialportlines.h"
#include "serialportstream.h"
#include "settings/programsettings.h"
#include "udpdatagrams.h"
#include "ui_keyerpanel.h"

#include <QMouseEvent>
#include <QPainter>

KeyerPanel::KeyerPanel(LogSession& session, KeyerEntry& entry, QWidget* parent, KeyerDevices devices)
    : QWidget(parent), m_ui(std::make_unique<Ui::KeyerPanel>()), m_session(session), m_entry(entry) {
    m_ui->setupUi(this);
    if (!devices.time) {
        m_ownTime = std::make_unique<PreciseKeyerTime>();
        devices.time = m_ownTime.get();
    }
    if (!devices.parallel) {
        m_ownParallel = std::make_unique<PpdevParallelPort>();
        devices.parallel = m_ownParallel.get();
    }
    if (!devices.serial) {
        m_ownSerial = std::make_unique<SerialPortLines>();
        devices.serial = m_ownSerial.get();
    }
    if (!devices.sidetone) {
        m_ownSidetone = std::make_unique<AudioSidetone>();
        devices.sidetone = m_ownSidetone.get();
    }
    // A silent sidetone is told in the status bar, not in a message box: a box would appear in the middle of a
    // transmission and take the keys the operator types next (in the manual CW window, characters not sent).
    m_sidetone = devices.sidetone;
    m_sidetone->unavailable = [this] {
        QMetaObject::invokeMethod(
            this, [this] { emit statusMessage(AudioSidetone::unavailableMessage()); }, Qt::QueuedConnection);
    };
    if (!devices.voice) {
        m_ownVoice = std::make_unique<MediaVoicePlayer>();
        devices.voice = m_ownVoice.get();
    }
    if (!devices.recorder) {
        m_ownRecorder = std::make_unique<MediaVoiceRecorder>();
        devices.recorder = m_ownRecorder.get();
    }
    m_recorder = devices.recorder;
    m_serial = devices.serial;
    m_time = devices.time;
    m_keying = std::make_unique<KeyingInterface>(devices.parallel, devices.serial, devices.sidetone);
    m_engine = std::make_unique<MorseEngine>(*devices.time, *m_keying, m_entry);
    m_keys = std::make_unique<KeyerKeys>(*m_engine, m_entry);
    m_keys->openManualCw = [this] { emit manualCwRequested(); };
    m_voice = std::make_unique<VoiceKeyer>(*m_engine, *devices.voice, m_session.dialogs());
    connect(m_voice.get(), &VoiceKeyer::statusMessage, this, &KeyerPanel::statusMessage);
    connect(m_voice.get(), &VoiceKeyer::playingChanged, this, [this](bool playing) {
        const QSignalBlocker block(m_ui->txButton);
        m_ui->txButton->setChecked(playing);
        m_ui->txButton->setEnabled(playing);
    });

    // The display follows the engine through queued signals: the sender thread never touches a widget.
    MorseEngine* engine = m_engine.get();
    connect(
        engine, &MorseEngine::outgoingChanged, this,
        [this](const QString& text) {
            if (m_ui->outgoingTextEdit->text() != text)
                m_ui->outgoingTextEdit->setText(text);
        },
        Qt::QueuedConnection);
    connect(engine, &MorseEngine::sentChanged, m_ui->sentTextEdit, &QLineEdit::setText, Qt::QueuedConnection);
    connect(engine, &MorseEngine::currentCharChanged, m_ui->currentCharEdit, &QLineEdit::setText, Qt::QueuedConnection);
    connect(
        engine, &MorseEngine::txChanged, this,
        [this](bool down, bool enabled) {
            const QSignalBlocker block(m_ui->txButton);
            m_ui->txButton->setChecked(down);
            m_ui->txButton->setEnabled(enabled);
        },
        Qt::QueuedConnection);
    connect(
        engine, &MorseEngine::speedChanged, this, [this](int wpm) { m_ui->speedLabel->setText(QString::number(wpm)); },
        Qt::QueuedConnection);
    connect(engine, &MorseEngine::loopLabelChanged, m_ui->loopLabel, &QWidget::setVisible, Qt::QueuedConnection);
    connect(
        engine, &MorseEngine::keyLedChanged, this, [this](bool lit) { setLed(m_ui->keyLed, lit, "red"); },
        Qt::QueuedConnection);
    connect(
        engine, &MorseEngine::pttLedChanged, this, [this](bool lit) { setLed(m_ui->pttLed, lit, "lime"); },
        Qt::QueuedConnection);
    connect(
        engine, &MorseEngine::bufferEmpty, this,
        [this](int number) {
            emit statusMessage(QStringLiteral("Bufor %1 jest pusty: kliknij jego przycisk prawym przyciskiem myszy, "
                                              "aby wpisać tekst.")
                                   .arg(MessageBuffers::defaultName(number)));
        },
        Qt::QueuedConnection);

    connect(m_ui->txButton, &QToolButton::clicked, this, &KeyerPanel::onTxButtonClicked);
    connect(m_ui->outgoingTextEdit, &QLineEdit::textEdited, this, &KeyerPanel::onOutgoingTextEdited);
    connect(m_ui->sidetoneCheck, &QCheckBox::clicked, this, &KeyerPanel::onSidetoneToggled);
    m_bufferButtons = {m_ui->buffer1Button, m_ui->buffer2Button,  m_ui->buffer3Button,  m_ui->buffer4Button,
                       m_ui->buffer5Button, m_ui->buffer6Button,  m_ui->buffer7Button,  m_ui->buffer8Button,
                       m_ui->buffer9Button, m_ui->buffer10Button, m_ui->buffer11Button, m_ui->buffer12Button};
    static_assert(MessageBuffers::kCount == 12, "one button per message buffer");
    for (int n = 1; n <= MessageBuffers::kCount; ++n) {
        QAbstractButton* button = m_bufferButtons[n - 1];
        button->installEventFilter(this);
        connect(button, &QAbstractButton::clicked, this, [this, n] { sendBuffer(n); });
    }
    m_ui->speedLabel->installEventFilter(this);
    m_ui->outgoingTextEdit->installEventFilter(this);
    m_ui->keyLed->installEventFilter(this);
    m_ui->pttLed->installEventFilter(this);
    setLed(m_ui->keyLed, false, "red");
    setLed(m_ui->pttLed, false, "lime");

    m_setup = std::make_unique<KeyerSetup>(*m_engine, m_serial, *m_time, m_session.dialogs(), m_session.settings(),
                                           devices.setPriority ? devices.setPriority : setProcessPriority);
    // The serial port's and the socket's threads start only when a Winkeyer or cwdaemon is chosen.
    m_setup->setTextKeyerFactory(
        [this, winkeyer = devices.winkeyer, cwdaemon = devices.cwdaemon](const KeyerConfig& c) {
            SerialStream* stream = winkeyer;
            Datagrams* datagrams = cwdaemon;
            if (!stream && c.kind == KeyerKind::Winkeyer) {
                if (!m_ownWinkeyer)
                    m_ownWinkeyer = std::make_unique<SerialPortStream>();
                stream = m_ownWinkeyer.get();
            }
            if (!datagrams && c.kind == KeyerKind::Cwdaemon) {
                if (!m_ownCwdaemon)
                    m_ownCwdaemon = std::make_unique<UdpDatagrams>();
                datagrams = m_ownCwdaemon.get();
            }
            return makeTextKeyer(c, stream, datagrams);
        });
    connect(m_setup.get(), &KeyerSetup::portStatusChanged, this, &KeyerPanel::showPortStatus);
    connect(engine, &MorseEngine::pausedByPaddle, this,
            [this] { emit statusMessage(QStringLiteral("Nadawanie przerwane manipulatorem.")); });
    connect(m_setup.get(), &KeyerSetup::sidetoneChanged, m_ui->sidetoneCheck, &QCheckBox::setChecked);

    // The keyer settings and the buffers are read once, at creation. A settings file without buffers gets the
    // contest set written into it, so what the keys send is also what the file says.
    IniFile& ini = m_session.settings().file();
    KeyerConfig config = KeyerConfig::read(ini);
    if (m_engine->buffers().read(ini) == MessageBuffers::Source::ContestSet && ini.exists())
        m_engine->buffers().writeAll(ini);
    const PortStatus status = KeyerStartup::openPort(config, *m_keying, m_serial, m_session.dialogs());
    m_engine->setConfig(config);
    m_setup->setPriority(config.priority, false);
    m_ui->sidetoneCheck->setChecked(config.sidetone);
    m_ui->speedLabel->setText(QString::number(m_engine->speed()));
    m_setup->setPortStatus(status);
    m_setup->openTextKeyer();
    refreshBufferButtons();
}

KeyerPanel::~KeyerPanel() {
    shutdown();
    // A sidetone handed in from outside may outlive the panel.
    m_sidetone->unavailable = nullptr;
}

KeyerHooks& KeyerPanel::hooks() {
    return *m_keys;
}

TextFile::Status KeyerPanel::writeSettings() {
    IniFile& ini = m_session.settings().file();
    {
        IniFile::Batch batch(ini);
        m_engine->config().write(ini);
        if (!MessageBuffers::savedIn(ini))
            m_engine->buffers().writeAll(ini);
    }
    return ini.batchStatus();
}

bool KeyerPanel::saveBuffer(int number, const MessageBuffer& buffer) {
    m_engine->buffers().set(number, buffer);
    refreshBufferButtons();
    IniFile& ini = m_session.settings().file();
    if (const TextFile::Status written = m_engine->buffers().write(ini, number); !written) {
        m_session.dialogs().error(written.error);
        return false;
    }
    return true;
}

void KeyerPanel::shutdown() {
    if (!m_engine)
        return;
    if (m_voice)
        m_voice->stop();
    m_engine->StopSending();
    m_engine->waitForSender();
    m_setup->closeTextKeyer();
    m_keying->pttOff();
    if (m_serial)
        m_serial->close();
}

void KeyerPanel::reopenSerialPort() {
    const KeyerConfig config = m_engine->config();
    if (config.port != KeyingPort::Com || !m_serial || m_engine->sending() || m_engine->keyingTestRunning())
        return;
    const PortStatus status = KeyerStartup::reopenSerial(config.comPort, *m_serial, m_session.dialogs(), *m_time);
    m_setup->setPortStatus(status);
}

void KeyerPanel::refreshBufferButtons() {
    for (int n = 1; n <= MessageBuffers::kCount; ++n) {
        const MessageBuffer& buffer = m_engine->buffers().at(n);
        m_bufferButtons.at(n - 1)->setText(buffer.name);
        m_bufferButtons.at(n - 1)->setToolTip(buffer.text);
    }
}

bool KeyerPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_ui->keyLed || watched == m_ui->pttLed) && event->type() == QEvent::Paint) {
        paintLed(static_cast<QWidget*>(watched));
        return true;
    }
    if (watched == m_ui->speedLabel && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_engine->changeSpeedBy(mouse->button() == Qt::RightButton ? 1 : -1);
        return true;
    }
    if (watched == m_ui->outgoingTextEdit && event->type() == QEvent::MouseButtonPress) {
        emit manualCwRequested();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const qsizetype index = m_bufferButtons.indexOf(qobject_cast<QAbstractButton*>(watched));
        if (index >= 0) {
            emit editBufferRequested(int(index) + 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void KeyerPanel::onTxButtonClicked(bool checked) {
    if (checked)
        return;
    if (m_voice->playing())
        m_voice->stop();
    else
        m_engine->StopSending();
}

void KeyerPanel::onOutgoingTextEdited(const QString& text) {
    m_engine->setOutgoingText(text);
}

void KeyerPanel::onSidetoneToggled(bool checked) {
    m_engine->setSidetone(checked);
}

void KeyerPanel::sendBuffer(int number) {
    m_entry.focusCallsign();
    m_engine->StartBuffer(number);
}

void KeyerPanel::showPortStatus(const QString& text, const QString& colour) {
    m_ui->portStatusLabel->setText(text);
    m_ui->portStatusLabel->setStyleSheet(
        QStringLiteral("color: %1;").arg(colour.isEmpty() ? QStringLiteral("black") : colour));
    m_ui->portStatusLabel->setVisible(!text.isEmpty());
}

void KeyerPanel::setLed(QWidget* led, bool lit, const char* colour) {
    // Painted by the event filter: a style sheet set at every element cost the window thread and the X server
    // milliseconds that the sender thread then waited for the CPU.
    led->setProperty("ledColour", lit ? QColor(QString::fromLatin1(colour)) : QColor(0x40, 0x40, 0x40));
    led->update();
}

void KeyerPanel::paintLed(QWidget* led) {
    QPainter painter(led);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::gray, 1));
    painter.setBrush(led->property("ledColour").value<QColor>());
    const int side = std::min(led->width(), led->height()) - 1;
    painter.drawEllipse(QRectF((led->width() - side) / 2.0, (led->height() - side) / 2.0, side, side));
}
