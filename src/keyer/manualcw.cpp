#include "keyer/manualcw.h"

#include "keyer/morseengine.h"
#include "keyer/morsetiming.h"

void ManualCw::open() {
    m_counter = 1;
    m_engine.clearSendAbort();
    m_engine.holdPtt(true);
}

void ManualCw::close() {
    m_engine.holdPtt(false);
}

bool ManualCw::textChanged(const QString& text) {
    for (int i = m_counter - 1; i < text.size(); ++i) {
        if (m_engine.sendAbort()) {
            m_engine.clearSendAbort();
            m_counter = 1;
            return true;
        }
        const QChar c = text.at(i).toUpper();
        // Only what the operator can mean by hand: letters, digits and signs, the blank, the speed steps. The
        // buffers' control characters ("$", "&", "*", the jump mark) do nothing here.
        if (c == u' ' || c == u'+' || c == u'-' || !Morse::code(c).isEmpty())
            m_engine.SendChar(c);
    }
    m_counter = int(text.size()) + 1;
    return false;
}

void ManualCw::backspace() {
    if (m_counter > 1)
        --m_counter;
}

ManualCw::KeyAction ManualCw::keyAction(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers shift = modifiers & ~Qt::KeypadModifier;
    const bool alt = shift == Qt::AltModifier;
    const bool ctrlAlt = shift == (Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = shift == Qt::ControlModifier;
    if (key == Qt::Key_Escape)
        return {KeyAction::Escape};
    if (key == Qt::Key_F12)
        return {KeyAction::Stop};
    if (((key == Qt::Key_T || key == Qt::Key_F10) && (alt || ctrlAlt)))
        return {KeyAction::Speed, 1};
    if ((key == Qt::Key_T && ctrl) || (key == Qt::Key_F9 && (alt || ctrlAlt)))
        return {KeyAction::Speed, -1};
    int buffer = 0;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F10)
        buffer = 1 + (key - Qt::Key_F1);
    else if (key == Qt::Key_Insert)
        buffer = 11;
    else if (key == Qt::Key_Plus && (modifiers & Qt::KeypadModifier))
        buffer = 12;
    if (buffer == 0 || (buffer <= 2 && (alt || ctrlAlt || ctrl)))
        return {};
    return {KeyAction::Buffer, buffer, shift == Qt::ShiftModifier};
}
