#include "winkeyerkeyer.h"

#include "keyer/keyerstartup.h"

#include <vector>

namespace {

// What a batch of incoming bytes leads to, told after the lock is released and in the order it happened.
struct Outcome {
    enum Kind { Sent, BreakIn, SpeedPot };
    Kind kind;
    QString characters;
    int wpm = 0;
};

// A byte takes 11 bits at 1200 baud; a status older than the last text on the wire says nothing about it.
constexpr std::chrono::milliseconds kByteTime{10};
constexpr std::chrono::milliseconds kWireSlack{100};

} // namespace

WinkeyerKeyer::WinkeyerKeyer(SerialStream* stream, QString portName)
    : m_stream(stream), m_portName(std::move(portName)) {
    m_stream->bytesReceived = [this](const QByteArray& bytes) { onBytes(bytes); };
    m_stream->lost = [this](const QString& error) { onLost(error); };
}

WinkeyerKeyer::~WinkeyerKeyer() {
    close();
    m_stream->close();
    m_stream->bytesReceived = nullptr;
    m_stream->lost = nullptr;
}

TextKeyerCapabilities WinkeyerKeyer::capabilities() const {
    TextKeyerCapabilities c;
    c.echo = true;
    c.paddle = true;
    c.speedPot = true;
    c.ptt = true;
    c.tune = true;
    c.sidetone = true;
    return c;
}

QString WinkeyerKeyer::noAnswerMessage(const QString& port) {
    return QStringLiteral("Winkeyer nie odpowiada na porcie %1").arg(port);
}

QString WinkeyerKeyer::lostMessage(const QString& error) {
    return QStringLiteral("Winkeyer odłączony (%1)").arg(error);
}

TextKeyerOpenResult WinkeyerKeyer::open(const TextKeyerSettings& settings) {
    close();
    if (!m_stream->isOpen()) {
        const SerialOpenResult opened = m_stream->open(m_portName, Winkeyer::kBaud);
        if (!opened.ok)
            return {false, KeyerStartup::serialMissingMessage(m_portName)};
    }
    {
        std::lock_guard lock(m_mutex);
        m_decoder = Winkeyer::Decoder();
        m_decoder.expectVersion();
        m_version = 0;
        m_status = 0;
        m_flow.clear();
    }
    m_stream->write(Winkeyer::hostOpenSequence());
    std::unique_lock lock(m_mutex);
    if (!m_versionArrived.wait_for(lock, kAnswerTimeout, [this] { return m_version != 0; })) {
        lock.unlock();
        m_stream->close();
        return {false, noAnswerMessage(m_portName)};
    }
    m_open = true;
    m_tune = false;
    m_settings = settings;
    writeLocked(Winkeyer::configure(Winkeyer::registersFor(settings)));
    if (settings.followSpeedPot)
        writeLocked(Winkeyer::requestSpeedPot());
    return {true, QStringLiteral("Winkeyer (wersja %1)").arg(m_version)};
}

void WinkeyerKeyer::close() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_open)
            return;
        writeLocked(Winkeyer::clearBuffer());
        if (m_tune)
            writeLocked(Winkeyer::keyImmediate(false));
        writeLocked(Winkeyer::ptt(false));
        writeLocked(Winkeyer::hostClose());
        m_open = false;
        m_tune = false;
        m_flow.clear();
    }
    // Not under the lock: closing waits for the stream's thread, which may be waiting for the lock.
    m_stream->close();
    clearPending(true);
}

bool WinkeyerKeyer::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_open;
}

int WinkeyerKeyer::version() const {
    std::lock_guard lock(m_mutex);
    return m_version;
}

quint8 WinkeyerKeyer::status() const {
    std::lock_guard lock(m_mutex);
    return m_status;
}

void WinkeyerKeyer::configure(const TextKeyerSettings& settings) {
    std::lock_guard lock(m_mutex);
    m_settings = settings;
    writeLocked(Winkeyer::configure(Winkeyer::registersFor(settings)));
    if (settings.followSpeedPot)
        writeLocked(Winkeyer::requestSpeedPot());
}

void WinkeyerKeyer::setSpeed(int wpm) {
    std::lock_guard lock(m_mutex);
    m_settings.wpm = wpm;
    writeLocked(Winkeyer::setSpeed(wpm));
}

