#include "keyer/voicekeyer.h"

#include "keyer/messagebuffers.h"
#include "keyer/morseengine.h"
#include "platform/userdialogs.h"

#include <QFileInfo>

VoiceKeyer::VoiceKeyer(MorseEngine& engine, VoicePlayer& player, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_engine(engine), m_player(player), m_dialogs(dialogs) {
    m_player.finished = [this](VoiceResult result, const QString& error) { onFinished(result, error); };
}

VoiceKeyer::~VoiceKeyer() {
    m_player.finished = nullptr;
}

QString VoiceKeyer::missingFileMessage(int buffer, const QString& file) {
    const QString name = MessageBuffers::defaultName(buffer);
    if (file.isEmpty())
        return QStringLiteral("Bufor %1 nie ma pliku WAV: kliknij jego przycisk prawym przyciskiem myszy, aby go "
                              "wybrać.")
            .arg(name);
    return QStringLiteral("Bufor %1: nie ma pliku %2.").arg(name, file);
}

void VoiceKeyer::play(int buffer) {
    const MessageBuffer& message = m_engine.buffers().at(buffer);
    if (message.wavFile.isEmpty() || !QFileInfo(message.wavFile).isFile()) {
        emit statusMessage(missingFileMessage(buffer, message.wavFile));
        return;
    }
    if (m_playing)
        stop();
    m_engine.holdPtt(true);
    m_playing = buffer;
    emit playingChanged(true);
    if (message.loop)
        m_engine.showLoopLabel(true);
    m_player.play(message.wavFile);
}

void VoiceKeyer::stop() {
    if (!m_playing)
        return;
    m_player.stop();
    // A player that reports nothing on a stop still leaves the transmitter in receive.
    if (m_playing) {
        m_playing = 0;
        m_engine.holdPtt(false);
        emit playingChanged(false);
    }
}

void VoiceKeyer::onFinished(VoiceResult result, const QString& error) {
    if (!m_playing)
        return;
    const bool loop = m_engine.buffers().at(m_playing).loop;
    m_playing = 0;
    emit playingChanged(false);
    // Whatever ended the message, the transmitter goes back to receive: a failed file must not leave PTT keyed.
    m_engine.holdPtt(false);
    if (result == VoiceResult::Success && loop) {
        m_engine.armLoop();
        return;
    }
    if (loop)
        m_engine.showLoopLabel(false);
    if (result != VoiceResult::Failure)
        return;
    if (m_told.contains(error)) {
        // Told once in a box; after that a line in the status bar, so a buffer key is never silently ignored.
        emit statusMessage(QString(error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        return;
    }
    m_told.insert(error);
    m_dialogs.error(error);
}
