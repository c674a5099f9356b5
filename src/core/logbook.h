#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <set>
#include <vector>

struct AnalysisContext;
struct ScoreFigures;
struct AnalysisOptions;

// The worked-calls list and the call-info list beside it: each callsign once, in order of first appearance,
// with "callsign;county;locator" for it. Filled by every load and added QSO, and from text MASTER files.
class WorkedCalls {
public:
    bool contains(QStringView call) const { return m_index.contains(call.toString()); }
    qsizetype indexOf(QStringView call) const { return m_index.value(call.toString(), -1); }
    // Adds the callsign with its call-info entry unless it is already known.
    bool add(const QString& call, const QString& info);
    const QStringList& calls() const { return m_calls; }
    const QStringList& infos() const { return m_infos; }
    QString infoFor(QStringView call) const;
    void clear();
    // Changes with every add and clear, so a search index built over the list knows when to rebuild.
    quint64 revision() const { return m_revision; }

private:
    QStringList m_calls;
    QStringList m_infos;
    QHash<QString, qsizetype> m_index;
    quint64 m_revision = 0;
};

// The in-memory log and every index derived from it.
class LogBook {
public:
    // The log in sorted order (date and time first), one QSO line per entry.
    const std::vector<QString>& lines() const { return m_lines; }
    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }
    const QString& line(qsizetype row) const { return m_lines[size_t(row)]; }
    QString lastLine() const { return m_lines.empty() ? QString() : m_lines.back(); }
    // Inserts in sorted position; returns the row.
    qsizetype insertLine(const QString& line);
    void replaceLine(qsizetype row, const QString& line) { m_lines[size_t(row)] = line; }
    // Appends without keeping the order; the loader sorts once at the end.
    void appendUnsorted(QString line) { m_lines.push_back(std::move(line)); }
    void sortLines();
    // Room for about this many contacts, so a large load does not grow its containers step by step.
    void reserve(qsizetype contacts);
    void removeLine(qsizetype row) { m_lines.erase(m_lines.begin() + row); }

    // Forgets the contacts and what was derived from them; the worked-calls lists stay (they span logs).
    void clearContacts();

    bool hasWorkedKey(const QString& key) const { return m_workedKeys.contains(key); }
    // Returns false when the key was already there.
    bool addWorkedKey(const QString& key);
    qsizetype workedKeyCount() const { return m_workedKeys.size(); }

    WorkedCalls& workedCalls() { return m_workedCalls; }
    const WorkedCalls& workedCalls() const { return m_workedCalls; }

    // Steps shared by the loader and by a new QSO: the analysis suffix and what it credits, and the
    // callsign's worked-calls entry. Returns the line with its suffix.
    QString analyseAndRegister(const QString& line, bool dupe, const AnalysisContext& context);

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
