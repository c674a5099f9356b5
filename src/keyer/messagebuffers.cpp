#include "keyer/messagebuffers.h"

#include "settings/inifile.h"
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
        b.name = ini.value(Keys::name(n));
        b.text = ini.value(Keys::text(n));
        b.wavFile = ini.value(Keys::wavFile(n));
        b.loop = ini.value(Keys::loop(n));
        set(n, std::move(b));
    }
    return Source::Saved;
}

void MessageBuffers::writeKeys(IniFile& ini, int number) const {
    const MessageBuffer& b = at(number);
    ini.setValue(Keys::name(number), b.name);
    ini.setValue(Keys::text(number), b.text);
    ini.setValue(Keys::wavFile(number), b.wavFile);
    ini.setValue(Keys::loop(number), b.loop);
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
