#pragma once

#include <QString>

#include <functional>

// How a voice message ended.
enum class VoiceResult { Success, Superseded, Aborted, Failure };

// The voice keyer's player of WAV files. play() returns at once; the end of the message, a stop or a file that
// cannot be played comes back through finished, on the window thread.
class VoicePlayer {
public:
    virtual ~VoicePlayer() = default;
    virtual void play(const QString& path) = 0;
    // Stops a playing message (finished reports Aborted); harmless when nothing plays.
    virtual void stop() = 0;

    // The result, and for a failure the player's own text for the operator.
    std::function<void(VoiceResult result, const QString& error)> finished;
};
