#include "entry/rigcontrol.h"

#include "rig/rigpoller.h"

#include <algorithm>

RigControl::RigControl(RigFactory factory, QObject* parent) : QObject(parent), m_factory(std::move(factory)) {}

RigControl::~RigControl() {
    m_keying.setPoller(nullptr);
    m_poller.reset();
    m_retiring.clear();
}

void RigControl::apply(const RigSettings& settings) {
    m_settings = settings;
    m_follower.setBothWays(settings.bothWays);
    m_follower.reset();
    m_keying.setPoller(nullptr);
    if (m_poller)
        retire(std::move(m_poller));
    setFrequency(0);
    m_error.clear();
    m_state = settings.enabled() ? State::NotConnected : State::Off;
    if (settings.enabled()) {
        if (const auto problem = settings.problem()) {
            m_error = *problem;
        } else {
            m_poller = std::make_unique<RigPoller>(m_factory(settings), settings.pollMs);
            connect(m_poller.get(), &RigPoller::readingArrived, this, &RigControl::onReading);
            connect(m_poller.get(), &RigPoller::connectionChanged, this, &RigControl::onConnection);
            m_keying.setPoller(m_poller.get());
            m_poller->start();
        }
    }
    emit stateChanged();
}

void RigControl::retire(std::unique_ptr<RigPoller> poller) {
    poller->disconnect(this);
    poller->stop();
    RigPoller* retiring = poller.get();
    connect(retiring, &RigPoller::finished, this, [this, retiring] {
        const auto it = std::find_if(m_retiring.begin(), m_retiring.end(),
                                     [retiring](const auto& p) { return p.get() == retiring; });
        if (it == m_retiring.end())
            return;
        // Not deleted inside its own signal; a child, so it goes with this at the latest.
        RigPoller* done = it->release();
        m_retiring.erase(it);
        done->setParent(this);
        done->deleteLater();
    });
    m_retiring.push_back(std::move(poller));
}

void RigControl::onReading(const RigReading& reading, quint64 tuned) {
    setFrequency(reading.frequencyHz);
    // The reading is not taken while the window must not change: the next one, with the same news, is.
    if (m_following || !m_program || (m_busy && m_busy()))
        return;
    const RigFollower::Follow follow = m_follower.reading(reading, tuned, m_program());
    m_following = true;
    if (!follow.band.isEmpty())
        emit followBand(follow.band);
    if (!follow.mode.isEmpty())
        emit followMode(follow.mode);
    m_following = false;
}

void RigControl::onConnection(bool connected, const QString& error) {
    if (!connected) {
        m_follower.reset();
        setFrequency(0);
    }
    m_state = connected ? State::Connected : State::NotConnected;
    m_error = error;
    emit stateChanged();
}

void RigControl::bandChosen(const QString& band, const QString& mode) {
    if (m_state == State::Connected)
        tune(m_follower.bandChosen(band, mode));
}

void RigControl::modeChosen(const QString& mode, const QString& band) {
    if (m_state == State::Connected)
        tune(m_follower.modeChosen(mode, band));
}

void RigControl::tune(const RigFollower::Tune& tune) {
    if (tune.empty() || !m_poller)
        return;
    m_follower.tuneSent(m_poller->tune(tune.frequencyHz, tune.mode));
}

void RigControl::setFrequency(qint64 hz) {
    if (hz == m_frequency)
        return;
    m_frequency = hz;
    emit frequencyChanged(hz);
}

QString RigControl::statusText() const {
    switch (m_state) {
    case State::Off:
        return {};
    case State::Connected:
        return m_error.isEmpty() ? QStringLiteral("Radio: połączone")
                                 : QStringLiteral("Radio: połączone (%1)").arg(m_error);
    case State::NotConnected:
        return m_error.isEmpty() ? QStringLiteral("Radio: brak połączenia")
                                 : QStringLiteral("Radio: brak połączenia (%1)").arg(m_error);
    }
    return {};
}
