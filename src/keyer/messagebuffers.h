#pragma once

#include "core/textfile.h"
#include "settings/settingskeys.h"

#include <QString>

#include <array>

class IniFile;

struct MessageBuffer {
    QString name;    // the button caption
    QString text;    // upper case, without line breaks; also the button's hint
    QString wavFile; // played in phone modes
    bool loop = SettingsKeys::Buffers::loop.defaultValue;
};

// The twelve message buffers F1..F10, INS and "+", kept in the "Bufory" section.
class MessageBuffers {
public:
    static constexpr int kCount = 12;
    MessageBuffers();

    static QString defaultName(int number);   // "F1".."F10", "INS", "+"
    static QString editorCaption(int number); // "Bufor F1", "Bufor INSERT", "Bufor +"

    // number 1..12; anything else gives an empty buffer.
    const MessageBuffer& at(int number) const;
    void set(int number, MessageBuffer buffer);

    // A settings file without the "Bufory" section gives the contest set below, so the keys send something
    // useful from the first start; the result says whether the section was missing.
    enum class Source { Saved, ContestSet };
    Source read(const IniFile& ini);
    // CQ, the exchange, TU, the own and the other call, AGN, the exchange twice, "?", QRL?, and for INS and "+"
    // the own call and TU with the contact logged.
    static MessageBuffers contestSet();
    TextFile::Status write(IniFile& ini, int number) const;
    // Every buffer; a write into a file without the section writes them all, so the other eleven keep their text.
    TextFile::Status writeAll(IniFile& ini) const;
    static bool savedIn(const IniFile& ini);

private:
    void writeKeys(IniFile& ini, int number) const;

    std::array<MessageBuffer, kCount> m_buffers;
};
