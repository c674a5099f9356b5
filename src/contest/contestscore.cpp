#include "contest/contestscore.h"

#include "analysis/locator.h"
#include "core/textfile.h"

#include <algorithm>

namespace {

using Condition = ContestDefinition::Condition;
using Multiplier = ContestDefinition::Multiplier;
using Scope = ContestDefinition::Scope;

bool listed(const QStringList& values, const QString& value) {
    return values.contains(value, Qt::CaseInsensitive);
}

// The code of a "report and code" exchange: the letters at its end ("12B", "B" → "B").
QString exchangeCode(QStringView exchange) {
    const QStringView trimmed = exchange.trimmed();
    qsizetype start = trimmed.size();
    while (start > 0 && trimmed[start - 1].isLetter())
        --start;
    return trimmed.sliced(start).toString().toUpper();
}

// The large square of a locator exchange: its first four characters when they are a field and a square.
QString largeSquare(QStringView exchange) {
    const QString text = exchange.trimmed().toString().toUpper();
    if (text.size() < 4)
        return {};
    const QChar a = text[0], b = text[1], c = text[2], d = text[3];
    const bool field = a >= QLatin1Char('A') && a <= QLatin1Char('R') && b >= QLatin1Char('A') && b <= QLatin1Char('R');
    const bool square = c.isDigit() && d.isDigit();
    return field && square ? text.left(4) : QString();
}

} // namespace

ContestScore::ContestScore(ContestDefinition definition,
                           const CountryFile* countries,
                           ContestStation own,
                           AnalysisContext analysis)
    : m_definition(std::move(definition)), m_countries(countries), m_own(std::move(own)),
      m_analysis(std::move(analysis)) {
    m_analysis.options.enabled = true;
    m_multipliers.resize(m_definition.multipliers.size());
}

void ContestScore::setAnalysis(AnalysisContext analysis) {
    m_analysis = std::move(analysis);
    m_analysis.options.enabled = true;
}

void ContestScore::rebuild(std::span<const QsoRecord> records) {
    m_worked.clear();
    for (QSet<QString>& set : m_multipliers)
        set.clear();
    m_rows.clear();
    m_contacts.clear();
    m_contacts.reserve(records.size());
    // Only the callsign and the received exchange are read from each line.
    for (const QsoRecord& record : records) {
        m_contacts.push_back(
            score({record.band(), record.mode(), TextFile::decode(record.field(QsoField::Call)).trimmed().toUpper(),
                   TextFile::decode(record.field(QsoField::Srx))}));
    }
}

ContactScore ContestScore::add(const Qso& qso) {
    m_contacts.push_back(score({qso.band, qso.mode, qso.call.trimmed().toUpper(), qso.srx}));
    return m_contacts.back();
}

ContactScore ContestScore::evaluate(const Qso& qso) const {
    return scoreOnly({qso.band, qso.mode, qso.call.trimmed().toUpper(), qso.srx}, nullptr);
}

ContactScore ContestScore::scoreOnly(const Contact& contact, std::vector<std::pair<size_t, QString>>* newKeys) const {
    ContactScore result;
    result.inContest =
        std::find(m_definition.bands.begin(), m_definition.bands.end(), contact.band) != m_definition.bands.end() &&
        std::find(m_definition.modes.begin(), m_definition.modes.end(), contact.mode) != m_definition.modes.end();
    if (!result.inContest || contact.call.isEmpty())
        return result;
    result.dupe = m_worked.contains(dupeKey(contact));
    if (result.dupe)
        return result;
    // Only counted contacts fill the country cache: the calls typed in the entry window, prefix by prefix, do not.
    result.country = countryOf(contact.call, newKeys != nullptr);
    // Without a country the country rules give nothing: the contact scores no points and brings no country.
    result.noCountry = m_definition.needsCountries() && !result.country;
    result.points = result.noCountry ? 0 : pointsOf(contact, result.country);
    for (size_t i = 0; i < m_definition.multipliers.size(); ++i) {
        const QString value = multiplierValue(m_definition.multipliers[i], contact, result.country);
        if (value.isEmpty())
            continue;
        QString key = scopedKey(m_definition.multipliers[i].scope, value, contact);
        if (m_multipliers[i].contains(key))
            continue;
        result.newMultipliers.append(value);
        if (newKeys)
            newKeys->emplace_back(i, std::move(key));
    }
    return result;
}

ContactScore ContestScore::score(const Contact& contact) {
    std::vector<std::pair<size_t, QString>> newKeys;
    ContactScore result = scoreOnly(contact, &newKeys);
    if (!result.inContest || result.dupe || contact.call.isEmpty())
        return result;
    m_worked.insert(dupeKey(contact));
    ScoreRow& row = rowFor(contact.band, contact.mode);
    ++row.qsos;
    row.points += result.points;
    for (auto& [multiplier, key] : newKeys) {
        m_multipliers[multiplier].insert(std::move(key));
        ++row.multipliers;
    }
    return result;
}

std::optional<Country> ContestScore::countryOf(const QString& call, bool keep) const {
    if (!m_countries || !m_countries->isLoaded())
        return std::nullopt;
    const auto cached = m_countryCache.constFind(call);
    if (cached != m_countryCache.constEnd())
        return *cached;
    std::optional<Country> country = m_countries->find(call);
    if (keep)
        m_countryCache.insert(call, country);
    return country;
}

