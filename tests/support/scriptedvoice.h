#pragma once

#include "keyer/voiceplayer.h"
#include "keyer/voicerecorder.h"

#include <QStringList>

// The voice keyer's player in tests: records what it was asked to play; the test ends each message with
// finish(), as the real player's end-of-play notification would.
class ScriptedVoicePlayer final : public VoicePlayer {
public:
    void play(const QString& path) override {
        played << path;
        playing = true;
    }
    void stop() override {
        ++stops;
        if (playing)
            finish(VoiceResult::Aborted);
    }
    void finish(VoiceResult result, const QString& error = {}) {
        playing = false;
        if (finished)
            finished(result, error);
    }

    QStringList played;
    bool playing = false;
    int stops = 0;
};

// The buffer editor's recorder in tests: the test ends a recording with finish().
class ScriptedVoiceRecorder final : public VoiceRecorder {
public:
    bool hasInput() const override { return microphone; }
    void record(const QString& path) override { recorded << path; }
    void stop() override { ++stops; }
    void finish(bool written, const QString& error = {}) {
        if (finished)
            finished(written, error);
    }

    QStringList recorded;
    int stops = 0;
    bool microphone = true;
};
