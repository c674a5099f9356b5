#pragma once

#include "entry/rigpollerkeying.h"
#include "rig/rigfollower.h"
#include "rig/rigsettings.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class Rig;
class RigPoller;

// The radio beside the entry window: it runs the poller the settings ask for, turns the readings into the band
// and mode the entry window is to select (as the operator's own change), tunes the radio after the operator's
// changes in both-ways mode, and gives the keyer its CAT keying and PTT.
class RigControl : public QObject {
    Q_OBJECT
public:
    using RigFactory = std::function<std::unique_ptr<Rig>(const RigSettings&)>;
    enum class State { Off, Connected, NotConnected };

    explicit RigControl(RigFactory factory, QObject* parent = nullptr);
    // Waits for the radio's calls in progress to end.
    ~RigControl() override;

    // New settings: the running poller is let go (it ends once its call to the radio returns, without the
    // caller waiting), and a new one starts when a radio is set.
    void apply(const RigSettings& settings);
    const RigSettings& settings() const { return m_settings; }
    RigKeying& keying() { return m_keying; }

    // What the entry window has now: its band, mode and lists. Asked at each reading.
    void setProgram(std::function<RigFollower::Program()> program) { m_program = std::move(program); }
    // True while the entry window must not change under the operator (a dialog is open): readings wait.
    void setBusy(std::function<bool()> busy) { m_busy = std::move(busy); }

    // The entry window's band or mode changed (by the operator, or by following the radio).
    void bandChosen(const QString& band, const QString& mode);
    void modeChosen(const QString& mode, const QString& band);

    State state() const { return m_state; }
    // "Radio: połączone", "Radio: brak połączenia (…)"; empty without a radio.
    QString statusText() const;
    // The last frequency read, 0 when not connected.
    qint64 frequency() const { return m_frequency; }

signals:
    // The entry window selects these as the operator's own change would.
    void followBand(const QString& band);
    void followMode(const QString& mode);
    void frequencyChanged(qint64 hz);
    void stateChanged();

private:
    void onReading(const RigReading& reading, quint64 tuned);
    void onConnection(bool connected, const QString& error);
    void tune(const RigFollower::Tune& tune);
    void retire(std::unique_ptr<RigPoller> poller);
    void setFrequency(qint64 hz);

    RigFactory m_factory;
    RigSettings m_settings;
    RigFollower m_follower;
    RigPollerKeying m_keying;
    std::unique_ptr<RigPoller> m_poller;
    std::vector<std::unique_ptr<RigPoller>> m_retiring;
    std::function<RigFollower::Program()> m_program;
    std::function<bool()> m_busy;
    bool m_following = false;
    State m_state = State::Off;
    QString m_error;
    qint64 m_frequency = 0;
};