int ContestScore::pointsOf(const Contact& contact, const std::optional<Country>& country) const {
    for (const ContestDefinition::PointsRule& rule : m_definition.pointsRules) {
        const bool matches = std::all_of(rule.conditions.begin(), rule.conditions.end(),
                                         [&](const Condition& c) { return holds(c, contact, country); });
        if (!matches)
            continue;
        if (rule.pointsPerKm == 0)
            return rule.points;
        AnalysisContext locator = m_analysis;
        locator.options.mode = AnalysisMode::Locator;
        const QsoAnalysis analysis = AnalyseQso(contact.receivedExchange, contact.band, contact.mode, false, locator);
        return analysis.distanceKm ? rule.pointsPerKm * *analysis.distanceKm : 0;
    }
    return 0;
}

bool ContestScore::holds(const Condition& condition,
                         const Contact& contact,
                         const std::optional<Country>& country) const {
    switch (condition.kind) {
    case Condition::Kind::Country:
        if (!country)
            return false;
        if (condition.own || condition.other) {
            if (!m_own.country)
                return false;
            return (country->dxccPrefix == m_own.country->dxccPrefix) == condition.own;
        }
        return listed(condition.values, country->dxccPrefix);
    case Condition::Kind::Continent:
        if (!country)
            return false;
        if (condition.own || condition.other) {
            if (!m_own.country)
                return false;
            return (country->continent == m_own.country->continent) == condition.own;
        }
        return listed(condition.values, country->continent);
    case Condition::Kind::OwnContinent:
        return m_own.country && listed(condition.values, m_own.country->continent);
    case Condition::Kind::Band:
        return listed(condition.values, contact.band.name());
    case Condition::Kind::Mode:
        return contact.mode.isKnown() && listed(condition.values, contact.mode.name());
    }
    return false;
}

QString ContestScore::dupeKey(const Contact& contact) const {
    switch (m_definition.dupeRule) {
    case ContestDefinition::DupeRule::Once:
        return contact.call;
    case ContestDefinition::DupeRule::PerBand:
        return contact.call + QLatin1Char('|') + contact.band.name();
    case ContestDefinition::DupeRule::PerBandAndMode:
        break;
    }
    return contact.call + QLatin1Char('|') + contact.band.name() + QLatin1Char('|') + contact.mode.name();
}

QString ContestScore::multiplierValue(const Multiplier& multiplier,
                                      const Contact& contact,
                                      const std::optional<Country>& country) const {
    QString value;
    switch (multiplier.kind) {
    case ContestDefinition::MultiplierKind::Country:
        value = country ? country->dxccPrefix : QString();
        break;
    case ContestDefinition::MultiplierKind::WpxPrefix:
        value = wpxPrefix(contact.call);
        break;
    case ContestDefinition::MultiplierKind::ExchangeCode:
        value = exchangeCode(contact.receivedExchange);
        if (!listed(m_definition.codes, value))
            value.clear();
        break;
    case ContestDefinition::MultiplierKind::County: {
        AnalysisContext county = m_analysis;
        if (!county.options.countyMode())
            county.options.mode = AnalysisMode::ProvinceCounty;
        value = AnalyseQso(contact.receivedExchange, contact.band, contact.mode, false, county).county.toUpper();
        break;
    }
    case ContestDefinition::MultiplierKind::LargeSquare:
        value = largeSquare(contact.receivedExchange);
        break;
    }
    return listed(multiplier.excluded, value) ? QString() : value;
}

QString ContestScore::scopedKey(Scope scope, const QString& value, const Contact& contact) {
    switch (scope) {
    case Scope::Once:
        return value;
    case Scope::PerBand:
        return value + QLatin1Char('|') + contact.band.name();
    case Scope::PerBandAndMode:
        break;
    }
    return value + QLatin1Char('|') + contact.band.name() + QLatin1Char('|') + contact.mode.name();
}

ScoreRow& ContestScore::rowFor(Band band, Mode mode) {
    for (ScoreRow& row : m_rows) {
        if (row.band == band && row.mode == mode)
            return row;
    }
    m_rows.push_back({band, mode, 0, 0, 0});
    return m_rows.back();
}

std::vector<ScoreRow> ContestScore::rows() const {
    std::vector<ScoreRow> rows = m_rows;
    const auto position = [this](const ScoreRow& row) {
        const auto band = std::find(m_definition.bands.begin(), m_definition.bands.end(), row.band);
        const auto mode = std::find(m_definition.modes.begin(), m_definition.modes.end(), row.mode);
        return std::pair(band - m_definition.bands.begin(), mode - m_definition.modes.begin());
    };
    std::sort(rows.begin(), rows.end(),
              [&](const ScoreRow& a, const ScoreRow& b) { return position(a) < position(b); });
    return rows;
}

ScoreTotals ContestScore::totals() const {
    ScoreTotals totals;
    for (const ScoreRow& row : m_rows) {
        totals.qsos += row.qsos;
        totals.points += row.points;
    }
    for (const QSet<QString>& set : m_multipliers)
        totals.multipliers += int(set.size());
    totals.claimed = m_definition.formula == ContestDefinition::Formula::PointsOnly
                         ? totals.points
                         : totals.points * totals.multipliers;
    return totals;
}

QString ContestScore::scoreLine() const {
    const ScoreTotals t = totals();
    return QStringLiteral("Wynik: %1 (punkty %2, mnożniki %3)").arg(t.claimed).arg(t.points).arg(t.multipliers);
}

QString ContestScore::ownCountryUnknownMessage(const QString& ownCall) {
    if (ownCall.trimmed().isEmpty())
        return QStringLiteral("Brak znaku stacji (\"Uzywany znak\" w danych operatora): reguły zależne od "
                              "własnego kraju i kontynentu nie dają punktów.");
    return QStringLiteral("Znak stacji %1 nie ma kraju w pliku cty.dat: reguły zależne od własnego kraju i "
                          "kontynentu nie dają punktów.")
        .arg(ownCall);
}
