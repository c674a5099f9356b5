#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "analysis/exchangeanalysis.h"
#include "lookup/workedcalls.h"

#include <array>
#include <optional>
#include <set>
#include <vector>

struct ScoreFigures;
struct AnalysisOptions;

// A contact on its way into the log: the line with its dupe mark and analysis suffix, and what it adds to
// the indexes. Worked out by LogBook::prepare() before anything changes, so a new contact can be written to
// the file first and enter memory only when it is on the disk.
struct PreparedQso {
    QString line;
    QString key; // the dupe key; empty when the contact takes none (logged without an exchange)
    bool dupe = false;
    QsoAnalysis analysis;
};

// The in-memory log and every index derived from it.
class LogBook {
public:
    // How a line counts in this log: with the dupe mark when its key is known (checkDupe false: never marked
    // and no key, as a contact logged without an exchange), then the analysis suffix. Changes nothing;
    // nullopt when the band columns hold no band of the table.
    std::optional<PreparedQso>
    prepare(QStringView line, bool oneQsoPerBand, const AnalysisContext& context, bool checkDupe = true) const;
    enum class Placement { Sorted, Unsorted };
    // The one way a contact enters memory, from the loader (Unsorted: it sorts once at the end) and from a
    // new QSO: its key, its mode count, what the analysis credits, its worked-calls entry and the line.
    // Returns the row (Sorted) or -1.
    qsizetype add(const PreparedQso& qso, Placement placement);

    // The log in sorted order (date and time first), one QSO line per entry.
    const std::vector<QString>& lines() const { return m_lines; }
    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }
    const QString& line(qsizetype row) const { return m_lines[size_t(row)]; }
    QString lastLine() const { return m_lines.empty() ? QString() : m_lines.back(); }
    // Inserts in sorted position; returns the row.
    qsizetype insertLine(const QString& line);
    void sortLines();
    // Room for about this many contacts, so a large load does not grow its containers step by step.
    void reserve(qsizetype contacts);

    // Forgets the contacts and what was derived from them; the worked-calls lists stay (they span logs).
    void clearContacts();

    bool hasWorkedKey(const QString& key) const { return m_workedKeys.contains(key); }
    // Returns false when the key was already there.
    bool addWorkedKey(const QString& key);
    qsizetype workedKeyCount() const { return m_workedKeys.size(); }

    WorkedCalls& workedCalls() { return m_workedCalls; }
    const WorkedCalls& workedCalls() const { return m_workedCalls; }

    qint64 phoneCount = 0;
    qint64 cwCount = 0;
    qint64 odxTotal = 0;
    std::array<int, 4> vhfSerial{1, 1, 1, 1}; // next serial on 6M, 2M, 70CM, 23CM
    std::set<QString> loggedCounties;
    qsizetype selectedRow = -1;
    QString path;

    void countMode(QStringView modeCode);
    ScoreFigures scoreFigures(const AnalysisOptions& options) const;
    QStringList loggedCountyList() const { return {loggedCounties.begin(), loggedCounties.end()}; }

private:
    std::vector<QString> m_lines;
    QSet<QString> m_workedKeys;
    WorkedCalls m_workedCalls;
};
