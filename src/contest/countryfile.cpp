#include "contest/countryfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QStringList kContinents = {QStringLiteral("AF"), QStringLiteral("AN"), QStringLiteral("AS"), QStringLiteral("EU"),
                                 QStringLiteral("NA"), QStringLiteral("OC"), QStringLiteral("SA")};
constexpr int kHighestCqZone = 40;
constexpr int kHighestItuZone = 90;
constexpr int kHeaderFields = 8;
constexpr qsizetype kMostReservedAliases = 100000; // the file of 2023 holds some 27,000

// The entities the file marks "*" count for the country multiplier as the DXCC country they lie in.
struct WaeCountry {
    const char16_t* prefix;
    const char16_t* dxccPrefix;
};
constexpr WaeCountry kWaeCountries[] = {
    {u"4U1V", u"OE"}, // Vienna International Centre: Austria
    {u"GM/s", u"GM"}, // Shetland Islands: Scotland
    {u"IG9", u"I"},   // African Italy: Italy
    {u"IT9", u"I"},   // Sicily: Italy
    {u"JW/b", u"JW"}, // Bear Island: Svalbard
    {u"TA1", u"TA"},  // European Turkey: Turkey
};

QString loadFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Nie można wczytać pliku krajów cty.dat (%1): %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

bool isCallCharacter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'/';
}

// The mark that ends an override opened by `open`; null when `open` opens none.
QChar closingMark(QChar open) {
    switch (open.unicode()) {
    case u'(':
        return u')';
    case u'[':
        return u']';
    case u'{':
        return u'}';
    case u'<':
        return u'>';
    case u'~':
        return u'~';
    default:
        return {};
    }
}

std::optional<int> zone(QStringView text, int highest) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > highest)
        return std::nullopt;
    return value;
}

std::optional<double> degrees(QStringView text, double limit) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > limit)
        return std::nullopt;
    return value;
}

std::optional<QString> continent(QStringView text) {
    const QString value = text.trimmed().toString().toUpper();
    if (!kContinents.contains(value))
        return std::nullopt;
    return value;
}

// "Name: CQ: ITU: Continent: Lat: Lon: UTC offset: Primary prefix:" and what follows the last colon (the start
// of the aliases). nullopt when a field is missing or out of range.
struct Header {
    Country country;
    QStringView rest;
};
std::optional<Header> parseHeader(QStringView line) {
    QStringView fields[kHeaderFields];
    qsizetype start = 0;
    for (QStringView& field : fields) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'), start);
        if (colon < 0)
            return std::nullopt;
        field = line.mid(start, colon - start).trimmed();
        start = colon + 1;
    }
    const QStringView rest = line.mid(start);
    if (rest.contains(QLatin1Char(':')))
        return std::nullopt;

    Header header;
    Country& country = header.country;
    country.name = fields[0].toString();
    const auto cq = zone(fields[1], kHighestCqZone);
    const auto itu = zone(fields[2], kHighestItuZone);
    const auto cont = continent(fields[3]);
    const auto latitude = degrees(fields[4], 90);
    const auto westLongitude = degrees(fields[5], 180);
    const auto utcOffset = degrees(fields[6], 24);
    QStringView prefix = fields[7];
    const bool waeOnly = prefix.startsWith(QLatin1Char('*'));
    if (waeOnly)
        prefix = prefix.mid(1);
    if (country.name.isEmpty() || !cq || !itu || !cont || !latitude || !westLongitude || !utcOffset ||
        prefix.isEmpty() || !std::all_of(prefix.begin(), prefix.end(), isCallCharacter))
        return std::nullopt;
    country.cqZone = *cq;
    country.ituZone = *itu;
    country.continent = *cont;
    country.latitude = *latitude;
    country.longitude = *westLongitude == 0 ? 0 : -*westLongitude;
    country.prefix = prefix.toString();
    // A WAE entity is told by dxccPrefix differing from prefix; it is set when the whole file is read.
    country.dxccPrefix = waeOnly ? QString() : country.prefix;
    header.rest = rest;
    return header;
}

} // namespace

void CountryFile::clear() {
    m_countries.clear();
    m_prefixes.clear();
    m_exactCalls.clear();
    m_longestPrefix = 0;
}

