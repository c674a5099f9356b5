#include "keyer/keyinginterface.h"

namespace {
constexpr int kRetries = 3;
}

KeyingInterface::KeyingInterface(ParallelPortIo* parallel, SerialLines* serial, Sidetone* sidetone)
    : m_parallel(parallel), m_serial(serial), m_sidetone(sidetone) {}

void KeyingInterface::configure(const KeyerConfig& config) {
    std::lock_guard lock(m_mutex);
    m_lines.port = config.port;
    m_lines.control = config.lptBase() + 2;
    m_lines.keyingOnRts = config.keyingOnRts;
    m_lines.ptt = config.ptt;
    m_lines.pttDelayMs = config.pttDelayMs;
    m_lines.sidetone = config.sidetone;
    m_lines.toneHz = config.toneHz;
    m_lines.volume = config.volume;
    m_lines.rigChosen = config.kind == KeyerKind::Rig;
    m_lines.rigCw = m_lines.rig && m_lines.rigChosen;
}

void KeyingInterface::setRigKeying(RigKeying* rig, bool ptt) {
    std::lock_guard lock(m_mutex);
    m_lines.rig = rig;
    m_lines.rigCw = rig && m_lines.rigChosen;
    m_lines.rigPtt = rig && ptt;
}

void KeyingInterface::setTextKeyer(TextKeyer* keyer) {
    std::lock_guard lock(m_mutex);
    m_lines.textKeyer = keyer;
}

TextKeyer* KeyingInterface::textKeyer() const {
    return lines().textKeyer;
}

bool KeyingInterface::cwThroughRig() const {
    return lines().rigCw;
}

void KeyingInterface::setSidetone(bool on) {
    std::lock_guard lock(m_mutex);
    m_lines.sidetone = on;
}

bool KeyingInterface::sidetoneOn() const {
    return lines().sidetone;
}

bool KeyingInterface::pttOption() const {
    const Lines l = lines();
    return l.ptt || l.rigPtt;
}

int KeyingInterface::pttDelayMs() const {
    return lines().pttDelayMs;
}

KeyingPort KeyingInterface::port() const {
    return lines().port;
}

KeyingInterface::Lines KeyingInterface::lines() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
}

bool KeyingInterface::writeLpt(int control, quint8 value) {
    if (!m_parallel)
        return false;
    const bool ok = m_parallel->out(control, value);
    if (ok)
        m_lastControl = value;
    return ok;
}

quint8 KeyingInterface::readControl(int control) {
    // Only the low four bits are used; a failed read falls back to the last value written.
    const std::optional<quint8> value = m_parallel ? m_parallel->in(control) : std::nullopt;
    return quint8(value.value_or(m_lastControl) & 15);
}

bool KeyingInterface::setKeyLine(const Lines& l, bool on) {
    switch (l.port) {
    case KeyingPort::None:
        return true;
    case KeyingPort::Com:
        if (!m_serial)
            return true;
        return l.keyingOnRts ? m_serial->setRts(on) : m_serial->setDtr(on);
    case KeyingPort::Lpt:
        if (l.ptt)
            return on ? writeLpt(l.control, quint8(readControl(l.control) & 7)) : writeLpt(l.control, 13);
        return writeLpt(l.control, on ? 1 : 9);
    }
    return true;
}

bool KeyingInterface::forceRest(const Lines& l) {
    bool ok = true;
    for (int attempt = 0; attempt < kRetries; ++attempt) {
        ok = true;
        if (l.port == KeyingPort::Lpt)
            ok = writeLpt(l.control, 8);
        else if (l.port == KeyingPort::Com && m_serial) {
            const bool dtr = m_serial->setDtr(false);
            const bool rts = m_serial->setRts(false);
            ok = dtr && rts;
        }
        if (ok)
            break;
    }
    if (pttLedChanged)
        pttLedChanged(false);
    return ok;
}

// The line changes first and the lamp follows: telling the window wakes its thread, which must not stand between
// the deadline and the edge.
bool KeyingInterface::keyDown() {
    const Lines l = lines();
    // The radio's keyer keys the text it was given and sounds its own sidetone.
    if (l.rigCw) {
        if (keyLedChanged)
            keyLedChanged(true);
        return true;
    }
    if (!setKeyLine(l, true)) {
        // The line may be in any state now: bring everything to rest.
        forceRest(l);
        if (keyLedChanged)
            keyLedChanged(false);
        return false;
    }
    if (l.sidetone && m_sidetone) {
        m_sidetone->toneOn(l.toneHz, l.volume);
        m_toneSounding = true;
    }
    if (keyLedChanged)
        keyLedChanged(true);
    return true;
}

bool KeyingInterface::keyUp() {
    const Lines l = lines();
    if (l.rigCw) {
        if (keyLedChanged)
            keyLedChanged(false);
        return true;
    }
    if (m_toneSounding && m_sidetone)
        m_sidetone->toneOff();
    m_toneSounding = false;
    bool ok = false;
    for (int attempt = 0; attempt < kRetries && !ok; ++attempt)
        ok = setKeyLine(l, false);
    if (!ok)
        forceRest(l); // at rest if the port allows it, but the transmission must end: report the failure
    if (keyLedChanged)
        keyLedChanged(false);
    return ok;
}

bool KeyingInterface::pttOn() {
    const Lines l = lines();
    if (!l.ptt && !l.rigPtt)
        return true;
    if (pttLedChanged)
        pttLedChanged(true);
    if (l.textKeyer) {
        l.textKeyer->setPtt(true);
        return true;
    }
    if (l.rigPtt) {
        l.rig->setPtt(true);
        return true;
    }
    bool ok = true;
    if (l.port == KeyingPort::Com && m_serial)
        ok = l.keyingOnRts ? m_serial->setDtr(true) : m_serial->setRts(true);
    else if (l.port == KeyingPort::Lpt)
        ok = writeLpt(l.control, quint8(readControl(l.control) | 5));
    if (!ok)
        forceRest(l);
    return ok;
}

bool KeyingInterface::pttOff() {
    const Lines l = lines();
    if (l.textKeyer) {
        l.textKeyer->setPtt(false);
        if (pttLedChanged)
            pttLedChanged(false);
        return true;
    }
    if (l.rigPtt)
        l.rig->setPtt(false);
    bool ok = true;
    if (l.port == KeyingPort::Com && m_serial) {
        const bool dtr = m_serial->setDtr(false);
        const bool rts = m_serial->setRts(false);
        ok = dtr && rts;
    } else if (l.port == KeyingPort::Lpt) {
        ok = writeLpt(l.control, 8);
    }
    if (!ok)
        ok = forceRest(l);
    if (pttLedChanged)
        pttLedChanged(false);
    return ok;
}

void KeyingInterface::stoppedState() {
    const Lines l = lines();
    if (l.port == KeyingPort::Lpt) {
        if (!writeLpt(l.control, 8))
            forceRest(l);
        if (pttLedChanged)
            pttLedChanged(false);
    }
}

void KeyingInterface::characterStarted(QChar c, int wpm) {
    const Lines l = lines();
    if (l.rigCw)
        l.rig->sendMorse(QString(c), wpm);
}

void KeyingInterface::sendingStopped() {
    const Lines l = lines();
    if (l.rigCw)
        l.rig->stopMorse();
}

bool KeyingInterface::lptChosen() {
    const Lines l = lines();
    return writeLpt(l.control, 8);
}
