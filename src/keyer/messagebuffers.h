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

    void read(const IniFile& ini);
    TextFile::Status write(IniFile& ini, int number) const;

private:
    std::array<MessageBuffer, kCount> m_buffers;
};
