#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// One entity of the country file (cty.dat), with the overrides of the entry that matched a callsign applied.
struct Country {
    QString name;       // "Poland", "Shetland Islands"
    QString prefix;     // the entity's primary prefix as the file gives it, without the "*" mark: "SP", "GM/s"
    QString dxccPrefix; // the DXCC country it counts as for a country multiplier: "GM" for the Shetland Islands
    QString continent;  // two letters: AF, AN, AS, EU, NA, OC, SA
    int cqZone = 0;
    int ituZone = 0;
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive (the file writes west positive; it is turned round on reading)
    bool isWaeOnly() const { return dxccPrefix != prefix; }
};

// The countries and continents of callsigns, read from a cty.dat file (the format of the country files used by
// contest loggers, as Debian's hamradio-files ships it). The longest matching prefix wins; an entry written
// "=CALL" matches that whole callsign only and wins over every prefix; "(n)", "[n]", "{XX}" after an entry
// override its CQ zone, ITU zone and continent.
class CountryFile {
public:
    struct LoadResult {
        bool ok = false;
        QString message; // for the operator when the file is missing or cannot be read
        int entities = 0;
    };
    LoadResult load(const QString& path);
    // Where the program reads the file: cty.dat in the program folder when there is one (the operator's newer
    // copy), else the one hamradio-files installs.
    static QString pathFor(const QString& programFolder);
    static QString systemPath();

    bool isLoaded() const { return !m_countries.empty(); }
    // Every entity in the order of the file.
    const std::vector<Country>& countries() const { return m_countries; }
    // The country of a callsign as logged (upper or lower case, with portable designators such as /P, /1, DL/);
    // nullopt when no entry matches.
    std::optional<Country> find(QStringView call) const;

private:
    struct Entry {
        int country = -1;
        QString continent; // empty: the country's
        int cqZone = 0;    // 0: the country's
        int ituZone = 0;
    };
    void clear();
    void addRecord(Country country, QStringView aliases);
    void resolveDxccPrefixes();
    Country countryOf(const Entry& entry) const;
    const Entry* findExact(const QString& call) const;
    const Entry* findLongestPrefix(QStringView text) const;

    // filled by load()
    std::vector<Country> m_countries;
    QHash<QString, Entry> m_prefixes;
    QHash<QString, Entry> m_exactCalls;
    int m_longestPrefix = 0;
};

// A callsign as logged, taken apart for the country and WPX look-ups: upper case, without the designators that
// say nothing about the place (/P, /M, /QRP, /A).
struct CallsignParts {
    QString call;          // the station's own callsign: the longest part ("SP9ABC" of "DL/SP9ABC")
    QString location;      // a prefix written before or after it: "DL", "OH0"; empty when none
    QChar areaDigit;       // a lone digit written after it ("/1"); null when none
    bool maritime = false; // /MM or /AM: at sea or in the air, in no country
};
CallsignParts splitCallsign(QStringView call);

// The WPX prefix of a callsign, as CQ WPX counts it: the callsign up to and including its last digit (SP9ABC →
// SP9, 2E0ABC → 2E0); without a digit, its first two letters and "0" (RAEM → RA0). A portable designator decides
// instead: a lone digit replaces the call's digit (SP9ABC/1 → SP1), letters with a digit are the prefix (OH0/SP9ABC
// → OH0), letters alone get "0" (DL/SP9ABC → DL0). /P, /M, /MM, /AM, /QRP and /A are no designators.
QString wpxPrefix(QStringView call);
