#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

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
    // Room for this many more callsigns, so a large load does not grow the lists and the index step by step.
    void reserve(qsizetype calls);
    // Changes with every add and clear, so a search index built over the list knows when to rebuild.
    quint64 revision() const { return m_revision; }

private:
    QStringList m_calls;
    QStringList m_infos;
    QHash<QString, qsizetype> m_index;
    quint64 m_revision = 0;
};