void WinkeyerKeyer::send(const QString& text) {
    if (text.isEmpty())
        return;
    addPending(int(text.size()));
    QString gone;
    bool open = false;
    {
        std::lock_guard lock(m_mutex);
        open = m_open;
        if (open) {
            m_flow.append(text);
            gone = pumpLocked();
        }
    }
    if (!open) {
        // Nothing can key it: the sender must not wait for echoes that never come.
        clearPending(true);
        return;
    }
    report(gone);
}

void WinkeyerKeyer::abort() {
    {
        std::lock_guard lock(m_mutex);
        m_flow.clear();
        writeLocked(Winkeyer::clearBuffer());
        if (m_tune) {
            m_tune = false;
            writeLocked(Winkeyer::keyImmediate(false));
        }
    }
    clearPending(false);
}

void WinkeyerKeyer::setPtt(bool on) {
    std::lock_guard lock(m_mutex);
    writeLocked(Winkeyer::ptt(on));
}

void WinkeyerKeyer::setTune(bool on) {
    std::lock_guard lock(m_mutex);
    m_tune = on;
    writeLocked(Winkeyer::keyImmediate(on));
}

bool WinkeyerKeyer::writeLocked(const QByteArray& bytes) {
    if (!m_open)
        return false;
    return m_stream->write(bytes);
}

QString WinkeyerKeyer::pumpLocked() {
    if (m_status & Winkeyer::BreakIn)
        return {};
    const Winkeyer::TextFlow::Step step = m_flow.pump(m_status & Winkeyer::Xoff);
    if (!step.bytes.isEmpty()) {
        m_lastTextWrite = std::chrono::steady_clock::now();
        m_lastTextBytes = int(step.bytes.size());
        writeLocked(step.bytes);
    }
    return step.sent;
}

void WinkeyerKeyer::report(const QString& characters) {
    for (QChar c : characters)
        reportSent(c);
}

void WinkeyerKeyer::onBytes(const QByteArray& bytes) {
    std::vector<Outcome> outcomes;
    const auto gone = [&outcomes](const QString& characters) {
        if (!characters.isEmpty())
            outcomes.push_back({Outcome::Sent, characters});
    };
    {
        std::lock_guard lock(m_mutex);
        for (const Winkeyer::Event& event : m_decoder.feed(bytes)) {
            switch (event.kind) {
            case Winkeyer::Event::Version:
                m_version = event.value;
                m_versionArrived.notify_all();
                break;
            case Winkeyer::Event::Status: {
                const quint8 before = m_status;
                m_status = event.value;
                if (!m_open)
                    break;
                if ((m_status & Winkeyer::BreakIn) && !(before & Winkeyer::BreakIn)) {
                    // The chip has dropped its buffer for the paddle; ours goes too.
                    m_flow.clear();
                    outcomes.push_back({Outcome::BreakIn, {}});
                    break;
                }
                const bool idle = !(m_status & (Winkeyer::Busy | Winkeyer::BreakIn));
                const auto quiet = std::chrono::steady_clock::now() - m_lastTextWrite;
                if (idle && m_flow.inChip() > 0 && quiet > kByteTime * m_lastTextBytes + kWireSlack)
                    gone(m_flow.drain());
                gone(pumpLocked());
                break;
            }
            case Winkeyer::Event::SpeedPot:
                if (m_open && m_settings.followSpeedPot) {
                    const int wpm = Winkeyer::speedPotWpm(event.value);
                    m_settings.wpm = wpm;
                    writeLocked(Winkeyer::setSpeed(wpm));
                    outcomes.push_back({Outcome::SpeedPot, {}, wpm});
                }
                break;
            case Winkeyer::Event::Echo:
                if (!m_open)
                    break;
                gone(m_flow.echo(char(event.value)));
                gone(pumpLocked());
                break;
            }
        }
    }
    for (const Outcome& outcome : outcomes) {
        switch (outcome.kind) {
        case Outcome::Sent:
            report(outcome.characters);
            break;
        case Outcome::BreakIn:
            // Told before the waiting sender is woken, so it stops instead of handing over the next character.
            if (breakIn)
                breakIn();
            clearPending(false);
            break;
        case Outcome::SpeedPot:
            if (speedPotChanged)
                speedPotChanged(outcome.wpm);
            break;
        }
    }
}

void WinkeyerKeyer::onLost(const QString& error) {
    bool wasOpen = false;
    {
        std::lock_guard lock(m_mutex);
        wasOpen = m_open;
        m_open = false;
        m_tune = false;
        m_flow.clear();
    }
    clearPending(true);
    if (wasOpen && failed)
        failed(lostMessage(error));
}
