#include "contest/contestdefinition.h"

#include "settings/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>

#include <algorithm>

namespace {

// A definition is a page of text; anything much larger is not one, and is not read into memory whole.
constexpr qint64 kMaxFileBytes = 1 << 20;
// How much of a wrong word a message quotes.
constexpr qsizetype kQuotedLength = 40;

constexpr const char* kContinents[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};

QString quoted(QStringView text) {
    if (text.size() <= kQuotedLength)
        return u'"' + text.toString() + u'"';
    return u'"' + text.first(kQuotedLength).toString() + QStringLiteral("…\"");
}

// The words of a value written with blanks or commas between them.
QStringList listItems(const QString& value) {
    QString spaced = value;
    spaced.replace(QLatin1Char(','), QLatin1Char(' '));
    return spaced.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool isLetterOrDigitOnly(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                          [](QChar ch) { return ch.unicode() < 0x80 && (ch.isLetterOrNumber()); });
}

// A DXCC prefix as the country file writes it: letters and digits, and "/" for the few such as "3D2/c".
bool isPrefix(QStringView text) {
    if (text.isEmpty() || text.size() > 10 || text.front() == u'/')
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return ch == u'/' || (ch.unicode() < 0x80 && ch.isLetterOrNumber()); });
}

bool isContinent(QStringView text) {
    return std::any_of(std::begin(kContinents), std::end(kContinents),
                       [text](const char* continent) { return text == QLatin1StringView(continent); });
}

// A whole number of at most six digits (no sign): the points of a rule.
std::optional<int> smallNumber(QStringView text) {
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (const QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        value = value * 10 + (ch.unicode() - u'0');
    }
    return value;
}

// Splits text into lines at CR LF, LF or a lone CR.
QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch != u'\r' && ch != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

using Definition = ContestDefinition;

class DefinitionParser {
public:
    explicit DefinitionParser(QString fileName) : m_fileName(std::move(fileName)) {}

    ContestDefinitionRead parse(const QString& text) {
        const QStringList lines = splitLines(text);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const int line = int(i + 1);
            const QString what = readLine(lines.at(i).trimmed(), line);
            if (!what.isEmpty())
                return failure(line, what);
        }
        return finish();
    }

