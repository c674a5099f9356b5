#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

// The master callsign database (.dta): a header of 1370 little-endian offsets, one per pair of adjacent
// characters, and the data, where each pair's block lists every callsign containing that pair, NUL after NUL.
// A search reads only the block of the pattern's first pair of known characters.
//
// The file comes from outside the program, so every offset is checked before it is used: a header that does
// not describe the file block by block is rejected as "not a valid" file, and nothing is read outside it.
class MasterCallDatabase {
public:
    static constexpr int kHeaderEntries = 1370;
    static constexpr qint64 kHeaderSize = 4 * kHeaderEntries;
    static constexpr int kAlphabetSize = 37;

    struct LoadResult {
        bool ok = true;
        QString error; // "File not found: …" or "… is not a valid Master Callsign Database file."
        explicit operator bool() const { return ok; }
    };

    // Loads a .dta file. On failure no database is in use (an earlier one is forgotten too).
    LoadResult LoadDatabase(const QString& path);
    bool isLoaded() const { return m_loaded; }
    void clear();

    // "path   date  (size bytes)"
    QString DatabaseInfo() const;
    const QString& fileName() const { return m_fileName; }
    const QDateTime& fileDate() const { return m_fileDate; }
    qint32 fileSize() const { return m_fileSize; }
    // The file date as the program shows it.
    QString fileDateText() const;

    // Fills the result list with every callsign of the database that contains the pattern ("?" = any one
    // character); true when something was found.
    bool PartialSearch(const QString& pattern);
    const QStringList& results() const { return m_results; }

    // Whether the entry (as the database stores it) holds the pattern anywhere, each "?" of the pattern standing
    // for any one character.
    static bool MatchesPattern(QByteArrayView pattern, QByteArrayView entry);
    // A text with "?" is a search pattern: it finds stations, it never names one.
    static bool isPattern(QStringView text) { return text.contains(QLatin1Char('?')); }
    // The character's position in "A…Z0…9/", or -1.
    static int code(QChar c);
    static int pairIndex(QChar a, QChar b) { return kAlphabetSize * code(a) + code(b); }
    static QString invalidFileMessage(const QString& path);
    // Checks a file image read at once against the size noted before reading: the header must describe the
    // bytes block by block. Returns the header, or nothing for a file that is "not a valid" database.
    static std::optional<std::array<quint32, kHeaderEntries>> checkImage(const QByteArray& bytes, qint64 notedSize);

private:
    std::array<quint32, kHeaderEntries> m_header{};
    QStringList m_results;
    QString m_fileName;
    qint32 m_fileSize = 0;
    QDateTime m_fileDate;
    QByteArray m_data;
    bool m_loaded = false;
};
