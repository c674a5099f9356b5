#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <QLatin1StringView>

#include <span>

// The band table. The order is the order of the extended selector list (with the WARC bands).
struct BandInfo {
    const char* name; // "160M" … "23CM", as shown in the band selector and trimmed in the line
    char dupeCode;    // the band's character of the dupe key; the WARC bands have letters of their own
    int numericValue; // the number the loader reads from the band field once every "C" is removed
    bool warc;
    bool vhf;
};

namespace Bands {

std::span<const BandInfo> all();
// The selector list: ten standard bands, or thirteen with the WARC bands.
QStringList selectorList(bool withWarc);
const BandInfo* find(QStringView name);
// The band's character of the dupe key; '\0' for a name outside the table.
char dupeCode(QStringView name);
// The loader's reading of a band field: every "C" removed, read as an integer, looked up in the table.
const BandInfo* fromLineField(QStringView field);
bool isVhf(QStringView name);
// Index 0…3 of a VHF band in the order 6M, 2M, 70CM, 23CM, or -1.
int vhfIndex(QStringView name);
inline constexpr int kVhfCount = 4;
QString vhfName(int index);

} // namespace Bands

// One band of the table as a value: compared, hashed and stored as its position, never as text. A default Band
// is no band (isValid() false), as is one read from a name or field outside the table.
class Band {
public:
    constexpr Band() = default;
    static Band fromName(QStringView name);
    // The loader's reading of the band columns of a line (see Bands::fromLineField).
    static Band fromLineField(QStringView field);
    static Band fromInfo(const BandInfo* info);
    static Band fromIndex(int index);

    bool isValid() const { return m_index != kNone; }
    int index() const { return m_index; }
    const BandInfo& info() const;
    QString name() const;
    QLatin1StringView latinName() const;
    char dupeCode() const { return isValid() ? info().dupeCode : '\0'; }
    bool isWarc() const { return isValid() && info().warc; }
    bool isVhf() const { return isValid() && info().vhf; }
    // 0…3 for 6M, 2M, 70CM and 23CM, -1 for every other band.
    int vhfIndex() const;

    friend constexpr bool operator==(Band a, Band b) = default;

private:
    static constexpr quint8 kNone = 0xFF;
    constexpr explicit Band(quint8 index) : m_index(index) {}
    quint8 m_index = kNone;
};