private:
    enum Section { None = -1, Contest, Points, Multipliers, SectionCount };
    static constexpr const char* kSectionNames[SectionCount] = {"Zawody", "Punkty", "Mnozniki"};
    // The keys of [Zawody]; the required ones first, in the order a missing one is reported.
    enum ContestKey {
        KeyName,
        KeyCabrillo,
        KeyBands,
        KeyModes,
        KeyDupes,
        KeyExchange,
        KeyCodes,
        KeyFormula,
        ContestKeyCount
    };
    static constexpr const char* kContestKeys[ContestKeyCount] = {"Nazwa",       "Cabrillo",  "Pasma", "Emisje",
                                                                  "Powtorzenia", "Odbierana", "Kody",  "Wynik"};
    static constexpr int kRequiredContestKeys = KeyModes + 1;

    ContestDefinitionRead failure(int line, const QString& what) const {
        return {std::nullopt,
                QStringLiteral("Plik zawodów %1, wiersz %2: %3.").arg(m_fileName, QString::number(line), what)};
    }

    QString readLine(const QString& line, int number) {
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            return {};
        if (line.startsWith(u'['))
            return readSectionHeader(line, number);
        const qsizetype eq = line.indexOf(u'=');
        const QString key = eq < 0 ? QString() : line.first(eq).trimmed();
        if (key.isEmpty())
            return QStringLiteral("niezrozumiały wiersz %1").arg(quoted(line));
        const QString value = line.sliced(eq + 1).trimmed();
        switch (m_section) {
        case Contest:
            return readContestKey(key, value, number);
        case Points:
            if (key.compare(u"Regula", Qt::CaseInsensitive) != 0)
                return QStringLiteral("nieznany klucz %1").arg(quoted(key));
            return readPointsRule(value, number);
        case Multipliers:
            if (key.compare(u"Mnoznik", Qt::CaseInsensitive) != 0)
                return QStringLiteral("nieznany klucz %1").arg(quoted(key));
            return readMultiplier(value, number);
        default:
            return QStringLiteral("klucz %1 przed pierwszą sekcją").arg(quoted(key));
        }
    }

    QString readSectionHeader(const QString& line, int number) {
        if (!line.endsWith(u']'))
            return QStringLiteral("niezrozumiały wiersz %1").arg(quoted(line));
        const QString name = line.sliced(1, line.size() - 2).trimmed();
        for (int section = 0; section < SectionCount; ++section) {
            if (name.compare(QLatin1StringView(kSectionNames[section]), Qt::CaseInsensitive) != 0)
                continue;
            if (m_sectionLines[section] != 0)
                return QStringLiteral("powtórzona sekcja [%1]").arg(QLatin1StringView(kSectionNames[section]));
            m_sectionLines[section] = number;
            m_section = Section(section);
            return {};
        }
        return QStringLiteral("nieznana sekcja %1").arg(quoted(line));
    }

    QString readContestKey(const QString& key, const QString& value, int number) {
        int index = -1;
        for (int i = 0; i < ContestKeyCount; ++i) {
            if (key.compare(QLatin1StringView(kContestKeys[i]), Qt::CaseInsensitive) == 0)
                index = i;
        }
        if (index < 0)
            return QStringLiteral("nieznany klucz %1").arg(quoted(key));
        const QLatin1StringView name(kContestKeys[index]);
        if (m_contestKeyLines[index] != 0)
            return QStringLiteral("powtórzony klucz %1").arg(name);
        m_contestKeyLines[index] = number;
        const bool isList = index == KeyBands || index == KeyModes || index == KeyCodes;
        if (value.isEmpty() || (isList && listItems(value).isEmpty()))
            return QStringLiteral("pusta wartość klucza %1").arg(name);
        const QString word = value.simplified().toLower();
        const QString badValue = QStringLiteral("zła wartość %1 klucza %2").arg(quoted(value), name);

        switch (ContestKey(index)) {
        case KeyName:
        case KeyCabrillo: {
            // Shown in the window and written into the Cabrillo header: one line of plain text.
            const QString text = value.simplified();
            if (std::any_of(text.begin(), text.end(),
                            [](QChar ch) { return ch.unicode() < 0x20 || ch.unicode() == 0x7F; }))
                return badValue;
            (index == KeyName ? m_definition.name : m_definition.cabrilloName) = text;
            break;
        }
        case KeyBands: {
            // Kept in the order of the band table, each once, whatever order the file lists them in.
            std::vector<bool> chosen(Bands::all().size(), false);
            for (const QString& item : listItems(value)) {
                const Band band = Band::fromName(item);
                if (!band.isValid())
                    return QStringLiteral("nieznane pasmo %1").arg(quoted(item));
                chosen[size_t(band.index())] = true;
            }
            for (size_t i = 0; i < chosen.size(); ++i) {
                if (chosen[i])
                    m_definition.bands.push_back(Band::fromIndex(int(i)));
            }
            break;
        }
        case KeyModes: {
            std::vector<bool> chosen(Modes::all().size(), false);
            for (const QString& item : listItems(value)) {
                const ModeInfo* mode = Modes::byName(item);
                if (!mode)
                    return QStringLiteral("nieznana emisja %1").arg(quoted(item));
                chosen[size_t(mode - Modes::all().data())] = true;
            }
            for (size_t i = 0; i < chosen.size(); ++i) {
                if (chosen[i])
                    m_definition.modes.push_back(Mode::fromInfo(&Modes::all()[i]));
            }
            break;
        }
        case KeyDupes:
            if (word == u"pasmo")
                m_definition.dupeRule = Definition::DupeRule::PerBand;
            else if (word == u"pasmo i emisja")
                m_definition.dupeRule = Definition::DupeRule::PerBandAndMode;
            else if (word == u"raz")
                m_definition.dupeRule = Definition::DupeRule::Once;
            else
                return badValue;
            break;
        case KeyExchange:
            if (word == u"raport i numer")
                m_definition.exchange = Definition::Exchange::ReportAndSerial;
            else if (word == u"raport i kod")
                m_definition.exchange = Definition::Exchange::ReportAndCode;
            else if (word == u"raport i powiat")
                m_definition.exchange = Definition::Exchange::ReportAndCounty;
            else if (word == u"lokator")
                m_definition.exchange = Definition::Exchange::Locator;
            else
                return badValue;
            break;
        case KeyCodes:
            for (const QString& item : listItems(value)) {
                if (!isLetterOrDigitOnly(item))
                    return QStringLiteral("zły kod %1").arg(quoted(item));
                const QString code = item.toUpper();
                if (!m_definition.codes.contains(code))
                    m_definition.codes.append(code);
            }
            break;
        case KeyFormula:
            if (word == u"punkty x mnozniki")
                m_definition.formula = Definition::Formula::PointsTimesMultipliers;
            else if (word == u"punkty")
                m_definition.formula = Definition::Formula::PointsOnly;
            else
                return badValue;
            break;
        case ContestKeyCount:
            break;
        }
        return {};
    }

    QString readPointsRule(const QString& value, int number) {
        const QStringList words = value.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            return QStringLiteral("reguła bez liczby punktów");
        Definition::PointsRule rule;
        rule.line = number;
        const QString points = words.first().toLower();
        if (points == u"km") {
            rule.pointsPerKm = 1;
        } else if (points.endsWith(u"*km")) {
            const std::optional<int> perKm = smallNumber(QStringView(points).chopped(3));
            if (!perKm || *perKm == 0)
                return QStringLiteral("zła liczba punktów %1").arg(quoted(words.first()));
            rule.pointsPerKm = *perKm;
        } else if (const std::optional<int> whole = smallNumber(points)) {
            rule.points = *whole;
        } else {
            return QStringLiteral("zła liczba punktów %1").arg(quoted(words.first()));
        }
        for (qsizetype i = 1; i < words.size(); ++i) {
            std::optional<Definition::Condition> condition;
            const QString what = readCondition(words.at(i), condition);
            if (!what.isEmpty())
                return what;
            rule.conditions.push_back(std::move(*condition));
        }
        m_definition.pointsRules.push_back(std::move(rule));
        return {};
    }

    static QString readCondition(const QString& word, std::optional<Definition::Condition>& out) {
        using Kind = Definition::Condition::Kind;
        const qsizetype eq = word.indexOf(u'=');
        const QString name = eq < 0 ? word.toLower() : word.first(eq).toLower();
        Definition::Condition condition;
        if (name == u"kraj")
            condition.kind = Kind::Country;
        else if (name == u"kontynent")
            condition.kind = Kind::Continent;
        else if (name == u"moj-kontynent")
            condition.kind = Kind::OwnContinent;
        else if (name == u"pasmo")
            condition.kind = Kind::Band;
        else if (name == u"emisja")
            condition.kind = Kind::Mode;
        else
            return QStringLiteral("nieznany warunek %1").arg(quoted(word));
        const QString bad = QStringLiteral("zły warunek %1").arg(quoted(word));
        if (eq < 0)
            return bad;
        const QString value = word.sliced(eq + 1);
        const bool ownOrOther = condition.kind == Kind::Country || condition.kind == Kind::Continent;
        if (ownOrOther && value.compare(u"wlasny", Qt::CaseInsensitive) == 0) {
            condition.own = true;
        } else if (ownOrOther && value.compare(u"inny", Qt::CaseInsensitive) == 0) {
            condition.other = true;
        } else {
            for (const QString& item : value.split(u',')) {
                QString upper = item.toUpper();
                bool known = false;
                switch (condition.kind) {
                case Kind::Country:
                    known = isPrefix(item);
                    break;
                case Kind::Continent:
                case Kind::OwnContinent:
                    known = isContinent(upper);
                    break;
                case Kind::Band:
                    upper = Band::fromName(item).name();
                    known = !upper.isEmpty();
                    break;
                case Kind::Mode:
                    upper = Mode::fromName(item).name();
                    known = !upper.isEmpty();
                    break;
                }
                if (!known)
                    return bad;
                condition.values.append(upper);
            }
        }
        out = std::move(condition);
        return {};
    }

    QString readMultiplier(const QString& value, int number) {
        using Kind = Definition::MultiplierKind;
        using Scope = Definition::Scope;
        const QStringList words = value.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            return QStringLiteral("mnożnik bez rodzaju (kraj, wpx, kod, powiat albo kwadrat)");
        Definition::Multiplier multiplier;
        const QString kind = words.at(0).toLower();
        if (kind == u"kraj")
            multiplier.kind = Kind::Country;
        else if (kind == u"wpx")
            multiplier.kind = Kind::WpxPrefix;
        else if (kind == u"kod")
            multiplier.kind = Kind::ExchangeCode;
        else if (kind == u"powiat")
            multiplier.kind = Kind::County;
        else if (kind == u"kwadrat")
            multiplier.kind = Kind::LargeSquare;
        else
            return QStringLiteral("nieznany rodzaj mnożnika %1").arg(quoted(words.at(0)));
        if (words.size() < 2)
            return QStringLiteral("mnożnik bez zakresu (pasmo, pasmo-emisja albo raz)");
        const QString scope = words.at(1).toLower();
        if (scope == u"pasmo")
            multiplier.scope = Scope::PerBand;
        else if (scope == u"pasmo-emisja")
            multiplier.scope = Scope::PerBandAndMode;
        else if (scope == u"raz")
            multiplier.scope = Scope::Once;
        else
            return QStringLiteral("nieznany zakres mnożnika %1").arg(quoted(words.at(1)));
        for (qsizetype i = 2; i < words.size(); ++i) {
            const QString& word = words.at(i);
            if (!word.startsWith(u"bez=", Qt::CaseInsensitive))
                return QStringLiteral("niezrozumiałe %1 w mnożniku").arg(quoted(word));
            for (const QString& item : word.sliced(4).split(u',')) {
                if (!isPrefix(item))
                    return QStringLiteral("zła wartość %1 w %2").arg(quoted(item), quoted(word));
                multiplier.excluded.append(item.toUpper());
            }
        }
        if (multiplier.kind == Kind::ExchangeCode && m_firstCodeMultiplierLine == 0)
            m_firstCodeMultiplierLine = number;
        m_definition.multipliers.push_back(std::move(multiplier));
        return {};
    }

    ContestDefinitionRead finish() {
        for (int section = 0; section < SectionCount; ++section) {
            if (m_sectionLines[section] == 0)
                return failure(0, QStringLiteral("brak sekcji [%1]").arg(QLatin1StringView(kSectionNames[section])));
        }
        for (int key = 0; key < kRequiredContestKeys; ++key) {
            if (m_contestKeyLines[key] == 0)
                return failure(
                    m_sectionLines[Contest],
                    QStringLiteral("brak klucza %1 w sekcji [Zawody]").arg(QLatin1StringView(kContestKeys[key])));
        }
        const int codesLine = m_contestKeyLines[KeyCodes];
        const bool byCode = m_definition.exchange == Definition::Exchange::ReportAndCode;
        if (byCode && codesLine == 0)
            return failure(m_contestKeyLines[KeyExchange],
                           QStringLiteral("brak klucza Kody, którego wymaga \"Odbierana=raport i kod\""));
        if (!byCode && codesLine != 0)
            return failure(codesLine, QStringLiteral("klucz Kody bez \"Odbierana=raport i kod\""));
        if (m_firstCodeMultiplierLine != 0 && !byCode)
            return failure(m_firstCodeMultiplierLine,
                           QStringLiteral("mnożnik kod wymaga \"Odbierana=raport i kod\" i klucza Kody"));
        return {std::move(m_definition), QString()};
    }

    QString m_fileName;
    Definition m_definition;
    Section m_section = None;
    int m_sectionLines[SectionCount] = {};
    int m_contestKeyLines[ContestKeyCount] = {};
    int m_firstCodeMultiplierLine = 0;
};

} // namespace

