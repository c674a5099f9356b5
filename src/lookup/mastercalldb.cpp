#include "lookup/mastercalldb.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cstring>
#include <limits>

namespace {

quint32 readLittleEndian(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

int byteCode(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= '0' && c <= '9')
        return 26 + (c - '0');
    if (c == '/')
        return 36;
    return -1;
}

// The pattern as bytes ("?" kept), or empty when a character is neither known nor "?".
QByteArray searchPattern(QStringView pattern) {
    const QString upper = pattern.trimmed().toString().toUpper();
    QByteArray bytes;
    bytes.reserve(upper.size());
    for (const QChar c : upper) {
        if (c == QLatin1Char('?')) {
            bytes += '?';
            continue;
        }
        if (MasterCallDatabase::code(c) < 0)
            return {};
        bytes += char(c.unicode());
    }
    return bytes;
}

} // namespace

int MasterCallDatabase::code(QChar c) {
    return c.unicode() < 128 ? byteCode(char(c.unicode())) : -1;
}

QString MasterCallDatabase::invalidFileMessage(const QString& path) {
    return QStringLiteral("%1 is not a valid %2 file.")
        .arg(QFileInfo(path).fileName(), QStringLiteral("Master Callsign Database"));
}

void MasterCallDatabase::clear() {
    m_header.fill(0);
    m_results.clear();
    m_fileName.clear();
    m_fileSize = 0;
    m_fileDate = {};
    m_data.clear();
    m_loaded = false;
}

std::optional<std::array<quint32, MasterCallDatabase::kHeaderEntries>>
MasterCallDatabase::checkImage(const QByteArray& bytes, qint64 notedSize) {
    if (notedSize < kHeaderSize || bytes.size() != notedSize || notedSize > std::numeric_limits<qint32>::max())
        return std::nullopt;
    const quint64 size = quint64(notedSize);
    std::array<quint32, kHeaderEntries> header{};
    for (int i = 0; i < kHeaderEntries; ++i)
        header[size_t(i)] = readLittleEndian(bytes.constData() + 4 * i);
    if (header.front() != quint32(kHeaderSize) || header.back() != size)
        return std::nullopt;
    // Every block lies inside the data, starts where the previous one ended and ends with a NUL.
    for (int k = 0; k + 1 < kHeaderEntries; ++k) {
        const quint32 begin = header[size_t(k)];
        const quint32 end = header[size_t(k) + 1];
        if (end < begin || end > size)
            return std::nullopt;
        if (end > begin && bytes.at(qsizetype(end) - 1) != '\0')
            return std::nullopt;
    }
    return header;
}

MasterCallDatabase::LoadResult MasterCallDatabase::LoadDatabase(const QString& path) {
    clear();
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return {false, QStringLiteral("File not found: ") + path};
    const QString invalid = invalidFileMessage(path);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("File not found: ") + path};
    const qint64 size = file.size();
    if (size < kHeaderSize || size > std::numeric_limits<qint32>::max())
        return {false, invalid};

    // One read of what is there now; the checks below look only at these bytes, so a file that grows or
    // shrinks meanwhile cannot lead the reader outside them.
    QByteArray bytes = file.read(size + 1);
    file.close();
    if (bytes.size() != size)
        return {false, invalid};

    const auto header = checkImage(bytes, size);
    if (!header)
        return {false, invalid};

    m_header = *header;
    m_fileName = path;
    m_fileDate = info.lastModified();
    m_fileSize = qint32(size);
    m_data = bytes.mid(kHeaderSize);
    m_loaded = true;
    return {};
}

QString MasterCallDatabase::fileDateText() const {
    return QLocale().toString(m_fileDate, QLocale::ShortFormat);
}

QString MasterCallDatabase::DatabaseInfo() const {
    return QStringLiteral("%1   %2  (%3 bytes)").arg(m_fileName, fileDateText()).arg(m_fileSize);
}

bool MasterCallDatabase::MatchesPattern(QByteArrayView pattern, QByteArrayView entry) {
    for (qsizetype s = 0; s + pattern.size() <= entry.size(); ++s) {
        qsizetype i = 0;
        while (i < pattern.size() && (pattern[i] == '?' || pattern[i] == entry[s + i]))
            ++i;
        if (i == pattern.size())
            return true;
    }
    return false;
}

bool MasterCallDatabase::PartialSearch(const QString& pattern) {
    m_results.clear();
    if (!m_loaded)
        return false;
    const QByteArray bytes = searchPattern(pattern);
    qsizetype p = 0;
    while (p + 1 < bytes.size() && (bytes[p] == '?' || bytes[p + 1] == '?'))
        ++p;
    if (p + 1 >= bytes.size())
        return false;
    const int k = kAlphabetSize * byteCode(bytes[p]) + byteCode(bytes[p + 1]);
    const char* data = m_data.constData();
    qsizetype at = qsizetype(m_header[size_t(k)] - kHeaderSize);
    const qsizetype end = qsizetype(m_header[size_t(k) + 1] - kHeaderSize);
    while (at < end) {
        // The load made sure the block ends with a NUL, so this stays inside it.
        const auto* nul = static_cast<const char*>(std::memchr(data + at, '\0', size_t(end - at)));
        const qsizetype length = nul - (data + at);
        if (MatchesPattern(bytes, QByteArrayView(data + at, length))) {
            QString entry = QString::fromLatin1(data + at, length);
            entry.replace(QLatin1Char('_'), QLatin1Char(' '));
            m_results.append(entry);
        }
        at += length + 1;
    }
    return !m_results.isEmpty();
}
