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

void MessageBuffers::read(const IniFile& ini) {
    for (int n = 1; n <= kCount; ++n) {
        MessageBuffer b;
        b.name = ini.value(Keys::name(n));
        b.text = ini.value(Keys::text(n));
        b.wavFile = ini.value(Keys::wavFile(n));
        b.loop = ini.value(Keys::loop(n));
        set(n, std::move(b));
    }
}

TextFile::Status MessageBuffers::write(IniFile& ini, int number) const {
    const MessageBuffer& b = at(number);
    IniFile::Batch batch(ini);
    ini.setValue(Keys::name(number), b.name);
    ini.setValue(Keys::text(number), b.text);
    ini.setValue(Keys::wavFile(number), b.wavFile);
    return ini.setValue(Keys::loop(number), b.loop);
}
