#pragma once

#include "keyer/voiceplayer.h"

#include <QObject>
#include <QSet>

class MorseEngine;
class UserDialogs;

// The voice keyer: in every mode but CW a buffer key plays the buffer's WAV file with PTT held around it, and a
// buffer with its loop flag starts again after the loop delay, until a callsign is typed or Esc is pressed.
class VoiceKeyer : public QObject {
    Q_OBJECT
public:
    VoiceKeyer(MorseEngine& engine, VoicePlayer& player, UserDialogs& dialogs, QObject* parent = nullptr);
    ~VoiceKeyer() override;

    void play(int buffer);
    // Esc: the message stops and PTT drops.
    void stop();
    int playing() const { return m_playing; }

    static QString missingFileMessage(int buffer, const QString& file);

signals:
    // A line for the main window's status bar.
    void statusMessage(const QString& text);
    // A message started or ended: the "TX" button is down while it plays.
    void playingChanged(bool playing);

private:
    void onFinished(VoiceResult result, const QString& error);

    MorseEngine& m_engine;
    VoicePlayer& m_player;
    UserDialogs& m_dialogs;
    int m_playing = 0;
    // Each failure text is told once: a missing sound device must not stop the operator at every key.
    QSet<QString> m_told;
};
