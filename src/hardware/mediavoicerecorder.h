#pragma once

#include "keyer/voicerecorder.h"

#include <QObject>

class QAudioInput;
class QMediaCaptureSession;
class QMediaRecorder;

// The buffer editor's "Nagraj": Qt Multimedia from the default microphone into a WAV file.
class MediaVoiceRecorder final : public QObject, public VoiceRecorder {
    Q_OBJECT
public:
    explicit MediaVoiceRecorder(QObject* parent = nullptr);
    ~MediaVoiceRecorder() override;

    bool hasInput() const override;
    void record(const QString& path) override;
    void stop() override;

private:
    void finish(bool written, const QString& error = {});

    QMediaCaptureSession* m_session = nullptr;
    QAudioInput* m_input = nullptr;
    QMediaRecorder* m_recorder = nullptr;
    bool m_recording = false;
};