CountryFile::LoadResult CountryFile::load(const QString& path) {
    clear();
    LoadResult result;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        result.message = loadFailure(path, QStringLiteral("to jest folder, nie plik."));
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.message = loadFailure(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.message = loadFailure(path, file.errorString());
        return result;
    }
    const QString text = QString::fromUtf8(bytes);
    // Room for every alias at once, so the tables do not grow entry by entry; a damaged file full of commas gets
    // no more room than a real one needs.
    const qsizetype exactCalls = std::min(text.count(QLatin1Char('=')), kMostReservedAliases);
    m_exactCalls.reserve(exactCalls);
    m_prefixes.reserve(std::clamp(text.count(QLatin1Char(',')) - exactCalls, qsizetype(0), kMostReservedAliases));

    // A record is a header line and its aliases up to ";". A line with a colon always starts a record: one that
    // has not reached its ";" by then is cut short and left out, as is one whose header does not read.
    std::optional<Country> record;
    QString aliases;
    bool inRecord = false;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        QStringView aliasText = line;
        if (line.contains(QLatin1Char(':'))) {
            auto header = parseHeader(line);
            inRecord = true;
            record.reset();
            aliases.clear();
            if (header) {
                record = std::move(header->country);
                aliasText = header->rest;
            }
        }
        if (!inRecord)
            continue;
        const qsizetype end = aliasText.indexOf(QLatin1Char(';'));
        if (record) {
            aliases += aliasText.left(end < 0 ? aliasText.size() : end);
            aliases += QLatin1Char(' ');
        }
        if (end >= 0) {
            if (record)
                addRecord(std::move(*record), aliases);
            inRecord = false;
            record.reset();
            aliases.clear();
        }
    }
    if (m_countries.empty()) {
        result.message = loadFailure(path, QStringLiteral("plik nie zawiera żadnego kraju."));
        return result;
    }
    resolveDxccPrefixes();
    result.ok = true;
    result.entities = int(m_countries.size());
    return result;
}

// The aliases: prefixes, or whole callsigns after "=", each maybe followed by overrides of the zones, the
// continent, the position ("<lat/lon>") and the UTC offset ("~h~"). An alias that does not read is left out.
void CountryFile::addRecord(Country country, QStringView aliases) {
    const int index = int(m_countries.size());
    const bool waeMarked = country.dxccPrefix.isEmpty();
    m_countries.push_back(std::move(country));
    for (QStringView alias : aliases.split(QLatin1Char(','))) {
        alias = alias.trimmed();
        const bool exact = alias.startsWith(QLatin1Char('='));
        if (exact)
            alias = alias.mid(1);
        qsizetype length = 0;
        while (length < alias.size() && isCallCharacter(alias[length]))
            ++length;
        if (length == 0)
            continue;
        Entry entry;
        entry.country = index;
        bool valid = true;
        for (qsizetype i = length; valid && i < alias.size();) {
            const QChar close = closingMark(alias[i]);
            const qsizetype end = close.isNull() ? -1 : alias.indexOf(close, i + 1);
            if (end < 0) {
                valid = false;
                break;
            }
            const QStringView value = alias.mid(i + 1, end - i - 1);
            if (alias[i] == u'(') {
                const auto cq = zone(value, kHighestCqZone);
                valid = cq.has_value();
                entry.cqZone = cq.value_or(0);
            } else if (alias[i] == u'[') {
                const auto itu = zone(value, kHighestItuZone);
                valid = itu.has_value();
                entry.ituZone = itu.value_or(0);
            } else if (alias[i] == u'{') {
                const auto cont = continent(value);
                valid = cont.has_value();
                entry.continent = cont.value_or(QString());
            }
            i = end + 1;
        }
        if (!valid)
            continue;
        QString name = alias.left(length).toString();
        if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.isLower(); }))
            name = std::move(name).toUpper();
        // The file lists some stations both under a "*" entity and under the DXCC country it lies in (Shetland
        // and Scotland); the "*" entity tells more, the rest keep the first entry.
        QHash<QString, Entry>& table = exact ? m_exactCalls : m_prefixes;
        const auto it = table.constFind(name);
        if (it == table.cend() || (waeMarked && !m_countries[std::size_t(it->country)].dxccPrefix.isEmpty())) {
            if (!exact)
                m_longestPrefix = std::max(m_longestPrefix, int(name.size()));
            table.insert(name, std::move(entry));
        }
    }
}

