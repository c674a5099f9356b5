#include "recordingport.h"

bool RecordingPort::failThisWrite() {
    if (m_failAll || m_failNext > 0) {
        if (m_failNext > 0)
            --m_failNext;
        ++m_failed;
        return true;
    }
    return false;
}

void RecordingPort::record(Kind kind, int value) {
    m_events.append({m_time.now(), kind, value});
}

bool RecordingPort::out(int address, quint8 value) {
    std::lock_guard lock(m_mutex);
    if (failThisWrite())
        return false;
    m_address = address;
    m_register = value;
    record(Kind::Lpt, value);
    return true;
}

std::optional<quint8> RecordingPort::in(int address) {
    Q_UNUSED(address);
    std::lock_guard lock(m_mutex);
    return quint8(m_register);
}

SerialOpenResult RecordingPort::open(const QString& name) {
    std::lock_guard lock(m_mutex);
    if (!m_openName.isEmpty())
        return {true, {}};
    if (!m_available.contains(name) && !m_unlisted.contains(name))
        return {false, QStringLiteral("No such file or directory")};
    m_openName = name;
    m_rts = m_dtr = false;
    record(Kind::Open, 1);
    return {true, {}};
}

void RecordingPort::close() {
    std::lock_guard lock(m_mutex);
    if (m_openName.isEmpty())
        return;
    m_openName.clear();
    record(Kind::Close, 0);
}

bool RecordingPort::isOpen() const {
    std::lock_guard lock(m_mutex);
    return !m_openName.isEmpty();
}

bool RecordingPort::setRts(bool on) {
    std::lock_guard lock(m_mutex);
    if (m_openName.isEmpty())
        return true;
    if (failThisWrite())
        return false;
    m_rts = on;
    record(Kind::Rts, on);
    return true;
}

bool RecordingPort::setDtr(bool on) {
    std::lock_guard lock(m_mutex);
    if (m_openName.isEmpty())
        return true;
    if (failThisWrite())
        return false;
    m_dtr = on;
    record(Kind::Dtr, on);
    return true;
}

QStringList RecordingPort::enumerate() {
    std::lock_guard lock(m_mutex);
    QStringList ports = m_available;
    // As on a real system: a port held open cannot be opened again, so it is not offered.
    ports.removeAll(m_openName);
    ports.sort();
    return ports;
}

void RecordingPort::toneOn(int frequencyHz, int volumePercent) {
    std::lock_guard lock(m_mutex);
    m_tone = true;
    m_volume = volumePercent;
    record(Kind::ToneOn, frequencyHz);
}

void RecordingPort::toneOff() {
    std::lock_guard lock(m_mutex);
    m_tone = false;
    record(Kind::ToneOff, 0);
}

void RecordingPort::failNextWrites(int count) {
    std::lock_guard lock(m_mutex);
    m_failNext = count;
}

void RecordingPort::failAllWrites(bool fail) {
    std::lock_guard lock(m_mutex);
    m_failAll = fail;
}

QList<RecordingPort::Event> RecordingPort::events() const {
    std::lock_guard lock(m_mutex);
    return m_events;
}

QList<int> RecordingPort::lptWrites() const {
    std::lock_guard lock(m_mutex);
    QList<int> writes;
    for (const Event& e : m_events)
        if (e.kind == Kind::Lpt)
            writes.append(e.value);
    return writes;
}

int RecordingPort::lptRegister() const {
    std::lock_guard lock(m_mutex);
    return m_register;
}

int RecordingPort::lptAddress() const {
    std::lock_guard lock(m_mutex);
    return m_address;
}

bool RecordingPort::rts() const {
    std::lock_guard lock(m_mutex);
    return m_rts;
}

bool RecordingPort::dtr() const {
    std::lock_guard lock(m_mutex);
    return m_dtr;
}

bool RecordingPort::toneSounding() const {
    std::lock_guard lock(m_mutex);
    return m_tone;
}

int RecordingPort::toneVolume() const {
    std::lock_guard lock(m_mutex);
    return m_volume;
}

int RecordingPort::failedWrites() const {
    std::lock_guard lock(m_mutex);
    return m_failed;
}

void RecordingPort::clear() {
    std::lock_guard lock(m_mutex);
    m_events.clear();
}
