#include "settings/inifile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <limits>

#include <optional>
#include <utility>

namespace {

QString sectionName(QStringView line) {
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return {};
    return trimmed.mid(1, close - 1).trimmed().toString();
}

bool isSectionHeader(QStringView line) {
    const QStringView trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'));
}

QString cleanValue(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

struct FileContent {
    QStringList lines;
    bool exists = false;
    QString unreadableReason;
};

FileContent readFile(const QString& path) {
    FileContent content;
    QFile file(path);
    if (!file.exists())
        return content;
    // A file that is there but cannot be read is never written over: its settings would be lost.
    if (!file.open(QIODevice::ReadOnly)) {
        content.unreadableReason = file.errorString();
        return content;
    }
    // Read whole, however large: a file cut at some size would be written back cut.
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        content.unreadableReason = file.errorString();
        return content;
    }
    content.exists = true;
    content.lines = IniFile::decodeFile(bytes).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    while (!content.lines.isEmpty() && content.lines.constLast().isEmpty())
        content.lines.removeLast();
    return content;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {
    // The stamp is taken before the read: a change while reading shows as a different stamp at the next access.
    m_stamp = FileStamp::of(m_path);
    FileContent content = readFile(m_path);
    m_lines = std::move(content.lines);
    m_exists = content.exists;
    m_unreadableReason = std::move(content.unreadableReason);
}

IniFile::~IniFile() = default;

QString IniFile::decodeFile(const QByteArray& bytes) {
    // Editors that add a byte-order mark to a file that already has one leave several in front of the first
    // section; every one of them is skipped, or that section would not be found.
    QByteArrayView view(bytes);
    while (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(view);
    if (!utf8.hasError())
        return text;
    return TextFile::decode(view);
}

qsizetype IniFile::findSection(const QStringList& lines, const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isSectionHeader(lines.at(i)) && sectionName(lines.at(i)).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

IniFile::Found IniFile::findKey(const QStringList& lines, const QString& section, const QString& key) {
    const qsizetype header = findSection(lines, section);
    if (header < 0)
        return {};
    for (qsizetype i = header + 1; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (isSectionHeader(line))
            break;
        if (line.trimmed().startsWith(QLatin1Char(';')))
            continue;
        // A key may itself hold "=": try every "=" of the line as the separator.
        for (qsizetype eq = line.indexOf(QLatin1Char('=')); eq >= 0; eq = line.indexOf(QLatin1Char('='), eq + 1)) {
            if (QStringView(line).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
                return {i, eq + 1};
        }
    }
    return {};
}

std::optional<QString> IniFile::stored(const QStringList& lines, const QString& section, const QString& key) {
    const Found found = findKey(lines, section, key);
    if (found.line < 0)
        return std::nullopt;
    QString text = lines.at(found.line).mid(found.valueStart).trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    return text;
}

std::optional<QString> IniFile::stored(const QString& section, const QString& key) const {
    refresh();
    return stored(m_lines, section, key);
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    refresh();
    return findKey(m_lines, section, key).line >= 0;
}

bool IniFile::hasSection(const QString& section) const {
    refresh();
    return findSection(m_lines, section) >= 0;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    return stored(section, key).value_or(defaultValue);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QString> text = stored(section, key);
    if (!text || text->isEmpty())
        return defaultValue;
    QString digits = *text;
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.startsWith(QLatin1Char('-'));
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    if (digits.isEmpty() || digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+')))
        return defaultValue;
    bool ok = false;
    const qlonglong number = digits.toLongLong(&ok, base);
    if (!ok)
        return defaultValue;
    const qlonglong signedNumber = negative ? -number : number;
    // Colours are written as signed values; a hexadecimal value may fill all 32 bits.
    if (base == 16 && !negative && number <= 0xFFFFFFFFLL)
        return static_cast<int>(static_cast<quint32>(number));
    if (signedNumber < std::numeric_limits<int>::min() || signedNumber > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(signedNumber);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double IniFile::readFloat(const QString& section, const QString& key, double defaultValue) const {
    const std::optional<QString> text = stored(section, key);
    if (!text || text->isEmpty())
        return defaultValue;
    QString number = *text;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double result = number.toDouble(&ok);
    return ok ? result : defaultValue;
}

bool IniFile::put(QStringList& lines, const Write& write) {
    const Found found = findKey(lines, write.section, write.key);
    if (found.line >= 0) {
        const QString line = lines.at(found.line).left(found.valueStart) + write.text;
        if (line == lines.at(found.line))
            return false;
        lines[found.line] = line;
        return true;
    }
    const QString line = write.key + QLatin1Char('=') + write.text;
    const qsizetype header = findSection(lines, write.section);
    if (header < 0) {
        if (!lines.isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + write.section + QLatin1Char(']'));
        lines.append(line);
    } else {
        // After the section's last non-blank line.
        qsizetype insertAt = header + 1;
        for (qsizetype i = header + 1; i < lines.size() && !isSectionHeader(lines.at(i)); ++i) {
            if (!lines.at(i).trimmed().isEmpty())
                insertAt = i + 1;
        }
        lines.insert(insertAt, line);
    }
    return true;
}

TextFile::Status IniFile::writeString(const QString& section, const QString& key, const QString& text) {
    refresh();
    const Write write{section, key, cleanValue(text)};
    if (m_batchDepth > 0)
        m_batchWrites.append(write);
    if (!put(m_lines, write) && m_exists)
        return {};
    if (m_changed)
        m_pendingChanges.append({section, key});
    const TextFile::Status status = commit();
    if (m_batchDepth == 0)
        announceChanges();
    return status;
}

TextFile::Status IniFile::writeInteger(const QString& section, const QString& key, int number) {
    return writeString(section, key, QString::number(number));
}

TextFile::Status IniFile::writeBool(const QString& section, const QString& key, bool flag) {
    return writeString(section, key, flag ? QStringLiteral("1") : QStringLiteral("0"));
}

TextFile::Status IniFile::writeFloat(const QString& section, const QString& key, double number) {
    return writeString(section, key, QString::number(number, 'g', 15));
}

QString IniFile::unreadableMessage() const {
    return QStringLiteral("Nie można odczytać pliku ustawień:\n%1\n\n%2\n\n"
                          "Program działa na ustawieniach domyślnych i nie zapisze zmian w tym pliku.")
        .arg(m_path, m_unreadableReason);
}

TextFile::Status IniFile::commit() {
    // A batch on a file that cannot be read still ends in a commit, so its status tells the refusal.
    if (m_batchDepth > 0)
        m_dirty = true;
    if (isUnreadable())
        return TextFile::Status::failure(unreadableMessage());
    if (m_batchDepth > 0)
        return {};
    QByteArray bytes;
    for (const QString& line : std::as_const(m_lines)) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    TextFile::Status status = TextFile::writeText(m_path, bytes);
    if (status) {
        m_exists = true;
        m_stamp = FileStamp::of(m_path);
    }
    return status;
}

void IniFile::endBatch() {
    if (--m_batchDepth > 0)
        return;
    if (m_dirty) {
        // What another program wrote while the batch was open stays, under the batch's own keys.
        refresh();
        m_dirty = false;
        m_batchStatus = commit();
        announceChanges();
    }
    m_batchWrites.clear();
}

void IniFile::refresh() const {
    const FileStamp now = FileStamp::of(m_path);
    if (now == m_stamp)
        return;
    m_stamp = now;
    // A file removed meanwhile: what is held is kept and the next write puts it back.
    if (!now.exists) {
        m_unreadableReason = QString();
        return;
    }
    FileContent content = readFile(m_path);
    // Unreadable now: the values held stay, and nothing is written over a file whose content is not known.
    m_unreadableReason = std::move(content.unreadableReason);
    if (!content.exists)
        return;
    QStringList lines = std::move(content.lines);
    for (const Write& write : m_batchWrites)
        put(lines, write);
    const QStringList before = std::exchange(m_lines, std::move(lines));
    m_exists = true;
    if (!m_changed)
        return;
    for (const auto& [section, key] : changedKeys(before, m_lines))
        m_changed(section, key);
}

QList<std::pair<QString, QString>> IniFile::changedKeys(const QStringList& before, const QStringList& after) {
    QList<std::pair<QString, QString>> changed;
    QSet<QString> seen;
    for (const QStringList* lines : {&before, &after}) {
        QString section;
        for (const QString& line : *lines) {
            if (isSectionHeader(line)) {
                section = sectionName(line);
                continue;
            }
            if (line.trimmed().startsWith(QLatin1Char(';')))
                continue;
            for (qsizetype eq = line.indexOf(QLatin1Char('=')); eq >= 0; eq = line.indexOf(QLatin1Char('='), eq + 1)) {
                const QString key = QStringView(line).left(eq).trimmed().toString();
                if (key.isEmpty() || section.isEmpty())
                    continue;
                const QString id = section.toLower() + QLatin1Char('\n') + key.toLower();
                if (seen.contains(id))
                    continue;
                seen.insert(id);
                if (stored(before, section, key) != stored(after, section, key))
                    changed.append({section, key});
            }
        }
    }
    return changed;
}

void IniFile::announceChanges() {
    // A handler that writes again starts a list of its own.
    const QList<std::pair<QString, QString>> changes = std::exchange(m_pendingChanges, {});
    if (!m_changed)
        return;
    for (const auto& [section, key] : changes)
        m_changed(section, key);
}
