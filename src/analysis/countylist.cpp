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
    m_upper.reserve(entries.size());
    for (const QString& entry : entries)
        m_upper.insert(entry.toUpper());
}

bool CountyList::contains(QStringView key) const {
    if (key.isEmpty())
        return false;
    return m_upper.contains(key.toString().toUpper());
}
