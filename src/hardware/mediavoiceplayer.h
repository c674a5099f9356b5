#pragma once

#include "keyer/voiceplayer.h"

#include <QObject>

class QAudioOutput;
class QMediaPlayer;

// The voice keyer's player: Qt Multimedia on the default audio output.
class MediaVoicePlayer final : public QObject, public VoicePlayer {
    Q_OBJECT
public:
    explicit MediaVoicePlayer(QObject* parent = nullptr);
    ~MediaVoicePlayer() override;

    void play(const QString& path) override;
    void stop() override;

    static QString noDeviceMessage();

private:
    void finish(VoiceResult result, const QString& error = {});

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    bool m_playing = false;
};
