#include "contest/contestsession.h"

#include "contest/contestchoice.h"
#include "log/logsession.h"
#include "platform/clock.h"

ContestSession::ContestSession(LogSession& session, QStringList definitionFolders, QObject* parent)
    : QObject(parent), m_session(session), m_folders(std::move(definitionFolders)) {
    connect(&m_session, &LogSession::logReloaded, this, &ContestSession::rebuild);
    connect(&m_session, &LogSession::qsoAdded, this, &ContestSession::contactAdded);
}

ContestSession::~ContestSession() = default;

const ContestCatalog& ContestSession::rescan() {
    m_catalog = ContestCatalog::scan(m_folders);
    return m_catalog;
}

void ContestSession::loadCountries() const {
    if (m_countriesTried)
        return;
    m_countriesTried = true;
    const CountryFile::LoadResult loaded = m_countries.load(CountryFile::pathFor(m_session.folder().path()));
    m_countryProblem = loaded.ok ? QString() : loaded.message;
}

QString ContestSession::choose(const QString& name) {
    if (ContestChoice::isNone(name)) {
        m_chosen = QStringLiteral("brak");
        m_score.reset();
        emit contestChanged();
        emit scoreChanged();
        return {};
    }
    const ContestDefinitionRead read = ContestChoice::find(name, m_folders);
    if (!read.definition)
        return read.error;
    loadCountries();
    m_chosen = name;
    m_score = std::make_unique<ContestScore>(*read.definition, &m_countries, ownStation(), m_session.analysisContext());
    m_score->rebuild(m_session.log().records());
    emit contestChanged();
    emit scoreChanged();
    return {};
}

void ContestSession::ownStationChanged() {
    if (m_score)
        choose(m_chosen);
}

QString ContestSession::ownCountryProblem(const ContestDefinition& definition) {
    if (!definition.needsCountries())
        return {};
    loadCountries();
    if (!m_countries.isLoaded())
        return {};
    const ContestStation own = ownStation();
    return own.country ? QString() : ContestScore::ownCountryUnknownMessage(own.call);
}

ContestStation ContestSession::ownStation() const {
    ContestStation own;
    own.call = m_session.operatorData.contestCall.trimmed().toUpper();
    if (!own.call.isEmpty())
        own.country = m_countries.find(own.call);
    return own;
}

std::optional<Country> ContestSession::countryOf(const QString& call) const {
    if (call.trimmed().isEmpty())
        return std::nullopt;
    loadCountries();
    if (!m_countries.isLoaded())
        return std::nullopt;
    return m_countries.find(call);
}

std::optional<ContactScore> ContestSession::evaluate(const Qso& qso) const {
    if (!m_score)
        return std::nullopt;
    return m_score->evaluate(qso);
}

ContestEntryLine ContestSession::entryLine(const Qso& qso) const {
    if (qso.call.trimmed().isEmpty())
        return {};
    const std::optional<ContactScore> score = evaluate(qso);
    // The score already looked the country up when its contest needs countries.
    const std::optional<Country> country = score && score->country ? score->country : countryOf(qso.call);
    ContestEntryLine line =
        contestEntryLine(qso.call, country, score, m_session.operatorData.locator.trimmed().toUpper());
    // Without a country file no call has a known country: nothing is said rather than "unknown" for every one.
    if (!m_countries.isLoaded())
        line.country.clear();
    return line;
}

QString ContestSession::claimedCaption() const {
    if (!m_score)
        return {};
    return QStringLiteral("Wynik: %1").arg(m_score->totals().claimed);
}

QString ContestSession::summaryCaption() const {
    const QString summary = m_session.scoreSummary();
    return m_score ? summary + QStringLiteral("   ") + claimedCaption() : summary;
}

RateFigures ContestSession::rate() const {
    return rateOf(m_session.log().records(), m_session.clock().now().toUTC());
}

void ContestSession::rebuild() {
    if (!m_score)
        return;
    m_score->setAnalysis(m_session.analysisContext());
    m_score->rebuild(m_session.log().records());
    emit scoreChanged();
}

void ContestSession::contactAdded(qsizetype row) {
    if (!m_score)
        return;
    // A contact logged after the last one only adds; one logged in between (off-line time) changes which
    // contact brought each multiplier, so the score is counted again.
    if (row == m_session.log().size() - 1 && m_score->contactScores().size() == size_t(row))
        m_score->add(m_session.log().qso(row));
    else
        m_score->rebuild(m_session.log().records());
    emit scoreChanged();
}
