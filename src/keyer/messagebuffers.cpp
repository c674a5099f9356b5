#include "keyer/messagebuffers.h"

#include "settings/inifile.h"
#include "settings/settingsbinding.h"
#include "settings/settingskeys.h"

namespace Keys = SettingsKeys::Buffers;

namespace {

QString normaliseText(QString text) {
    text.remove(u'\r');
    text.remove(u'\n');
    return text.toUpper();
}

} // namespace

MessageBuffers::MessageBuffers() {
    for (int n = 1; n <= kCount; ++n)
        m_buffers[size_t(n - 1)].name = defaultName(n);
}

QString MessageBuffers::defaultName(int number) {
    return Keys::name(number).defaultValue;
}

QString MessageBuffers::editorCaption(int number) {
    if (number == 11)
        return QStringLiteral("Bufor INSERT");
    return QStringLiteral("Bufor ") + defaultName(number);
}

const MessageBuffer& MessageBuffers::at(int number) const {
    static const MessageBuffer empty;
    return number >= 1 && number <= kCount ? m_buffers[size_t(number - 1)] : empty;
}

void MessageBuffers::set(int number, MessageBuffer buffer) {
    if (number < 1 || number > kCount)
        return;
    buffer.text = normaliseText(buffer.text);
    if (buffer.name.isEmpty())
        buffer.name = defaultName(number);
    m_buffers[size_t(number - 1)] = std::move(buffer);
}

MessageBuffers MessageBuffers::contestSet() {
    struct Entry {
        const char* name;
        const char* text;
    };
    static constexpr Entry kSet[kCount] = {
        {"CQ", "CQ TEST <MYCALL> <MYCALL> TEST"},
        {"Grupa", "<CALL> <RAPORT> <STX>"},
        {"TU", "TU <MYCALL> TEST"},
        {"Mój znak", "<MYCALL>"},
        {"Jego znak", "<CALL>"},
        {"AGN", "AGN"},
        {"Grupa 2x", "<STX> <STX>"},
        {"?", "?"},
        {"QRL?", "QRL?"},
        {"", ""},
        {"", "<MYCALL>"},
        {"", "TU <SAVEQSO>"},
    };
    MessageBuffers buffers;
    for (int n = 1; n <= kCount; ++n) {
        MessageBuffer b;
        b.name = QString::fromUtf8(kSet[n - 1].name);
        b.text = QString::fromLatin1(kSet[n - 1].text);
        buffers.set(n, std::move(b));
    }
    return buffers;
}

namespace {

// One buffer's keys, in the order they are written.
SettingsBindings<MessageBuffer> bufferBindings(int number) {
    return {Bind::field(Keys::name(number), &MessageBuffer::name),
            Bind::field(Keys::text(number), &MessageBuffer::text),
            Bind::field(Keys::wavFile(number), &MessageBuffer::wavFile),
            Bind::field(Keys::loop(number), &MessageBuffer::loop)};
}

} // namespace

bool MessageBuffers::savedIn(const IniFile& ini) {
    return ini.containsSectionOf(Keys::text(1));
}

MessageBuffers::Source MessageBuffers::read(const IniFile& ini) {
    if (!savedIn(ini)) {
        *this = contestSet();
        return Source::ContestSet;
    }
    for (int n = 1; n <= kCount; ++n) {
        MessageBuffer b;
        readSettings(ini, b, bufferBindings(n));
        set(n, std::move(b));
    }
    return Source::Saved;
}

void MessageBuffers::writeKeys(IniFile& ini, int number) const {
    writeSettings(ini, at(number), bufferBindings(number));
}

TextFile::Status MessageBuffers::write(IniFile& ini, int number) const {
    if (!savedIn(ini))
        return writeAll(ini);
    {
        IniFile::Batch batch(ini);
        writeKeys(ini, number);
    }
    return ini.batchStatus();
}

TextFile::Status MessageBuffers::writeAll(IniFile& ini) const {
    {
        IniFile::Batch batch(ini);
        for (int n = 1; n <= kCount; ++n)
            writeKeys(ini, n);
    }
    return ini.batchStatus();
}
