#pragma once

#include "core/qso.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class LogBook;

// Indexes the entry window consults on every keystroke, so a 100,000-contact log answers in microseconds:
// the contacts of each callsign (to find the earlier contact) and, per band and mode, the sorted callsigns
// (for the logged-calls suggestions). Kept in step with the log by noteAdded(); a log changed behind its
// back (reload, edit, delete) is noticed and the index rebuilt.
class EntryIndex {
public:
    void rebuild(const LogBook& log);
    void noteAdded(const LogBook& log, const QsoRecord& qso);
    void syncWith(const LogBook& log);

    // The first row, in log order, of a contact with this callsign; unless anyBandOrMode, also on this band
    // and mode. -1 when there is none.
    qsizetype firstRow(const LogBook& log, QStringView call, Band band, Mode mode, bool anyBandOrMode);

    // Callsigns logged on this band and mode that contain the text, sorted, each once.
    QStringList suggestions(const LogBook& log, Band band, Mode mode, QStringView text);

private:
    struct Group {
        QStringList calls; // sorted, unique
    };
    using GroupKey = QPair<int, QString>; // the band's index and the mode's code
    static GroupKey groupKey(Band band, Mode mode) { return {band.index(), mode.code()}; }
    void add(const QsoRecord& qso);
    qsizetype scanFirstRow(const LogBook& log, QStringView call, Band band, Mode mode, bool anyBandOrMode) const;

    QHash<QString, std::vector<QsoRecord>> m_contactsByCall;
    QHash<GroupKey, Group> m_groups;
    qsizetype m_indexedSize = -1;
    const LogBook* m_indexedLog = nullptr;
    QsoRecord m_indexedLast;

    // The last suggestion query: typing on extends the text, so the next answer is a subset of this one.
    static constexpr int kNoGroup = -1;
    GroupKey m_lastGroup{kNoGroup, QString()};
    QString m_lastText;
    QStringList m_lastResult;
};
