#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "analysis/exchangeanalysis.h"
#include "core/qso.h"
#include "lookup/workedcalls.h"

#include <array>
#include <optional>
#include <set>
#include <span>
#include <vector>

struct ScoreFigures;
struct AnalysisOptions;

// A contact on its way into the log: the contact with its dupe mark and analysis suffix, and what it adds to
// the indexes. Worked out by LogBook::prepare() before anything changes, so a new contact can be written to
// the file first and enter memory only when it is on the disk.
struct PreparedQso {
    QsoRecord record;
    std::optional<DupeKey> key; // none when the contact takes no key (logged without an exchange)
    bool dupe = false;
    QsoAnalysis analysis;

    // The line as the file takes it.
    QString line() const { return record.line(); }
};

// The in-memory log of typed contacts and every index derived from it.
class LogBook {
public:
    // How a line counts in this log: with the dupe mark when its key is known (checkDupe false: never marked
    // and no key, as a contact logged without an exchange), then the analysis suffix. Changes nothing;
    // nullopt when the band columns hold no band of the table. Everything after column 74 is worked out again.
    std::optional<PreparedQso>
    prepare(QStringView line, bool oneQsoPerBand, const AnalysisContext& context, bool checkDupe = true) const;
    // The same for a line as the file holds it.
    std::optional<PreparedQso>
    prepareBytes(QByteArrayView line, bool oneQsoPerBand, const AnalysisContext& context, bool checkDupe = true) const;
    enum class Placement { Sorted, Unsorted };
    // The one way a contact enters memory, from the loader (Unsorted: it sorts once at the end) and from a
    // new QSO: its key, its mode count, what the analysis credits, its worked-calls entry and the contact.
    // Returns the row (Sorted) or -1.
    qsizetype add(const PreparedQso& qso, Placement placement);
    // The loader's step for one line of the file: prepare and add (unsorted) at once. nullptr when the line is no
    // contact.
    const QsoRecord* addFromFile(QByteArrayView line, bool oneQsoPerBand, const AnalysisContext& context);

    // The log in sorted order (date and time first).
    std::span<const QsoRecord> records() const { return m_records; }
    qsizetype size() const { return qsizetype(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }
    const QsoRecord& record(qsizetype row) const { return m_records[size_t(row)]; }
    Qso qso(qsizetype row) const { return record(row).qso(); }
    // A row as the file holds it.
    QString line(qsizetype row) const { return record(row).line(); }
    QStringList lineTexts() const;
    // Every line as the log file holds it, in the file's encoding with CR LF after each.
    QByteArray fileBytes() const;
    std::optional<Qso> lastQso() const;
    // The first row whose body is this 74-character body (whatever suffix it took), or -1.
    qsizetype rowOfBody(QStringView body) const;
    void sortLines();
    // Room for about this many contacts, so a large load does not grow its containers step by step.
    void reserve(qsizetype contacts);

    // Forgets the contacts and what was derived from them; the worked-calls lists stay (they span logs).
    void clearContacts();

    const QString& path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }

    bool hasWorkedKey(const DupeKey& key) const { return m_workedKeys.contains(key); }
    qsizetype workedKeyCount() const { return m_workedKeys.size(); }

    WorkedCalls& workedCalls() { return m_workedCalls; }
    const WorkedCalls& workedCalls() const { return m_workedCalls; }

    qint64 phoneCount() const { return m_phoneCount; }
    qint64 cwCount() const { return m_cwCount; }
    // The sum of the distances to every located contact, in km.
    qint64 odxTotal() const { return m_odxTotal; }
    ScoreFigures scoreFigures(const AnalysisOptions& options) const;

    // The next serial of each VHF band (6M, 2M, 70CM, 23CM) when the VHF bands count their own serials.
    const std::array<int, 4>& vhfSerials() const { return m_vhfSerials; }
    int nextVhfSerial(int vhfIndex) const { return m_vhfSerials[size_t(vhfIndex)]; }
    void setNextVhfSerial(int vhfIndex, int serial) { m_vhfSerials[size_t(vhfIndex)] = serial; }

    // The counties credited on the current band and mode (county analysis only).
    const std::set<QString>& loggedCounties() const { return m_loggedCounties; }
    QStringList loggedCountyList() const { return {m_loggedCounties.begin(), m_loggedCounties.end()}; }
    void setLoggedCounties(std::set<QString> counties) { m_loggedCounties = std::move(counties); }

private:
    qsizetype insertSorted(const QsoRecord& record);
    static DupeKey dupeKeyOf(const QsoRecord& record, bool oneQsoPerBand);
    static void analyse(PreparedQso& qso, const AnalysisContext& context);
    void countMode(Mode mode);

    QString m_path;
    std::vector<QsoRecord> m_records;
    DupeKeySet m_workedKeys;
    WorkedCalls m_workedCalls;
    qint64 m_phoneCount = 0;
    qint64 m_cwCount = 0;
    qint64 m_odxTotal = 0;
    std::array<int, 4> m_vhfSerials{1, 1, 1, 1};
    std::set<QString> m_loggedCounties;
};
