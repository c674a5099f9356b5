#pragma once

#include "keyer/keyertime.h"
#include "keyer/ports/portseams.h"

#include <QList>

#include <mutex>

// A parallel port, a serial port and a sidetone that only record what the keyer does, each change stamped
// with the keyer's time. Writes can be made to fail, to check that a failing port never leaves the key down.
class RecordingPort final : public ParallelPortIo, public SerialLines, public Sidetone {
public:
    enum class Kind { Lpt, Rts, Dtr, ToneOn, ToneOff, Open, Close };
    struct Event {
        KeyerTime::Nanoseconds at;
        Kind kind;
        int value; // register byte, line state, frequency
        qint64 ms() const { return std::chrono::duration_cast<std::chrono::milliseconds>(at).count(); }
    };

    explicit RecordingPort(const KeyerTime& time) : m_time(time) {}

    bool out(int address, quint8 value) override;
    std::optional<quint8> in(int address) override;
    SerialOpenResult open(const QString& name) override;
    void close() override;
    bool isOpen() const override;
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    QStringList enumerate() override;
    void toneOn(int frequencyHz, int volumePercent) override;
    void toneOff() override;

    // The next count writes (register or line) fail and change nothing.
    void failNextWrites(int count);
    // Every write fails from now on.
    void failAllWrites(bool fail);
    void setAvailablePorts(const QStringList& ports) { m_available = ports; }
    // Ports that open but are not enumerated, as a device path or a pseudo-terminal on a real system.
    void setUnlistedPorts(const QStringList& ports) { m_unlisted = ports; }

    QList<Event> events() const;
    QList<int> lptWrites() const;
    int lptRegister() const;
    int lptAddress() const;
    bool rts() const;
    bool dtr() const;
    bool toneSounding() const;
    int toneVolume() const;
    int failedWrites() const;
    void clear();

private:
    bool failThisWrite();
    void record(Kind kind, int value);

    const KeyerTime& m_time;
    mutable std::mutex m_mutex;
    QList<Event> m_events;
    QStringList m_available{QStringLiteral("COM1")};
    QStringList m_unlisted;
    QString m_openName;
    int m_register = 8;
    int m_address = -1;
    bool m_rts = false;
    bool m_dtr = false;
    bool m_tone = false;
    int m_volume = 0;
    int m_failNext = 0;
    bool m_failAll = false;
    int m_failed = 0;
};
