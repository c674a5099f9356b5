#include "mediavoicerecorder.h"

#include <QAudioDevice>
#include <QAudioInput>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QMediaRecorder>
#include <QTimer>
#include <QUrl>

MediaVoiceRecorder::MediaVoiceRecorder(QObject* parent) : QObject(parent) {}

MediaVoiceRecorder::~MediaVoiceRecorder() = default;

bool MediaVoiceRecorder::hasInput() const {
    return !QMediaDevices::defaultAudioInput().isNull();
}

void MediaVoiceRecorder::finish(bool written, const QString& error) {
    if (!m_recording)
        return;
    m_recording = false;
    if (finished)
        finished(written, error);
}

void MediaVoiceRecorder::record(const QString& path) {
    if (m_recording)
        return;
    m_recording = true;
    // The microphone may have gone since the editor looked.
    if (!hasInput()) {
        QTimer::singleShot(0, this, [this] { finish(false, noInputMessage()); });
        return;
    }
    if (!m_recorder) {
        m_session = new QMediaCaptureSession(this);
        m_input = new QAudioInput(this);
        m_recorder = new QMediaRecorder(this);
        m_session->setAudioInput(m_input);
        m_session->setRecorder(m_recorder);
        QMediaFormat format(QMediaFormat::Wave);
        format.setAudioCodec(QMediaFormat::AudioCodec::Wave);
        m_recorder->setMediaFormat(format);
        m_recorder->setQuality(QMediaRecorder::HighQuality);
        connect(m_recorder, &QMediaRecorder::recorderStateChanged, this, [this](QMediaRecorder::RecorderState state) {
            if (state == QMediaRecorder::StoppedState && m_recorder->error() == QMediaRecorder::NoError)
                finish(true);
        });
        connect(m_recorder, &QMediaRecorder::errorOccurred, this, [this](QMediaRecorder::Error, const QString& text) {
            finish(false, QStringLiteral("Nie można nagrać komunikatu:\n") + text);
        });
    }
    m_recorder->setOutputLocation(QUrl::fromLocalFile(path));
    m_recorder->record();
}

void MediaVoiceRecorder::stop() {
    if (m_recorder && m_recording)
        m_recorder->stop();
}
