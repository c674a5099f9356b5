#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// The worked-calls list and the call-info list beside it: each callsign once, in order of first appearance,
// with "callsign;county;locator" for it. Filled by every load and added QSO, and from text MASTER files.
// The callsigns and entries are kept in two long texts with the start of each, and found through a flat table of
// positions: a log of a million contacts holds a third of a million callsigns without a string apiece.
class WorkedCalls {
public:
    bool contains(QStringView call) const { return indexOf(call) >= 0; }
    qsizetype indexOf(QStringView call) const;
    // A callsign as the log file holds it, one byte a character in the file's encoding.
    qsizetype indexOfBytes(QByteArrayView call) const;
    // Adds the callsign with its call-info entry unless it is already known.
    bool add(const QString& call, const QString& info);

    qsizetype size() const { return qsizetype(m_hashes.size()); }
    bool isEmpty() const { return m_hashes.empty(); }
    QStringView call(qsizetype index) const { return piece(m_callText, m_callStarts, index); }
    QStringView info(qsizetype index) const { return piece(m_infoText, m_infoStarts, index); }
    QStringList calls() const;
    QStringList infos() const;
    QString infoFor(QStringView call) const;
    void clear();
    // Room for this many more callsigns, so a large load does not grow the lists and the index step by step.
    void reserve(qsizetype calls);
    // Changes with every add and clear, so a search index built over the list knows when to rebuild.
    quint64 revision() const { return m_revision; }

private:
    static QStringView piece(const QString& text, const std::vector<qsizetype>& starts, qsizetype index) {
        const auto at = size_t(index);
        return QStringView(text).sliced(starts[at], starts[at + 1] - starts[at]);
    }
    template <typename Text> qsizetype find(Text wanted, quint32 hash) const;
    void grow(size_t slotCount);

    QString m_callText;
    std::vector<qsizetype> m_callStarts{0};
    QString m_infoText;
    std::vector<qsizetype> m_infoStarts{0};
    // The hash of each callsign, so the table grows without hashing again and a probe compares numbers first.
    std::vector<quint32> m_hashes;
    // Open addressing, at most half full: the index of a callsign plus one, 0 for a free slot.
    std::vector<quint32> m_slots;
    quint64 m_revision = 0;
};
