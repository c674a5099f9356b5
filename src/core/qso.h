#pragma once

#include "core/bands.h"
#include "core/modes.h"

#include <QByteArrayView>
#include <QHashFunctions>
#include <QString>
#include <QStringView>

#include <array>
#include <cstring>
#include <optional>
#include <vector>

// The fields of a contact, in the order of the line.
enum class QsoField : quint8 { Date, Time, Band, Mode, RstSent, Stx, Call, RstRcvd, Srx, Blank };

// One cell of the line: where a field sits, how wide its cell is, how long a value it takes (a report of three
// characters in a cell of four, so a blank follows it) and on which side a shorter value stands.
struct QsoCell {
    QsoField field;
    int first; // 1-based column
    int width;
    int valueWidth;
    bool rightAligned;
};

// The line of the log file, declared once: a 74-character body of fixed cells, then the dupe mark or the
// analysis suffix from column 75.
//
//          1         2         3         4         5         6         7
// 1234567890123456789012345678901234567890123456789012345678901234567890123456789
// 2024-05-04 101500  80M CW 599        001 SP9ABC          599        002 DUPE
namespace QsoLayout {

inline constexpr int kBodyLength = 74;
inline constexpr int kSuffixColumn = kBodyLength + 1;
inline constexpr int kMaxSuffixLength = 8;

inline constexpr std::array<QsoCell, 15> kCells{{
    {QsoField::Date, 1, 10, 10, false},
    {QsoField::Blank, 11, 1, 0, false},
    {QsoField::Time, 12, 6, 6, false},
    {QsoField::Blank, 18, 1, 0, false},
    {QsoField::Band, 19, 4, 4, true},
    {QsoField::Blank, 23, 1, 0, false},
    {QsoField::Mode, 24, 2, 2, false},
    {QsoField::Blank, 26, 1, 0, false},
    {QsoField::RstSent, 27, 4, 3, false},
    {QsoField::Stx, 31, 11, 11, true},
    {QsoField::Blank, 42, 1, 0, false},
    {QsoField::Call, 43, 16, 15, false},
    {QsoField::RstRcvd, 59, 4, 3, false},
    {QsoField::Srx, 63, 11, 11, true},
    {QsoField::Blank, 74, 1, 0, false},
}};

// Every column of the body belongs to exactly one cell, in order, and no value is wider than its cell.
constexpr bool coversBodyExactly() {
    int next = 1;
    for (const QsoCell& cell : kCells) {
        if (cell.first != next || cell.width <= 0 || cell.valueWidth > cell.width)
            return false;
        next += cell.width;
    }
    return next == kBodyLength + 1;
}
static_assert(coversBodyExactly(), "the cells of the line must cover columns 1-74 once each");

constexpr const QsoCell& cell(QsoField field) {
    for (const QsoCell& c : kCells) {
        if (c.field == field)
            return c;
    }
    return kCells.back();
}

// The longest value a field takes: the entry fields and the command line cut to it.
constexpr int valueWidth(QsoField field) {
    return cell(field).valueWidth;
}

// The sent and received exchange of a VHF contact: the serial in the first five columns of the cell, the
// locator in the last six.
inline constexpr int kSerialWidth = 5;
inline constexpr int kLocatorWidth = 6;
static_assert(kSerialWidth + kLocatorWidth == cell(QsoField::Stx).width);
static_assert(kSerialWidth + kLocatorWidth == cell(QsoField::Srx).width);

} // namespace QsoLayout

// One contact as a value. Texts are as the line holds them, without the blanks of their cells.
struct Qso {
    QString date; // yyyy-mm-dd
    QString time; // hhmmss
    Band band;
    Mode mode;
    QString rstSent;
    QString stx; // the sent exchange: serial, or serial and own locator, or the fixed part
    QString call;
    QString rstRcvd;
    QString srx;    // the received exchange
    QString suffix; // what follows the body: "DUPE", a county code or a distance in km; empty when nothing
    bool dupe = false;

    // The line's reading of a contact; nullopt when the band columns hold no band of the table.
    static std::optional<Qso> fromLine(QStringView line);
    // The body (74 characters, upper case) and the whole line with the suffix.
    QString body() const;
    QString line() const;
    // The cells from the field first to the field last, with the blanks between them, as the line holds them:
    // cells(QsoField::RstSent, QsoField::Srx) is the run from the report sent to the end of the received exchange.
    QString cells(QsoField first, QsoField last) const;

