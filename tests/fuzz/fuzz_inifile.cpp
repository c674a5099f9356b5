// kvr_log.ini may be edited by hand or carried over from another system. Reading it never fails, and writing a
// key keeps every other key: after a write, the file read again gives the values read before for every key
// it holds, and the written key gives what was written.
#include "fuzzsupport.h"

#include "settings/inifile.h"

#include <QFile>
#include <QRegularExpression>

#include <vector>

namespace {

struct Key {
    QString section;
    QString name;
};

struct Reading {
    QString text;
    int number;
    double fraction;
    bool present;
};

QStringList linesOf(const QString& text) {
    static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\n|\r"));
    return text.split(kLineEnd);
}

// Every section and every possible key name of the text, as an operator editing the file would see them.
std::vector<Key> keysOf(const QString& text) {
    std::vector<Key> keys = {{QStringLiteral("Program"), QStringLiteral("Log")},
                             {QStringLiteral("Analiza grupy"), QStringLiteral("Opcja")}};
    QString section;
    for (const QString& line : linesOf(text)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'))) {
            section = trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed();
            continue;
        }
        for (qsizetype eq = line.indexOf(QLatin1Char('=')); eq >= 0; eq = line.indexOf(QLatin1Char('='), eq + 1))
            keys.push_back({section, line.left(eq).trimmed()});
        if (keys.size() > 64)
            break;
    }
    return keys;
}

Reading read(const IniFile& ini, const Key& key) {
    return {ini.readString(key.section, key.name, QStringLiteral("-default-")),
            ini.readInteger(key.section, key.name, -12345), ini.readFloat(key.section, key.name, -0.5),
            ini.hasKey(key.section, key.name)};
}

bool same(const Reading& a, const Reading& b) {
    // A value that is no number reads as the same default both times; NaN is never equal to itself.
    const bool fractions = a.fraction == b.fraction || (qIsNaN(a.fraction) && qIsNaN(b.fraction));
    return a.text == b.text && a.number == b.number && fractions && a.present == b.present;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = Fuzz::scratchPath(QStringLiteral("kvr_log.ini"));
    Fuzz::writeFile(path, data, size);
    const QString probe = QStringLiteral("Sonda zapisu");

    IniFile ini(path);
    FUZZ_CHECK(ini.exists(), "a readable settings file is read");
    if (ini.hasSection(probe))
        return 0;
    const QString text = IniFile::decodeFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const std::vector<Key> keys = keysOf(text);
    std::vector<Reading> before;
    before.reserve(keys.size());
    for (const Key& key : keys)
        before.push_back(read(ini, key));

    // A value of the file's own text, and a number from its bytes, written into a section of their own.
    QString value = before.front().text;
    for (const Reading& reading : before) {
        if (reading.present && !reading.text.isEmpty()) {
            value = reading.text;
            break;
        }
    }
    int number = 0;
    for (size_t i = 0; i < std::min<size_t>(size, 4); ++i)
        number = int(unsigned(number) << 8 | data[i]);
    {
        IniFile::Batch batch(ini);
        ini.writeString(probe, QStringLiteral("Tekst"), value);
        ini.writeInteger(probe, QStringLiteral("Liczba"), number);
    }

    // A write keeps the other lines of the file as they are, those the class does not understand too.
    QFile written(path);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly), "the settings file is there after a write");
    const QStringList after = linesOf(IniFile::decodeFile(written.readAll()));
    QStringList original = linesOf(text);
    // Empty lines at the end carry nothing and are not kept.
    while (!original.isEmpty() && original.constLast().isEmpty())
        original.removeLast();
    qsizetype next = 0;
    for (const QString& line : std::as_const(original)) {
        while (next < after.size() && after.at(next) != line)
            ++next;
        FUZZ_CHECK(next < after.size(), "writing a key keeps every line of the file, in order");
        ++next;
    }

    const IniFile again(path);
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].section.compare(probe, Qt::CaseInsensitive) == 0)
            continue;
        FUZZ_CHECK(same(read(ini, keys[i]), before[i]), "writing a key changes no other key in memory");
        FUZZ_CHECK(same(read(again, keys[i]), before[i]), "writing a key changes no other key in the file");
    }
    FUZZ_CHECK(again.readInteger(probe, QStringLiteral("Liczba"), number ^ 1) == number,
               "a number written is read back");
    // Line ends cannot be stored; blanks around a value and one pair of quotes are not part of it.
    QString stored = value;
    stored.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const bool plain = stored == stored.trimmed() && !(stored.size() >= 2 && stored.startsWith(QLatin1Char('"')) &&
                                                       stored.endsWith(QLatin1Char('"')));
    if (plain)
        FUZZ_CHECK(again.readString(probe, QStringLiteral("Tekst"), QString()) == stored,
                   "a text written is read back");
    return 0;
}
