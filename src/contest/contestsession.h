#pragma once

#include "contest/contestdefinition.h"
#include "contest/contestentryline.h"
#include "contest/contestrate.h"
#include "contest/contestscore.h"
#include "contest/countryfile.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class LogSession;

// The contest the program scores for the open log: the chosen definition, the country file when it needs one,
// and the score, kept current as contacts are logged and the log is read again (edit, delete, import, open).
// With no contest chosen ("brak") the program works as a plain logger and nothing here scores.
class ContestSession : public QObject {
    Q_OBJECT
public:
    ContestSession(LogSession& session, QStringList definitionFolders, QObject* parent = nullptr);
    ~ContestSession() override;

    // The definitions found in the folders, read again.
    const ContestCatalog& rescan();
    const ContestCatalog& catalog() const { return m_catalog; }

    // Chooses a contest by its definition's name ("brak" or empty: none). Returns why it could not be chosen
    // (an unknown name, a definition that does not read); the previous choice then stays. A country file that
    // cannot be read is no refusal: the contest is scored without country rules and countryProblem() says so.
    QString choose(const QString& name);
    const QString& chosenName() const { return m_chosen; }
    bool isActive() const { return m_score != nullptr; }
    const ContestDefinition* definition() const { return m_score ? &m_score->definition() : nullptr; }
    const ContestScore* score() const { return m_score.get(); }
    const QString& countryProblem() const { return m_countryProblem; }
    // Why the rules that compare with the own station's country would give nothing in this contest: the message of
    // ContestScore::ownCountryUnknownMessage, or empty (the contest needs no countries, or they cannot be read).
    QString ownCountryProblem(const ContestDefinition& definition);
    // The own station's country follows the operator data's contest callsign: call after it changed.
    void ownStationChanged();

    // The country of a callsign, when the country file can be read (also without a contest chosen: the file is
    // read at the first look-up).
    std::optional<Country> countryOf(const QString& call) const;
    // What the contact being typed would score now.
    std::optional<ContactScore> evaluate(const Qso& qso) const;
    // "Wynik: S" for the captions beside the summary; empty without a contest.
    // The line under the callsign field for the contact being typed: its country and heading from the own
    // locator, and with a contest chosen what it would score.
    ContestEntryLine entryLine(const Qso& qso) const;
    QString claimedCaption() const;
    // The log's score summary, with the claimed score beside it when a contest is chosen: the log window's caption
    // and the entry window's status line.
    QString summaryCaption() const;
    RateFigures rate() const;

signals:
    void contestChanged();
    // After every logged contact, edit, delete, load and import.
    void scoreChanged();

private:
    void rebuild();
    void contactAdded(qsizetype row);
    ContestStation ownStation() const;
    void loadCountries() const;

    LogSession& m_session;
    QStringList m_folders;
    ContestCatalog m_catalog;
    QString m_chosen = QStringLiteral("brak");
    // Read at the first need, also by the look-ups.
    mutable CountryFile m_countries;
    mutable bool m_countriesTried = false;
    mutable QString m_countryProblem;
    std::unique_ptr<ContestScore> m_score;
};
