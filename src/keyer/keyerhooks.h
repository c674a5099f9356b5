#pragma once

#include <QString>
#include <Qt>

// The seam between the entry window and the CW keyer: what the window tells the keyer. The window works
// with NullKeyerHooks until a keyer is attached.
class KeyerHooks {
public:
    virtual ~KeyerHooks() = default;
    // A QSO was added to the log: the keyer resets its per-contact state.
    virtual void qsoLogged() {}
    // Every tick of the 500 ms clock: the keyer checks its message loop.
    virtual void clockTick() {}
    // The callsign field changed.
    virtual void callsignChanged(const QString& call) { Q_UNUSED(call); }
    // Alt+T / Ctrl+T in the callsign or received-exchange field: the keyer speed one step up or down.
    virtual void changeSpeed(int step) { Q_UNUSED(step); }
    // Alt+K, Ctrl+Enter or a backquote typed in an entry field: the manual CW window.
    virtual void manualCwRequested() {}
    // A key pressed anywhere in the entry window, before the window's own handling; true when the keyer
    // took it (function keys, Esc, speed keys …).
    virtual bool keyPressed(int key, Qt::KeyboardModifiers modifiers) {
        Q_UNUSED(key);
        Q_UNUSED(modifiers);
        return false;
    }
};

using NullKeyerHooks = KeyerHooks;
