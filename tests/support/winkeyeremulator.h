#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

// A Winkeyer chip on a pseudo-terminal, for tests that drive the keyer through the real serial port code. It
// answers host open with its version, records every command with the time it arrived, holds the text in a
// buffer of a set capacity, raises XOFF above a threshold and clears it when the buffer has drained, and keys
// (echoes) characters only when the test says so, or one every few milliseconds in auto mode.
class WinkeyerEmulator {
public:
    struct Command {
        QByteArray bytes; // the command byte and its parameters, or one text character
        std::chrono::steady_clock::time_point at;
        bool isText() const { return bytes.size() == 1 && quint8(bytes.at(0)) >= 0x20; }
    };

    explicit WinkeyerEmulator(int capacity = 128, int xoffThreshold = 85, int version = 31);
    ~WinkeyerEmulator();

    // False (with the reason) when no pseudo-terminal could be made.
    bool start(QString* error = nullptr);
    // The port name the keyer opens.
    QString portName() const { return m_slaveName; }

    // Keys the next n characters of the buffer (fewer if it holds fewer): each is echoed as it is done.
    void keyNext(int n = 1);
    // Keys one character every intervalMs from now on; 0 stops.
    void setAutoKey(int intervalMs);
    // The operator touches the paddle: the buffer is dropped and break-in is reported, then released.
    void touchPaddle();
    void turnSpeedPot(int value);
    void setSilent(bool silent) { m_silent = silent; }
    // XOFF held up regardless of the buffer (false: back to following the buffer).
    void forceXoff(bool on);
    // The device goes away: the pseudo-terminal's master side is closed.
    void unplug();

    QList<Command> commands() const;
    QByteArray textReceived() const; // every text byte in arrival order
    QByteArray echoed() const;       // every character keyed so far
    int held() const;                // text waiting in the buffer
    int maxHeld() const;
    int overruns() const;
    bool hostOpen() const;
    int xoffRaised() const;
    quint8 mode() const;
    // Index of the first command equal to bytes at or after from, -1 when none.
    int indexOf(const QByteArray& bytes, int from = 0) const;

private:
    void run();
    void parse(quint8 byte);
    void command(const QByteArray& bytes);
    void keyLocked(int n);
    void sendStatusLocked();
    void writeLocked(const QByteArray& bytes);

    const int m_capacity;
    const int m_xoffThreshold;
    const int m_version;
    int m_master = -1;
    int m_wake[2] = {-1, -1};
    QString m_slaveName;
    std::thread m_reader;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_silent{false};
    std::atomic<int> m_autoKeyMs{0};

    mutable std::mutex m_mutex;
    QByteArray m_pending; // a command still waiting for its parameters
    QList<Command> m_commands;
    QByteArray m_text;
    QByteArray m_buffer;
    QByteArray m_echoed;
    int m_maxHeld = 0;
    int m_overruns = 0;
    int m_xoffRaised = 0;
    bool m_xoff = false;
    bool m_forcedXoff = false;
    bool m_breakIn = false;
    bool m_hostOpen = false;
    quint8 m_mode = 0;
    int m_lastStatus = -1;
};
