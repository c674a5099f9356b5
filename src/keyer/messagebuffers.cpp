#include "keyer/messagebuffers.h"

#include "settings/inifile.h"

namespace {

const QString kSection = QStringLiteral("Bufory");

QString key(int number, const char* field) {
    return QStringLiteral("Bufor%1-%2").arg(number).arg(QLatin1String(field));
}

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
    if (number == 11)
        return QStringLiteral("INS");
    if (number == 12)
        return QStringLiteral("+");
    return QStringLiteral("F%1").arg(number);
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
        b.name = ini.readString(kSection, key(n, "nazwa"), defaultName(n));
        b.text = ini.readString(kSection, key(n, "tekst"), QString());
        b.wavFile = ini.readString(kSection, key(n, "plik"), QString());
        b.loop = ini.readBool(kSection, key(n, "petla"), false);
        set(n, std::move(b));
    }
}

TextFile::Status MessageBuffers::write(IniFile& ini, int number) const {
    const MessageBuffer& b = at(number);
    IniFile::Batch batch(ini);
    ini.writeString(kSection, key(number, "nazwa"), b.name);
    ini.writeString(kSection, key(number, "tekst"), b.text);
    ini.writeString(kSection, key(number, "plik"), b.wavFile);
    return ini.writeBool(kSection, key(number, "petla"), b.loop);
}
