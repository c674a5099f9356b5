#pragma once

#include <QString>
#include <Qt>

#include <optional>
#include <span>

// What a key does in the entry window's fields. One table of rows (key, modifiers, fields, press or release)
// decides it; the first row that matches wins.
//
// Band and mode keys act on the press, so the modifier may be let go before the F-key, and a held key steps
// once. The other shortcuts of the callsign and exchange fields act when the key is let go, with the modifiers
// held when it went down: an operator often lets go of Alt or Ctrl a moment before the letter.
class EntryKeys {
public:
    enum Field : unsigned {
        Callsign = 1u << 0,
        Exchange = 1u << 1,
        Report = 1u << 2,
        SentSerial = 1u << 3,
        SentFixedPart = 1u << 4,
        Other = 1u << 5, // any other control of the window: only the keyer's keys work there
    };
    enum class Phase { Press, Release };
    enum class Action {
        None,    // not a key of the window: the control gets it
        Swallow, // the control does not get it and nothing happens (yet)
        BandDown,
        BandUp,
        ModeDown,
        ModeUp,
        HoldUntilRelease, // a shortcut that acts when let go
        ManualCw,
        AcceptCallsign, // a command, the contact without exchange, or on to the exchange
        TakeFirstSuggestion,
        ToExchange,
        ToCallsign,
        LogQso,
        NextField,
        ReportCharacter, // the report fields take digits, "A" and "S" only
        OfflineMinuteForward,
        OfflineMinuteBack,
        SpeedUp,
        SpeedDown,
    };
    // Which modifiers a row asks for; the others may be held too unless said.
    enum class Modifiers { Any, Alt, Ctrl, CtrlWithoutAlt };
    // Keys a row names besides Qt's own.
    static constexpr int kAnyKey = -1;
    static constexpr int kEnter = -2;     // Return or the keypad's Enter
    static constexpr int kBackquote = -3; // the key that types "`", whatever its key code
    struct Row {
        Phase phase;
        int key;
        Modifiers modifiers;
        unsigned fields;
        Action action;
    };
    struct Stroke {
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        QString text;
        bool autoRepeat = false;
    };

    static std::span<const Row> table();
    // The table's answer, before the held-key rules.
    static Action lookUp(Phase phase, Field field, const Stroke& stroke);

    // A key went down. The keyer sees every key first; a key it took does nothing more here.
    Action press(Field field, const Stroke& stroke, bool takenByKeyer);
    // A key was let go.
    Action release(Field field, const Stroke& stroke);

private:
    struct HeldShortcut {
        int key = 0;
        Qt::KeyboardModifiers modifiers;
    };
    std::optional<HeldShortcut> m_held;
};
