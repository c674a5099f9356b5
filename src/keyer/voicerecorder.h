#pragma once

#include <QString>

#include <functional>

// Records the operator's voice into a WAV file for a buffer. record() returns at once; stop() ends the
// recording, and finished says whether the file was written (or why not), on the window thread.
class VoiceRecorder {
public:
    virtual ~VoiceRecorder() = default;
    // Whether the system has a microphone to record from now.
    virtual bool hasInput() const = 0;
    virtual void record(const QString& path) = 0;
    virtual void stop() = 0;

    // Told when there is nothing to record from.
    static QString noInputMessage() { return QStringLiteral("Nie ma mikrofonu: nie można nagrać komunikatu."); }

    std::function<void(bool written, const QString& error)> finished;
};
