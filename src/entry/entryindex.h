#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class LogBook;

// Indexes the entry window consults on every keystroke, so a 100,000-contact log answers in microseconds:
// the lines of each callsign (to find the earlier contact) and, per band and mode code, the sorted callsigns
// (for the logged-calls suggestions). Kept in step with the log by noteAdded(); a log changed behind its
// back (reload, edit, delete) is noticed and the index rebuilt.
class EntryIndex {
public:
    void rebuild(const LogBook& log);
    void noteAdded(const LogBook& log, const QString& line);
    void syncWith(const LogBook& log);

    // The first row, in log order, of a line with this callsign; unless anyBandOrMode, also on this band
    // with a line mode code of modeCode. -1 when there is none.
    qsizetype
    firstRow(const LogBook& log, QStringView call, QStringView band, QStringView modeCode, bool anyBandOrMode);

    // Callsigns logged on this band and mode code that contain the text, sorted, each once.
    QStringList suggestions(const LogBook& log, QStringView band, QStringView modeCode, QStringView text);

private:
    struct Group {
        QStringList calls; // sorted, unique
    };
    void add(const QString& line);
    qsizetype scanFirstRow(
        const LogBook& log, QStringView call, QStringView band, QStringView modeCode, bool anyBandOrMode) const;

    QHash<QString, std::vector<QString>> m_linesByCall;
    QHash<QString, Group> m_groups; // key: band + "|" + mode code
    qsizetype m_indexedSize = -1;
    const LogBook* m_indexedLog = nullptr;
    QString m_indexedLast;

    // The last suggestion query: typing on extends the text, so the next answer is a subset of this one.
    QString m_lastGroup;
    QString m_lastText;
    QStringList m_lastResult;
};
