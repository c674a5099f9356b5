#include "mediavoiceplayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

MediaVoicePlayer::MediaVoicePlayer(QObject* parent) : QObject(parent) {}

MediaVoicePlayer::~MediaVoicePlayer() = default;

QString MediaVoicePlayer::noDeviceMessage() {
    return QStringLiteral("Nie ma urządzenia dźwiękowego: nie można odtworzyć komunikatu głosowego.");
}

void MediaVoicePlayer::finish(VoiceResult result, const QString& error) {
    if (!m_playing)
        return;
    m_playing = false;
    if (finished)
        finished(result, error);
}

void MediaVoicePlayer::play(const QString& path) {
    if (m_playing) {
        m_player->stop();
        finish(VoiceResult::Superseded);
    }
    m_playing = true;
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        // Reported as the player would report it: after play() has returned.
        QTimer::singleShot(0, this, [this] { finish(VoiceResult::Failure, noDeviceMessage()); });
        return;
    }
    // The player is made on first use, so a program that never plays a message never opens the sound system.
    if (!m_player) {
        m_player = new QMediaPlayer(this);
        m_output = new QAudioOutput(this);
        m_player->setAudioOutput(m_output);
        auto failed = [this](const QString& text) {
            finish(VoiceResult::Failure, QStringLiteral("Nie można odtworzyć pliku WAV:\n") +
                                             m_player->source().toLocalFile() + u'\n' + text);
        };
        connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this, failed](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia)
                finish(VoiceResult::Success);
            else if (status == QMediaPlayer::InvalidMedia)
                failed(m_player->errorString());
        });
        connect(m_player, &QMediaPlayer::errorOccurred, this,
                [failed](QMediaPlayer::Error, const QString& text) { failed(text); });
    }
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    m_player->play();
}

void MediaVoicePlayer::stop() {
    if (!m_playing)
        return;
    if (m_player)
        m_player->stop();
    finish(VoiceResult::Aborted);
}
