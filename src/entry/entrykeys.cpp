#include "entry/entrykeys.h"

#include <algorithm>
#include <array>

namespace {

using Action = EntryKeys::Action;
using Mods = EntryKeys::Modifiers;
using Phase = EntryKeys::Phase;
constexpr unsigned kEntryFields = EntryKeys::Callsign | EntryKeys::Exchange;
constexpr unsigned kTypedFields = kEntryFields | EntryKeys::SentSerial | EntryKeys::SentFixedPart;
constexpr Phase kPress = Phase::Press;
constexpr Phase kRelease = Phase::Release;

// clang-format off
constexpr std::array kRows{
    //                phase     key                    modifiers            fields                   action
    EntryKeys::Row{kPress,   Qt::Key_F1,            Mods::Alt,            kEntryFields,            Action::BandDown},
    EntryKeys::Row{kPress,   Qt::Key_F2,            Mods::Alt,            kEntryFields,            Action::BandUp},
    EntryKeys::Row{kPress,   Qt::Key_B,             Mods::Alt,            kEntryFields,            Action::BandUp},
    EntryKeys::Row{kPress,   Qt::Key_M,             Mods::Alt,            kEntryFields,            Action::ModeUp},
    EntryKeys::Row{kPress,   Qt::Key_F1,            Mods::CtrlWithoutAlt, kEntryFields,            Action::ModeDown},
    EntryKeys::Row{kPress,   Qt::Key_F2,            Mods::CtrlWithoutAlt, kEntryFields,            Action::ModeUp},
    EntryKeys::Row{kPress,   EntryKeys::kEnter,     Mods::CtrlWithoutAlt, kEntryFields,            Action::HoldUntilRelease},
    EntryKeys::Row{kPress,   Qt::Key_T,             Mods::Alt,            kEntryFields,            Action::HoldUntilRelease},
    EntryKeys::Row{kPress,   Qt::Key_T,             Mods::Ctrl,           kEntryFields,            Action::HoldUntilRelease},
    EntryKeys::Row{kPress,   Qt::Key_K,             Mods::Alt,            kEntryFields,            Action::HoldUntilRelease},
    EntryKeys::Row{kPress,   Qt::Key_PageUp,        Mods::Any,            kEntryFields,            Action::HoldUntilRelease},
    EntryKeys::Row{kPress,   Qt::Key_PageDown,      Mods::Any,            kEntryFields,            Action::HoldUntilRelease},
    EntryKeys::Row{kPress,   EntryKeys::kBackquote, Mods::Any,            kTypedFields,            Action::ManualCw},
    EntryKeys::Row{kPress,   EntryKeys::kEnter,     Mods::Any,            EntryKeys::Callsign,     Action::AcceptCallsign},
    EntryKeys::Row{kPress,   Qt::Key_Space,         Mods::Ctrl,           EntryKeys::Callsign,     Action::TakeFirstSuggestion},
    EntryKeys::Row{kPress,   Qt::Key_Space,         Mods::Any,            EntryKeys::Callsign,     Action::ToExchange},
    EntryKeys::Row{kPress,   EntryKeys::kEnter,     Mods::Any,            EntryKeys::Exchange,     Action::LogQso},
    EntryKeys::Row{kPress,   Qt::Key_Space,         Mods::Any,            EntryKeys::Exchange,     Action::ToCallsign},
    EntryKeys::Row{kPress,   EntryKeys::kEnter,     Mods::Any,            EntryKeys::Report,       Action::NextField},
    EntryKeys::Row{kPress,   EntryKeys::kAnyKey,    Mods::Any,            EntryKeys::Report,       Action::ReportCharacter},
    EntryKeys::Row{kRelease, Qt::Key_PageUp,        Mods::Any,            kEntryFields,            Action::OfflineMinuteForward},
    EntryKeys::Row{kRelease, Qt::Key_PageDown,      Mods::Any,            kEntryFields,            Action::OfflineMinuteBack},
    EntryKeys::Row{kRelease, Qt::Key_T,             Mods::Alt,            kEntryFields,            Action::SpeedUp},
    EntryKeys::Row{kRelease, Qt::Key_T,             Mods::Ctrl,           kEntryFields,            Action::SpeedDown},
    EntryKeys::Row{kRelease, Qt::Key_K,             Mods::Alt,            kEntryFields,            Action::ManualCw},
    EntryKeys::Row{kRelease, EntryKeys::kEnter,     Mods::CtrlWithoutAlt, kEntryFields,            Action::ManualCw},
};
// clang-format on

bool keyMatches(int rowKey, const EntryKeys::Stroke& stroke) {
    switch (rowKey) {
    case EntryKeys::kAnyKey:
        return true;
    case EntryKeys::kEnter:
        return stroke.key == Qt::Key_Return || stroke.key == Qt::Key_Enter;
    case EntryKeys::kBackquote:
        return stroke.text == QLatin1String("`");
    default:
        return stroke.key == rowKey;
    }
}

bool modifiersMatch(Mods rowModifiers, Qt::KeyboardModifiers held) {
    const bool alt = held & Qt::AltModifier;
    const bool ctrl = held & Qt::ControlModifier;
    switch (rowModifiers) {
    case Mods::Any:
        return true;
    case Mods::Alt:
        return alt;
    case Mods::Ctrl:
        return ctrl;
    case Mods::CtrlWithoutAlt:
        return ctrl && !alt;
    }
    return false;
}

bool stepsOnce(Action action) {
    return action == Action::BandDown || action == Action::BandUp || action == Action::ModeDown ||
           action == Action::ModeUp;
}

} // namespace

std::span<const EntryKeys::Row> EntryKeys::table() {
    return kRows;
}

EntryKeys::Action EntryKeys::lookUp(Phase phase, Field field, const Stroke& stroke) {
    const auto row = std::find_if(kRows.begin(), kRows.end(), [&](const Row& r) {
        return r.phase == phase && (r.fields & field) && keyMatches(r.key, stroke) &&
               modifiersMatch(r.modifiers, stroke.modifiers);
    });
    return row == kRows.end() ? Action::None : row->action;
}

EntryKeys::Action EntryKeys::press(Field field, const Stroke& stroke, bool takenByKeyer) {
    // The same key down again: the release of the shortcut remembered went to another control.
    if (m_held && m_held->key == stroke.key && !stroke.autoRepeat)
        m_held.reset();
    if (takenByKeyer)
        return Action::Swallow;
    const Action action = lookUp(Phase::Press, field, stroke);
    if (action == Action::HoldUntilRelease) {
        if (!stroke.autoRepeat)
            m_held = HeldShortcut{stroke.key, stroke.modifiers};
        return Action::Swallow;
    }
    if (stroke.autoRepeat && stepsOnce(action))
        return Action::Swallow;
    return action;
}

EntryKeys::Action EntryKeys::release(Field field, const Stroke& stroke) {
    // A held key acts once, when it is let go.
    if (stroke.autoRepeat || !(field & kEntryFields))
        return Action::None;
    Stroke released = stroke;
    if (m_held && m_held->key == stroke.key) {
        released.modifiers = m_held->modifiers;
        m_held.reset();
    }
    return lookUp(Phase::Release, field, released);
}
