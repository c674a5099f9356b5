#pragma once

#include <QString>
#include <Qt>

class MorseEngine;

// The manual CW window's sending: every character is keyed the moment it is typed, PTT is held while the window
// is open, and a counter remembers the position of the next character to send.
class ManualCw {
public:
    explicit ManualCw(MorseEngine& engine) : m_engine(engine) {}

    // The window opened: counter 1, a pending stop forgotten, PTT on when the option is.
    void open();
    // The window closed: PTT off when the option is.
    void close();
    // The text changed: every character from the counter on is keyed. True when a stop (Esc, F12) was pending:
    // nothing is keyed, and the field is to be cleared.
    bool textChanged(const QString& text);
    // Backspace: the character deleted and typed again is sent again.
    void backspace();
    // The field was cleared.
    void reset() { m_counter = 1; }
    int counter() const { return m_counter; }

    struct KeyAction {
        enum Kind { None, Stop, Escape, Speed, Buffer } kind = None;
        int value = 0;               // speed step, or buffer 1..12
        bool fullDigitsOnce = false; // a buffer key with Shift
    };
    // What a key does in the window (the shift state compared as a whole).
    static KeyAction keyAction(int key, Qt::KeyboardModifiers modifiers);

private:
    MorseEngine& m_engine;
    int m_counter = 1;
};
