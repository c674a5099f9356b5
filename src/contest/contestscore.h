#pragma once

#include "analysis/exchangeanalysis.h"
#include "contest/contestdefinition.h"
#include "contest/countryfile.h"
#include "core/qso.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

// The own station as the score sees it: its callsign (the operator data's contest callsign) and its country.
struct ContestStation {
    QString call;
    std::optional<Country> country;
};

// What one contact scores in the contest: counted at all, a dupe by the contest's rule, its points and the
// multipliers it brings.
struct ContactScore {
    bool inContest = false; // a band and a mode of the contest
    bool dupe = false;      // worked before by the contest's rule
    bool noCountry = false; // the contest needs countries and the callsign has none
    int points = 0;
    std::optional<Country> country;
    QStringList newMultipliers; // what it adds: "DL", "SP9", "B", "GW", "JO91"
    bool countsNothing() const { return !inContest || dupe || (points == 0 && newMultipliers.isEmpty()); }
};

// One line of the score table: a band and a mode with their contacts, points and the multipliers they brought.
struct ScoreRow {
    Band band;
    Mode mode;
    int qsos = 0;
    qint64 points = 0;
    int multipliers = 0;
};

struct ScoreTotals {
    int qsos = 0;
    qint64 points = 0;
    int multipliers = 0;
    qint64 claimed = 0;
};

// The claimed score of a log in one contest, kept up to date contact by contact. Every window and the command
// line ask it; none computes a score itself. The county of a contact and its distance come from the exchange
// analysis (the session's options, with the analysis taken as on).
class ContestScore {
public:
    ContestScore(ContestDefinition definition,
                 const CountryFile* countries,
                 ContestStation own,
                 AnalysisContext analysis);

    const ContestDefinition& definition() const { return m_definition; }
    // The analysis options changed (county list, own locator): takes effect with the next rebuild.
    void setAnalysis(AnalysisContext analysis);
    // Forgets every contact and counts these (in log order).
    void rebuild(std::span<const QsoRecord> records);
    // Counts one more contact and returns what it scored.
    ContactScore add(const Qso& qso);
    // What this contact would score if it were logged now; nothing is counted.
    ContactScore evaluate(const Qso& qso) const;
    // What each contact scored when it was counted, in the order counted: after a rebuild, the log's order (the
    // log window's marks).
    const std::vector<ContactScore>& contactScores() const { return m_contacts; }

    std::vector<ScoreRow> rows() const; // bands and modes of the definition's order, only those worked
    ScoreTotals totals() const;
    // Why the rules that compare with the own station's country give nothing: its callsign is not set or has no
    // country.
    static QString ownCountryUnknownMessage(const QString& ownCall);
    // "Wynik: S (punkty P, mnożniki M)"
    QString scoreLine() const;

private:
    struct Contact {
        Band band;
        Mode mode;
        QString call;
        QString receivedExchange;
    };
    // Counts the contact; scoreOnly() only says what it would score, with the multiplier keys it would add.
    ContactScore score(const Contact& contact);
    ContactScore scoreOnly(const Contact& contact, std::vector<std::pair<size_t, QString>>* newKeys) const;
    std::optional<Country> countryOf(const QString& call, bool keep) const;
    int pointsOf(const Contact& contact, const std::optional<Country>& country) const;
    bool holds(const ContestDefinition::Condition& condition,
               const Contact& contact,
               const std::optional<Country>& country) const;
    QString dupeKey(const Contact& contact) const;
    QString multiplierValue(const ContestDefinition::Multiplier& multiplier,
                            const Contact& contact,
                            const std::optional<Country>& country) const;
    static QString scopedKey(ContestDefinition::Scope scope, const QString& value, const Contact& contact);
    ScoreRow& rowFor(Band band, Mode mode);

    ContestDefinition m_definition;
    const CountryFile* m_countries = nullptr;
    ContestStation m_own;
    AnalysisContext m_analysis;
    QSet<QString> m_worked;
    std::vector<QSet<QString>> m_multipliers; // one set per multiplier of the definition
    std::vector<ScoreRow> m_rows;
    std::vector<ContactScore> m_contacts;
    // The countries of the callsigns counted (a log holds each callsign several times).
    mutable QHash<QString, std::optional<Country>> m_countryCache;
};
