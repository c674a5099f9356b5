#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

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
