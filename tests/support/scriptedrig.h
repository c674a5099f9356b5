#pragma once

#include "rig/rig.h"

#include <QStringList>

#include <condition_variable>
#include <mutex>

// The radio for tests of the poller and of what follows it: the test sets what the radio answers and reads
// back the commands it got. The poller's thread calls it, the test's thread scripts it, so every member is
// reached under the lock. hang() makes the next call block until release(), as a radio that stopped answering.
class ScriptedRig final : public Rig {
public:
    struct State {
        qint64 frequencyHz = 14'025'000;
        QString mode = QStringLiteral("CW");
        bool refusesOpen = false;
        bool lost = false; // reads fail as a dropped connection does
        QStringList commands;
        int opens = 0;
    };

    // Changes the radio's state under the lock.
    template <typename F> void script(F&& change) {
        std::lock_guard lock(m_mutex);
        change(m_state);
    }
    State state() const {
        std::lock_guard lock(m_mutex);
        return m_state;
    }
    void hang() {
        std::lock_guard lock(m_mutex);
        m_hanging = true;
    }
    void release() {
        {
            std::lock_guard lock(m_mutex);
            m_hanging = false;
        }
        m_released.notify_all();
    }

    RigReply open() override {
        std::unique_lock lock = waitWhileHanging();
        ++m_state.opens;
        return m_state.refusesOpen ? RigReply{QStringLiteral("Connection refused")} : RigReply{};
    }
    void close() override { record(QStringLiteral("close")); }
    RigReading read() override {
        std::unique_lock lock = waitWhileHanging();
        if (m_state.lost)
            return {0, QString(), QStringLiteral("IO error")};
        return {m_state.frequencyHz, m_state.mode, QString()};
    }
    RigReply setFrequency(qint64 hz) override {
        std::unique_lock lock = waitWhileHanging();
        m_state.commands << QStringLiteral("F %1").arg(hz);
        m_state.frequencyHz = hz;
        return {};
    }
    RigReply setMode(const QString& mode) override {
        std::unique_lock lock = waitWhileHanging();
        m_state.commands << QStringLiteral("M ") + mode;
        m_state.mode = mode;
        return {};
    }
    RigReply setPtt(bool on) override {
        record(QStringLiteral("T %1").arg(on ? 1 : 0));
        return {};
    }
    RigReply sendMorse(const QString& text, int wpm) override {
        record(QStringLiteral("b %1 %2").arg(text).arg(wpm));
        return {};
    }
    RigReply stopMorse() override {
        record(QStringLiteral("stop_morse"));
        return {};
    }

private:
    std::unique_lock<std::mutex> waitWhileHanging() {
        std::unique_lock lock(m_mutex);
        m_released.wait(lock, [this] { return !m_hanging; });
        return lock;
    }
    void record(const QString& command) {
        std::unique_lock lock = waitWhileHanging();
        m_state.commands << command;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    State m_state;
    bool m_hanging = false;
};
