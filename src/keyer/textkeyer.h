#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

// What a keyer that times the Morse itself is told by the keyer settings.
struct TextKeyerSettings {
    int wpm = 30;
    int dashRatio = 30; // tenths of a dot, as the configuration window keeps it
    int gapRatio = 10;  // tenths of a dot between elements
    bool ptt = false;   // the keyer raises PTT around its sending
    int pttLeadMs = 100;
    bool sidetone = true;
    int toneHz = 800;
    bool followSpeedPot = false; // the Winkeyer's speed knob sets the speed

    bool operator==(const TextKeyerSettings&) const = default;
};

// What a keyer can do; the windows grey what it cannot.
struct TextKeyerCapabilities {
    bool echo = false;     // reports each character as it goes out
    bool paddle = false;   // reports the operator touching the paddle
    bool speedPot = false; // has a speed knob
    bool ptt = true;
    bool tune = true;
    bool sidetone = true;
};

struct TextKeyerOpenResult {
    bool ok = false;
    QString text; // shown in the port status: the device and its version, or why it did not open
};

// A keyer that times the Morse itself: a Winkeyer chip or cwdaemon. The engine hands it the characters of a
// transmission a few at a time, so the outgoing text stays editable and a stop is immediate, and learns from it
// what has really gone out. Every call may come from any thread; the events come on the keyer's own thread.
class TextKeyer {
public:
    virtual ~TextKeyer() = default;

    virtual QString name() const = 0; // "Winkeyer", "cwdaemon"
    virtual TextKeyerCapabilities capabilities() const = 0;
    // Opens the device (the Winkeyer's host mode) and applies the settings. Blocks for at most about a second.
    virtual TextKeyerOpenResult open(const TextKeyerSettings& settings) = 0;
    // Leaves host mode and closes; the key and PTT are released first.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void configure(const TextKeyerSettings& settings) = 0;
    // Takes effect at once, also for characters already handed over.
    virtual void setSpeed(int wpm) = 0;
    // Characters to key, upper case; a blank is a word space. Characters the keyer cannot key are left out and
    // reported sent at once, so the display and pending() stay in step.
    virtual void send(const QString& text) = 0;
    // Drops everything not yet sent; the key goes up at once.
    virtual void abort() = 0;
    virtual void setPtt(bool on) = 0;
    // A steady carrier until turned off.
    virtual void setTune(bool on) = 0;

    // Characters handed over and not yet reported sent.
    int pending() const {
        std::lock_guard lock(m_pendingMutex);
        return m_pending;
    }
    // Blocks until pending() <= limit, the keyer failed or closed, or stop() says so. Returns false unless the
    // limit was reached. stop() is looked at every few milliseconds.
    bool waitForPending(int limit, const std::function<bool()>& stop) {
        std::unique_lock lock(m_pendingMutex);
        for (;;) {
            if (m_pending <= limit)
                return true;
            if (m_broken || (stop && stop()))
                return false;
            m_pendingChanged.wait_for(lock, std::chrono::milliseconds(5));
        }
    }

    // A character has gone out (for a keyer without echo: when it is reckoned to have gone out).
    std::function<void(QChar)> sent;
    // The operator touched the paddle: the keyer has dropped what it had, the program's sending stops.
    std::function<void()> breakIn;
    // The speed knob moved (only when followSpeedPot is set).
    std::function<void(int wpm)> speedPotChanged;
    // The device stopped answering or went away; the text is for the operator.
    std::function<void(const QString&)> failed;

protected:
    // For the implementations: bookkeeping of pending characters.
    void addPending(int count) {
        std::lock_guard lock(m_pendingMutex);
        m_pending += count;
        m_broken = false;
    }
    // One character went out: pending drops by one and `sent` is told.
    void reportSent(QChar c) {
        // Told before the count drops: whoever waits for the count sees the display already informed.
        if (sent)
            sent(c);
        {
            std::lock_guard lock(m_pendingMutex);
            if (m_pending > 0)
                --m_pending;
        }
        m_pendingChanged.notify_all();
    }
    // Everything pending is gone (abort, break-in, failure, close); broken wakes the waiting sender for good
    // until the next send().
    void clearPending(bool broken) {
        {
            std::lock_guard lock(m_pendingMutex);
            m_pending = 0;
            m_broken = broken;
        }
        m_pendingChanged.notify_all();
    }

private:
    mutable std::mutex m_pendingMutex;
    std::condition_variable m_pendingChanged;
    int m_pending = 0;
    bool m_broken = false;
};
