#pragma once

#include "keyer/ports/portseams.h"

#include <QThread>

#include <atomic>

// The sidetone as a sine on the default audio output. A stream runs on its own thread and plays silence
// between elements; toneOn/toneOff only flip atomics, so they cost nothing on the sender thread and the
// element's length never depends on the audio device. Without a device it stays silent.
class AudioSidetone final : public Sidetone {
public:
    AudioSidetone();
    ~AudioSidetone() override;

    void toneOn(int frequencyHz, int volumePercent) override;
    void toneOff() override;
    bool hasDevice() const { return m_hasDevice; }
    // The first tone asked for without a sound device calls unavailable().
    static QString unavailableMessage();
    // The stream runs on its thread from construction (when there is a device) until destruction.
    bool isStreaming() const { return m_thread.isRunning(); }

    struct Shared {
        std::atomic<bool> on{false};
        std::atomic<int> frequency{800};
        std::atomic<int> volume{20};
    };

private:
    Shared m_shared;
    QThread m_thread;
    bool m_hasDevice = false;
    std::atomic<bool> m_told{false};
};
