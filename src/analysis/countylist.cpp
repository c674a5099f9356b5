#include "analysis/countylist.h"

#include <algorithm>
#include <optional>

namespace {
// Up to three ASCII characters in upper case, and the length above them; nullopt for any other text, which is
// looked up as a string.
std::optional<quint64> packedAscii(QStringView key) {
    constexpr qsizetype kMaxPacked = 3;
    if (key.isEmpty() || key.size() > kMaxPacked)
        return std::nullopt;
    quint64 packed = quint64(key.size()) << 48;
    for (qsizetype i = 0; i < key.size(); ++i) {
        char16_t ch = key[i].unicode();
        if (ch >= 0x80)
            return std::nullopt;
        if (ch >= u'a' && ch <= u'z')
            ch = char16_t(ch - (u'a' - u'A'));
        packed |= quint64(ch) << (16 * i);
    }
    return packed;
}
} // namespace

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
    m_packed.clear();
    for (const QString& entry : entries) {
        const QString upper = entry.toUpper();
        m_upper.insert(upper);
        if (const std::optional<quint64> packed = packedAscii(upper))
            m_packed.push_back({*packed, upper});
    }
    std::sort(m_packed.begin(), m_packed.end());
}

std::optional<QString> CountyList::match(QStringView key) const {
    if (key.isEmpty())
        return std::nullopt;
    if (const std::optional<quint64> packed = packedAscii(key)) {
        const auto at = std::lower_bound(m_packed.begin(), m_packed.end(), Packed{*packed, QString()});
        if (at == m_packed.end() || at->key != *packed)
            return std::nullopt;
        return at->entry == key ? at->entry : key.toString();
    }
    if (!m_upper.contains(key.toString().toUpper()))
        return std::nullopt;
    return key.toString();
}
