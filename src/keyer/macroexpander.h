#pragma once

#include <QString>

#include <optional>

class KeyerEntry;
class MessageBuffers;

namespace Macros {
// Control characters the expander leaves for the sender.
inline constexpr char16_t kCall = u'$';
inline constexpr char16_t kLoop = u'&';
inline constexpr char16_t kSaveQso = u'*';
inline constexpr char16_t kSpeedUp = u'+';
inline constexpr char16_t kSpeedDown = u'-';
inline constexpr char16_t kPrefill = 0xA0; // the jump to the received-exchange field
// The input stops being expanded once it is longer than this.
inline constexpr int kInputLimit = 255;
// Buffer references expanded in one pass; further references produce nothing, so a buffer that refers
// only to itself cannot expand without end.
inline constexpr int kMaxBufferReferences = 64;
} // namespace Macros

struct MacroSettings {
    bool cutNumbers = true;
    bool extraGap = true;
    bool fullDigitsOnce = false;
};

struct MacroExpansion {
    QString text;                   // what goes behind the outgoing text
    bool showLoopLabel = false;     // "<LOOP>" was expanded
    std::optional<bool> cutNumbers; // "<SHORT>"/"<LONG>" changed the setting
    int bufferReferences = 0;
};

// Expands the macros of input with the entry fields, the log and the buffers. Runs on the window thread:
// "<SAVEQSO>" may move the entry window's focus.
MacroExpansion
ExpandMacros(const QString& input, KeyerEntry& entry, const MessageBuffers& buffers, MacroSettings settings);