bool ContestDefinition::needsCountries() const {
    const bool byRule = std::any_of(pointsRules.begin(), pointsRules.end(), [](const PointsRule& rule) {
        return std::any_of(rule.conditions.begin(), rule.conditions.end(), [](const Condition& condition) {
            return condition.kind == Condition::Kind::Country || condition.kind == Condition::Kind::Continent ||
                   condition.kind == Condition::Kind::OwnContinent;
        });
    });
    return byRule || std::any_of(multipliers.begin(), multipliers.end(), [](const Multiplier& multiplier) {
               return multiplier.kind == MultiplierKind::Country;
           });
}

ContestDefinitionRead parseContestDefinition(const QByteArray& bytes, const QString& fileName) {
    const QString shownName = QFileInfo(fileName).fileName();
    ContestDefinitionRead read = DefinitionParser(shownName).parse(IniFile::decodeFile(bytes));
    if (read.definition)
        read.definition->fileName = QFileInfo(shownName).completeBaseName();
    return read;
}

ContestDefinitionRead readContestDefinition(const QString& path) {
    const QString shownName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt,
                QStringLiteral("Plik zawodów %1 nie daje się odczytać: %2.").arg(shownName, file.errorString())};
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt,
                QStringLiteral("Plik zawodów %1 nie daje się odczytać: %2.").arg(shownName, file.errorString())};
    if (bytes.size() > kMaxFileBytes)
        return {std::nullopt, QStringLiteral("Plik zawodów %1 jest za duży (ponad 1 MB).").arg(shownName)};
    return parseContestDefinition(bytes, shownName);
}

