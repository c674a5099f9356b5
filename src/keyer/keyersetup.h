#pragma once

#include "keyer/keyerconfig.h"
#include "keyer/keyerstartup.h"
#include "keyer/ports/lptaddress.h"
#include "platform/processpriority.h"

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

class KeyerTime;
class TextKeyer;
struct TextKeyerOpenResult;
class MorseEngine;
class SerialLines;
class UserDialogs;

// The live keyer settings behind the configuration window: every change takes effect at once on the engine, the
// lines and the port, without a restart. "Klucz CW" is written when the main window closes, the calibration
// factor as soon as a calibration ends.
class ProgramSettings;

class KeyerSetup : public QObject {
    Q_OBJECT
public:
    using PriorityHook = std::function<bool(ProcessPriority)>;
    // Makes the Winkeyer or cwdaemon keyer (unopened) for the kind chosen.
    using TextKeyerFactory = std::function<std::unique_ptr<TextKeyer>(const KeyerConfig&)>;
    KeyerSetup(MorseEngine& engine,
               SerialLines* serial,
               KeyerTime& time,
               UserDialogs& dialogs,
               ProgramSettings& settings,
               PriorityHook setPriority = setProcessPriority);
    ~KeyerSetup() override;

    MorseEngine& engine() { return m_engine; }
    // The engine's settings with its current speed and sidetone.
    KeyerConfig config() const;
    // A setting without side effects of its own (ratios, tone, PTT, mappings …).
    void update(const std::function<void(KeyerConfig&)>& edit);

    // The serial ports that can be opened now and the one the keyer holds open, sorted.
    QStringList serialPorts() const;
    // "brak": nothing is keyed; the port status says so.
    void chooseNoPort();
    // "COM" with the list's entry: the port is opened unless it already is (an empty list opens nothing).
    void chooseSerialPort(const QString& name);
    // Another entry of the list: close, 50 ms, open.
    void changeSerialPort(const QString& name);
    // "LPT1", "LPT2", "LPT3" or "USER" (which asks for the address; an empty answer falls back to LPT1). The
    // control register is set to 8.
    LptSelection chooseParallelPort(const QString& choice);

    void setTextKeyerFactory(TextKeyerFactory make) { m_makeTextKeyer = std::move(make); }
    // "Klucz CW": a Winkeyer or cwdaemon in use is closed, and the one chosen is opened (its version or the failure
    // in the port status). Choosing the same kind again opens it again.
    void chooseKeyer(KeyerKind kind);
    // The Winkeyer's serial port, cwdaemon's host:port: the keyer is opened again there when it is the one chosen.
    void chooseWinkeyerPort(const QString& name);
    void setCwdaemonAddress(const QString& address);
    void setWinkeyerSpeedPot(bool on);
    // Opens the Winkeyer or cwdaemon of the settings (start-up) on a thread of its own; the port status and, on a
    // failure, a message tell how it went. Nothing for the other kinds.
    void openTextKeyer();
    // An opening has not answered yet.
    bool textKeyerOpening() const;
    // Closes a Winkeyer or cwdaemon in use (key and PTT released); the engine keys by our own timing again.
    void closeTextKeyer();
    TextKeyer* textKeyer() const { return m_textKeyer.get(); }
    // What the port status shows now (the Winkeyer's version, a failure …).
    PortStatus portStatus() const { return m_status; }
    void setPortStatus(const PortStatus& status) { showStatus(status); }
    // Why the calibration button is off for a keyer that times the Morse itself; empty when it is on.
    static QString calibrationOffReason(const KeyerConfig& config);

    void setSpeed(int wpm);
    // Mirrored by the main window's "Podsłuch" box.
    void setSidetone(bool on);
    // Index of "1", "01", "001"; the entry window re-pads its serial field.
    void setSerialFormat(int index);
    // Sets the process priority; a refused raise is told to the operator when tellRefusal is set.
    void setPriority(const QString& name, bool tellRefusal = true);

    // The PARIS calibration on the caller's thread: hideWindow runs before the run, showWindow after it.
    void calibrate(const std::function<void()>& hideWindow, const std::function<void()>& showWindow);

    static QString priorityRefusedMessage(const QString& name);

signals:
    void portStatusChanged(const QString& text, const QString& colour);
    void serialFormatChanged(int index);
    void sidetoneChanged(bool on);

private:
    void showStatus(const PortStatus& status);
    void keyerFailed(const QString& text);
    void textKeyerOpened(int opening, const TextKeyerOpenResult& opened);

    MorseEngine& m_engine;
    SerialLines* m_serial;
    KeyerTime& m_time;
    UserDialogs& m_dialogs;
    ProgramSettings& m_settings;
    PriorityHook m_setPriority;
    TextKeyerFactory m_makeTextKeyer;
    std::unique_ptr<TextKeyer> m_textKeyer;
    bool m_failureTold = false;
    std::thread m_opener;
    int m_opening = 0;  // counts openings and closings
    int m_openedAt = 0; // the opening whose answer has come
    PortStatus m_status;
};