    // The parts of the exchanges as they stand in their cells: the serial (five columns, blanks kept) and the
    // locator (six columns) of a VHF exchange, and the received locator's square ("KO02").
    QString stxSerial() const;
    QString stxLocator() const;
    QString srxSerial() const;
    QString srxLocator() const;
    QString srxSquare() const;
    // "yyyy-mm-dd hhmm": the date and the minute.
    QString dateAndMinute() const;
    // The distance credited by the locator analysis; nullopt for a dupe, a county or no suffix.
    std::optional<int> distanceKm() const;

private:
    void appendCell(QString& out, const QsoCell& cell) const;
};

// The dupe key: band, mode (or "x" when one contact per band counts) and callsign, in one small value.
class alignas(16) DupeKey {
public:
    static constexpr int kCallLength = 15;
    DupeKey() = default;
    DupeKey(Band band, Mode mode, bool oneQsoPerBand, QStringView call);
    // From a callsign already in the log's encoding.
    DupeKey(char bandCode, char modeCode, bool oneQsoPerBand, QByteArrayView call);

    friend bool operator==(const DupeKey& a, const DupeKey& b) {
        return a.m_words[0] == b.m_words[0] && a.m_words[1] == b.m_words[1];
    }
    bool isZero() const { return (m_words[0] | m_words[1]) == 0; }
    // A few multiplications over two machine words: the key is hashed for every contact loaded.
    friend size_t qHash(const DupeKey& key, size_t seed = 0) noexcept {
        quint64 hash = seed ^ 0x9E3779B97F4A7C15ULL;
        for (const quint64 word : key.m_words) {
            hash = (hash ^ word) * 0xBF58476D1CE4E5B9ULL;
            hash ^= hash >> 31;
        }
        return size_t(hash);
    }

private:
    // Band and mode packed into the first byte, then the callsign padded with zeros: two machine words, so a
    // probe of the key set compares two numbers.
    std::array<quint64, 2> m_words{};
};
static_assert(sizeof(DupeKey) == 16);

// A set of dupe keys in one flat table (open addressing, linear probing): a look-up touches one place of memory,
// and a look-up followed by the insert of the same key finds that place again in the cache. The all-zero key
// marks a free slot and is kept aside.
class DupeKeySet {
public:
    bool contains(const DupeKey& key) const;
    // true when the key was not there yet.
    bool insert(const DupeKey& key);
    void reserve(qsizetype keys);
    void clear();
    qsizetype size() const { return m_size; }

private:
    size_t slotOf(const DupeKey& key) const;
    void grow(size_t count);
    std::vector<DupeKey> m_slots;
    qsizetype m_size = 0;
    bool m_hasZero = false;
};

// A contact as the log holds it in memory: the body in the file's encoding (one byte a character, so a line
// read and written again is unchanged), the suffix, and band, mode and the dupe mark already read: under a
// hundred bytes and no allocation.
class QsoRecord {
public:
    QsoRecord() = default;
    // The line as it stands in the file: everything after column 74 is dropped, a short body padded with
    // blanks. nullopt when the band columns hold no band of the table.
    static std::optional<QsoRecord> fromBytes(QByteArrayView line);
    static std::optional<QsoRecord> fromLine(QStringView line);

    Band band() const { return m_band; }
    Mode mode() const { return m_mode; }
    bool isDupe() const { return m_dupe; }
    // The suffix after the body: "DUPE" with the dupe mark, or the analysis text.
    void setSuffix(QStringView suffix, bool dupe);

    Qso qso() const;
    QString line() const;
    QString body() const;
    // The line in the file's encoding, without its line end.
    void appendTo(QByteArray& bytes) const;
    // The cells of a field and of the suffix in the file's encoding, trimmed of blanks.
    QByteArrayView field(QsoField field) const;
    QByteArrayView suffixBytes() const { return QByteArrayView(m_suffix.data(), m_suffixLength); }
    // The date and time cells, "yyyy-mm-dd hhmmss": the order of the log.
    QByteArrayView dateAndTime() const { return QByteArrayView(m_body.data(), 17); }

    // The order of the log: by the whole line, as text.
    friend bool operator<(const QsoRecord& a, const QsoRecord& b) { return compare(a, b) < 0; }
    static int compare(const QsoRecord& a, const QsoRecord& b);
    bool hasBodyOf(const QsoRecord& other) const { return m_body == other.m_body; }
    friend bool operator==(const QsoRecord& a, const QsoRecord& b) { return compare(a, b) == 0; }

private:
    std::array<char, QsoLayout::kBodyLength> m_body{};
    std::array<char, QsoLayout::kMaxSuffixLength> m_suffix{};
    quint8 m_suffixLength = 0;
    bool m_dupe = false;
    Band m_band;
    Mode m_mode;
};