ContestCatalog ContestCatalog::scan(const QStringList& folders) {
    // The file of each name from the last folder that holds one; names differing only in letter case are one.
    QMap<QString, QString> paths;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : files)
            paths.insert(file.completeBaseName().toLower(), file.filePath());
    }
    ContestCatalog catalog;
    for (const QString& path : std::as_const(paths)) {
        ContestDefinitionRead read = readContestDefinition(path);
        if (read.definition)
            catalog.definitions.push_back(std::move(*read.definition));
        else
            catalog.errors.append(read.error);
    }
    std::stable_sort(catalog.definitions.begin(), catalog.definitions.end(),
                     [](const ContestDefinition& a, const ContestDefinition& b) {
                         const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
                         return byName != 0 ? byName < 0 : a.fileName.compare(b.fileName, Qt::CaseInsensitive) < 0;
                     });
    return catalog;
}

const ContestDefinition* ContestCatalog::find(const QString& fileName) const {
    for (const ContestDefinition& definition : definitions) {
        if (definition.fileName.compare(fileName, Qt::CaseInsensitive) == 0)
            return &definition;
    }
    return nullptr;
}

QStringList describeContest(const ContestDefinition& d) {
    using D = ContestDefinition;
    QStringList bands;
    for (const Band& band : d.bands)
        bands.append(band.name());
    QStringList modes;
    for (const Mode& mode : d.modes)
        modes.append(mode.name());
    const auto dupeText = [](D::DupeRule rule) {
        switch (rule) {
        case D::DupeRule::PerBand:
            return QStringLiteral("raz na każdym paśmie");
        case D::DupeRule::PerBandAndMode:
            return QStringLiteral("raz na każdym paśmie każdą emisją");
        case D::DupeRule::Once:
            return QStringLiteral("raz w zawodach");
        }
        return QString();
    };
    QString exchange;
    switch (d.exchange) {
    case D::Exchange::ReportAndSerial:
        exchange = QStringLiteral("raport i numer");
        break;
    case D::Exchange::ReportAndCode:
        exchange = QStringLiteral("raport i kod (%1)").arg(d.codes.join(QLatin1Char(' ')));
        break;
    case D::Exchange::ReportAndCounty:
        exchange = QStringLiteral("raport i powiat");
        break;
    case D::Exchange::Locator:
        exchange = QStringLiteral("lokator");
        break;
    }
    QStringList multipliers;
    for (const D::Multiplier& m : d.multipliers) {
        static const char* const kinds[] = {"kraje", "prefiksy WPX", "kody", "powiaty", "duże kwadraty"};
        static const char* const scopes[] = {"na każdym paśmie", "na każdym paśmie i emisji", "raz w zawodach"};
        QString text =
            QString::fromUtf8(kinds[int(m.kind)]) + QLatin1Char(' ') + QString::fromUtf8(scopes[int(m.scope)]);
        if (!m.excluded.isEmpty())
            text += QStringLiteral(" (bez %1)").arg(m.excluded.join(QLatin1Char(' ')));
        multipliers.append(text);
    }
    return {QStringLiteral("Nazwa: ") + d.name,
            QStringLiteral("Cabrillo: ") + d.cabrilloName,
            QStringLiteral("Pasma: ") + bands.join(QLatin1Char(' ')),
            QStringLiteral("Emisje: ") + modes.join(QLatin1Char(' ')),
            QStringLiteral("Powtórzenia: ") + dupeText(d.dupeRule),
            QStringLiteral("Wymiana: ") + exchange,
            QStringLiteral("Mnożniki: ") +
                (multipliers.isEmpty() ? QStringLiteral("brak") : multipliers.join(QStringLiteral("; ")))};
}
