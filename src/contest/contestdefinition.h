#pragma once

#include "core/bands.h"
#include "core/modes.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the definition file of a contest says: its bands and modes, when a station is a dupe, what the received
// exchange holds, how many points a contact scores, what counts as a multiplier, and the score formula.
// Read from a plain-text file of our own INI form (see the README's "Contest definitions").
struct ContestDefinition {
    enum class DupeRule { PerBand, PerBandAndMode, Once };
    enum class Exchange { ReportAndSerial, ReportAndCode, ReportAndCounty, Locator };
    enum class Formula { PointsTimesMultipliers, PointsOnly };

    // One condition of a points rule; a rule holds when all its conditions hold.
    struct Condition {
        enum class Kind {
            Country,      // the other station's country: own, other, or one of the listed DXCC prefixes
            Continent,    // the other station's continent: own, other, or one of the listed continents
            OwnContinent, // the own station's continent is one of the listed
            Band,         // one of the listed bands
            Mode,         // one of the listed modes
        };
        Kind kind = Kind::Country;
        bool own = false;   // "own" (same as the own station's)
        bool other = false; // "other" (not the own station's)
        QStringList values; // prefixes, continents, band or mode names, upper case
    };
    struct PointsRule {
        int points = 0;      // points of a contact the rule matches
        int pointsPerKm = 0; // when not 0: this many points per kilometre of distance instead
        std::vector<Condition> conditions;
        int line = 0; // where the rule stands in the file, for messages
    };

    enum class MultiplierKind { Country, WpxPrefix, ExchangeCode, County, LargeSquare };
    enum class Scope { PerBand, PerBandAndMode, Once };
    struct Multiplier {
        MultiplierKind kind = MultiplierKind::Country;
        Scope scope = Scope::PerBand;
        QStringList excluded; // countries (DXCC prefixes) or codes that do not count
    };

    QString fileName;     // the file's name without its extension: what `--contest` and the settings hold
    QString name;         // shown to the operator
    QString cabrilloName; // CONTEST: of the Cabrillo header
    std::vector<Band> bands;
    std::vector<Mode> modes;
    DupeRule dupeRule = DupeRule::PerBandAndMode;
    Exchange exchange = Exchange::ReportAndSerial;
    QStringList codes; // the codes a ReportAndCode exchange may hold
    std::vector<PointsRule> pointsRules;
    std::vector<Multiplier> multipliers;
    Formula formula = Formula::PointsTimesMultipliers;
    bool needsCountries() const;
};

// Reading a definition: the definition, or a message naming the file, the line and what is wrong.
struct ContestDefinitionRead {
    std::optional<ContestDefinition> definition;
    QString error;
};
ContestDefinitionRead readContestDefinition(const QString& path);
ContestDefinitionRead parseContestDefinition(const QByteArray& bytes, const QString& fileName);

// The definitions an operator may choose: every *.ini in the installation's contests folder and in the program
// folder's "contests", the program folder's winning by file name. Files that do not read are left out, each with
// its message.
struct ContestCatalog {
    std::vector<ContestDefinition> definitions; // sorted by name
    QStringList errors;
    static ContestCatalog scan(const QStringList& folders);
    const ContestDefinition* find(const QString& fileName) const;
};

// What a definition says, one "what: value" line each, in the operator's words: the name, the Cabrillo name, the
// bands, the modes, the dupe rule, the exchange and the multipliers with their scope.
QStringList describeContest(const ContestDefinition& definition);
