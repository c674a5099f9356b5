#pragma once

#include "core/textfile.h"
#include "keyer/keyerconfig.h"
#include "keyer/messagebuffers.h"
#include "platform/processpriority.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class KeyerPanel;
}

class KeyerEntry;
class KeyerHooks;
class KeyerKeys;
class KeyerSetup;
class VoiceKeyer;
class VoicePlayer;
class VoiceRecorder;
class KeyerTime;
class KeyingInterface;
class LogSession;
class MorseEngine;
class ParallelPortIo;
class QAbstractButton;
class SerialLines;
class SerialStream;
class Datagrams;
class Sidetone;

// Where the keyer reaches hardware; anything left null gets the real back-end.
struct KeyerDevices {
    KeyerTime* time = nullptr;
    ParallelPortIo* parallel = nullptr;
    SerialLines* serial = nullptr;
    Sidetone* sidetone = nullptr;
    VoicePlayer* voice = nullptr;
    VoiceRecorder* recorder = nullptr;
    // The process priority ("Priorytet"); empty for the real one.
    std::function<bool(ProcessPriority)> setPriority;
    SerialStream* winkeyer = nullptr; // the Winkeyer's serial port
    Datagrams* cwdaemon = nullptr;    // the socket to cwdaemon
};

// The keyer area of the main window: the outgoing-text, sent-text and current-character fields,
// the "TX" button, the speed display, the loop label, the sidetone box, the two LEDs, the port status and the
// twelve buffer buttons. It owns the engine and its ports; the engine reaches it only through queued signals.
class KeyerPanel : public QWidget {
    Q_OBJECT
public:
    KeyerPanel(LogSession& session, KeyerEntry& entry, QWidget* parent = nullptr, KeyerDevices devices = {});
    ~KeyerPanel() override;

    MorseEngine& engine() { return *m_engine; }
    // The live settings the configuration window changes.
    KeyerSetup& setup() { return *m_setup; }
    // Buffers in the phone modes.
    VoiceKeyer& voice() { return *m_voice; }
    // The buffer editor's "Nagraj".
    VoiceRecorder& recorder() { return *m_recorder; }
    // For the main window's key handling, clock tick and callsign changes.
    KeyerHooks& hooks();
    // "Klucz CW" from the current settings (the main window's close).
    TextFile::Status writeSettings();
    // Closing the main window: stop any sending, release the lines, close the serial port.
    void shutdown();
    // The main window's 5 s timer after activation: reopen a selected serial port.
    void reopenSerialPort();
    // Captions and hints of the buffer buttons from the buffer table (after the editor changed it).
    void refreshBufferButtons();
    // The buffer editor's OK: the buffer, its button and its four keys of "Bufory" at once. False (and told)
    // when the settings file could not be written.
    bool saveBuffer(int number, const MessageBuffer& buffer);
    void showPortStatus(const QString& text, const QString& colour);

signals:
    // The right button was released over a buffer button: the buffer editor opens for it.
    void editBufferRequested(int number);
    // A line for the main window's status bar.
    void statusMessage(const QString& text);
    // Alt+K, Ctrl+Enter, a backquote in an entry field or a click in the outgoing text: the manual CW window.
    void manualCwRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onTxButtonClicked(bool checked);
    void onOutgoingTextEdited(const QString& text);
    void onSidetoneToggled(bool checked);

private:
    void sendBuffer(int number);
    static void setLed(QWidget* led, bool lit, const char* colour);
    static void paintLed(QWidget* led);

    std::unique_ptr<Ui::KeyerPanel> m_ui;
    LogSession& m_session;
    KeyerEntry& m_entry;
    std::unique_ptr<KeyerTime> m_ownTime;
    std::unique_ptr<ParallelPortIo> m_ownParallel;
    std::unique_ptr<SerialLines> m_ownSerial;
    std::unique_ptr<SerialStream> m_ownWinkeyer;
    std::unique_ptr<Datagrams> m_ownCwdaemon;
    std::unique_ptr<Sidetone> m_ownSidetone;
    std::unique_ptr<VoicePlayer> m_ownVoice;
    std::unique_ptr<VoiceRecorder> m_ownRecorder;
    VoiceRecorder* m_recorder = nullptr;
    SerialLines* m_serial = nullptr;
    Sidetone* m_sidetone = nullptr;
    KeyerTime* m_time = nullptr;
    std::unique_ptr<KeyingInterface> m_keying;
    std::unique_ptr<MorseEngine> m_engine;
    std::unique_ptr<KeyerKeys> m_keys;
    std::unique_ptr<KeyerSetup> m_setup;
    std::unique_ptr<VoiceKeyer> m_voice;
    QList<QAbstractButton*> m_bufferButtons;
};
