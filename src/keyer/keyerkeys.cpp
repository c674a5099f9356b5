#include "keyer/keyerkeys.h"

#include "keyer/keyerentry.h"
#include "keyer/morseengine.h"

void KeyerKeys::clockTick() {
    m_engine.clockTick();
}

void KeyerKeys::callsignChanged(const QString& call) {
    m_engine.callsignChanged(call);
}

void KeyerKeys::changeSpeed(int step) {
    m_engine.changeSpeedBy(step);
}

void KeyerKeys::startBuffer(int number, Qt::KeyboardModifiers modifiers) {
    if (modifiers == Qt::ShiftModifier)
        m_engine.setFullDigitsOnce(true);
    m_engine.StartBuffer(number);
}

void KeyerKeys::escape() {
    // Esc stops the loop, the voice message and the transmission, whatever is running.
    m_engine.cancelLoop();
    if (!m_entry.mode().isCw())
        m_entry.stopVoice();
    if (m_engine.txDown() || m_engine.pttLit())
        m_engine.StopSending();
}

bool KeyerKeys::keyPressed(int key, Qt::KeyboardModifiers modifiers) {
    // The shift state is compared as a whole; the keypad flag only tells where a key sits.
    const Qt::KeyboardModifiers shift = modifiers & ~Qt::KeypadModifier;
    const bool alt = shift == Qt::AltModifier;
    const bool ctrlAlt = shift == (Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = shift == Qt::ControlModifier;
    const KeyerConfig config = m_engine.config();

    if ((key == Qt::Key_F10 || key == Qt::Key_F9) && (alt || ctrlAlt)) {
        m_engine.changeSpeedBy(key == Qt::Key_F10 ? 1 : -1);
        return true;
    }
    if (key == Qt::Key_F1 || key == Qt::Key_F2) {
        if (alt || ctrlAlt || ctrl)
            return false; // band and mode keys of the entry window
        startBuffer(key == Qt::Key_F1 ? 1 : 2, shift);
        return true;
    }
    if (key >= Qt::Key_F3 && key <= Qt::Key_F10) {
        startBuffer(3 + (key - Qt::Key_F3), shift);
        return true;
    }
    if (key == Qt::Key_F11 || (key == Qt::Key_W && (alt || ctrlAlt))) {
        m_entry.clearCallAndReceived();
        return true;
    }
    switch (key) {
    case Qt::Key_F12:
        if (!m_entry.mode().isCw())
            m_entry.stopVoice();
        m_engine.StopSending();
        return true;
    case Qt::Key_Insert:
        startBuffer(11, shift);
        return true;
    case Qt::Key_Down:
        if (!config.mapDownAsInsert)
            return false;
        startBuffer(11, shift);
        return true;
    case Qt::Key_Up:
        if (!config.mapUpAsPlus)
            return false;
        startBuffer(12, shift);
        return true;
    case Qt::Key_Plus:
        if (!(modifiers & Qt::KeypadModifier))
            return false;
        startBuffer(12, shift);
        return true;
    case Qt::Key_Escape:
        escape();
        return true;
    default:
        return false;
    }
}
