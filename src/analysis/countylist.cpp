#include "analysis/countylist.h"

QString CountyList::entryFor(QStringView fileLine, AnalysisMode mode) {
    if (mode == AnalysisMode::County)
        return fileLine.left(2).toString();
    return fileLine.mid(3, 1).toString() + fileLine.left(2).toString();
}

TextFile::Status CountyList::LoadCountyList(const QString& path, AnalysisMode mode) {
    QStringList entries;
    const TextFile::Status status = TextFile::forEachLine(path, [&](QString&& line) {
        // A blank line of the file is no county; as an empty entry it would match every empty exchange.
        const QString entry = entryFor(line, mode);
        if (!entry.trimmed().isEmpty())
            entries.append(entry);
        return true;
    });
    setEntries(entries);
    return status;
}

void CountyList::setEntries(const QStringList& entries) {
    m_sorted = entries;
    m_sorted.sort(Qt::CaseInsensitive);
    m_upper.clear();
    m_packed.clear();
    m_upper.reserve(entries.size());
    for (const QString& entry : entries) {
        m_upper.insert(entry.toUpper());
        if (const std::optional<quint64> key = packed(entry))
            m_packed.insert(*key);
    }
}

bool CountyList::contains(QStringView key) const {
    if (key.isEmpty())
        return false;
    if (const std::optional<quint64> small = packed(key))
        return m_packed.contains(*small);
    return m_upper.contains(key.toString().toUpper());
}

std::optional<quint64> CountyList::packed(QStringView key) {
    if (key.size() > 4)
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : key) {
        char16_t u = c.unicode();
        if (u >= 0x80)
            return std::nullopt;
        if (u >= 'a' && u <= 'z')
            u = char16_t(u - 32);
        value = (value << 16) | u;
    }
    return value | (quint64(key.size()) << 62);
}
