#pragma once

#include "keyer/keyerhooks.h"

#include <functional>

class KeyerEntry;
class MorseEngine;

// The entry window's keyer keys and events: function keys start buffers, Esc/F12 stop, Alt+F9/F10 change
// the speed, and the clock tick and callsign changes drive the message loop.
class KeyerKeys final : public KeyerHooks {
public:
    KeyerKeys(MorseEngine& engine, KeyerEntry& entry) : m_engine(engine), m_entry(entry) {}

    void qsoLogged() override {}
    void clockTick() override;
    void callsignChanged(const QString& call) override;
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers) override;
    void changeSpeed(int step) override;
    void manualCwRequested() override {
        if (openManualCw)
            openManualCw();
    }

    // Opens the manual CW window.
    std::function<void()> openManualCw;

    // Esc: the loop is cancelled and a transmission stopped.
    void escape();

private:
    void startBuffer(int number, Qt::KeyboardModifiers modifiers);

    MorseEngine& m_engine;
    KeyerEntry& m_entry;
};