void CountryFile::resolveDxccPrefixes() {
    for (Country& country : m_countries) {
        if (!country.dxccPrefix.isEmpty())
            continue;
        for (const WaeCountry& wae : kWaeCountries) {
            if (country.prefix == QStringView(wae.prefix))
                country.dxccPrefix = QString::fromUtf16(wae.dxccPrefix);
        }
        if (!country.dxccPrefix.isEmpty())
            continue;
        // A marked entity the program does not know yet: the country of its prefix without the mark's "/x",
        // the longest prefix of a country that is not itself marked.
        const QStringView base = QStringView(country.prefix).left(country.prefix.indexOf(QLatin1Char('/')));
        const QString upper = (base.isEmpty() ? QStringView(country.prefix) : base).toString().toUpper();
        for (qsizetype length = upper.size(); length > 0 && country.dxccPrefix.isEmpty(); --length) {
            const auto it = m_prefixes.constFind(upper.left(length));
            if (it != m_prefixes.cend() && !m_countries[it->country].dxccPrefix.isEmpty() &&
                !m_countries[it->country].isWaeOnly())
                country.dxccPrefix = m_countries[it->country].prefix;
        }
        if (country.dxccPrefix.isEmpty())
            country.dxccPrefix = upper;
    }
}

QString CountryFile::systemPath() {
    return QStringLiteral("/usr/share/hamradio-files/cty.dat");
}

QString CountryFile::pathFor(const QString& programFolder) {
    const QString own = QDir(programFolder).filePath(QStringLiteral("cty.dat"));
    if (!programFolder.isEmpty() && QFileInfo(own).isFile())
        return own;
    return systemPath();
}

Country CountryFile::countryOf(const Entry& entry) const {
    Country country = m_countries[std::size_t(entry.country)];
    if (!entry.continent.isEmpty())
        country.continent = entry.continent;
    if (entry.cqZone > 0)
        country.cqZone = entry.cqZone;
    if (entry.ituZone > 0)
        country.ituZone = entry.ituZone;
    return country;
}

const CountryFile::Entry* CountryFile::findExact(const QString& call) const {
    const auto it = m_exactCalls.constFind(call);
    return it == m_exactCalls.cend() ? nullptr : &*it;
}

const CountryFile::Entry* CountryFile::findLongestPrefix(QStringView text) const {
    QString key = text.left(m_longestPrefix).toString();
    while (!key.isEmpty()) {
        const auto it = m_prefixes.constFind(key);
        if (it != m_prefixes.cend())
            return &*it;
        key.chop(1);
    }
    return nullptr;
}

std::optional<Country> CountryFile::find(QStringView call) const {
    if (m_countries.empty())
        return std::nullopt;
    const QString whole = call.trimmed().toString().toUpper();
    if (whole.isEmpty())
        return std::nullopt;
    if (const Entry* entry = findExact(whole))
        return countryOf(*entry);
    const CallsignParts parts = splitCallsign(whole);
    if (parts.maritime || parts.call.isEmpty())
        return std::nullopt;

    const Entry* entry = nullptr;
    if (!parts.location.isEmpty()) {
        entry = findLongestPrefix(parts.location);
    } else if (!parts.areaDigit.isNull()) {
        // The station works from another call area of its country: its prefix with that area's digit.
        QString moved = parts.call;
        for (qsizetype i = moved.size() - 1; i >= 0; --i) {
            if (moved[i].isDigit()) {
                moved[i] = parts.areaDigit;
                break;
            }
        }
        entry = findLongestPrefix(moved);
        if (!entry)
            entry = findLongestPrefix(parts.call);
    } else {
        entry = findExact(parts.call);
        if (!entry)
            entry = findLongestPrefix(parts.call);
    }
    if (!entry)
        return std::nullopt;
    return countryOf(*entry);
}
