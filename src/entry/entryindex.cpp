#include "entry/entryindex.h"

#include "core/qsoline.h"
#include "log/logbook.h"

#include <algorithm>

namespace {

QString groupKey(QStringView band, QStringView modeCode) {
    return band.toString() + QLatin1Char('|') + modeCode.toString();
}

bool lineMatches(QStringView line, QStringView band, QStringView modeCode) {
    return QsoLine::trimmedColumn(line, QsoColumns::Band) == band &&
           QsoLine::column(line, QsoColumns::Mode) == modeCode;
}

} // namespace

void EntryIndex::add(const QString& line) {
    const QString call = QsoLine::trimmedColumn(line, QsoColumns::Call).toString();
    m_linesByCall[call].push_back(line);
    QStringList& calls =
        m_groups[groupKey(QsoLine::trimmedColumn(line, QsoColumns::Band), QsoLine::column(line, QsoColumns::Mode))]
            .calls;
    const auto at = std::lower_bound(calls.begin(), calls.end(), call);
    if (at == calls.end() || *at != call)
        calls.insert(at, call);
}

void EntryIndex::rebuild(const LogBook& log) {
    m_linesByCall.clear();
    m_groups.clear();
    for (const QString& line : log.lines())
        add(line);
    m_indexedSize = log.size();
    m_indexedLog = &log;
    m_indexedLast = log.lastLine();
    m_lastGroup.clear();
    m_lastText.clear();
    m_lastResult.clear();
}

void EntryIndex::noteAdded(const LogBook& log, const QString& line) {
    if (m_indexedLog != &log || m_indexedSize != log.size() - 1) {
        rebuild(log);
        return;
    }
    add(line);
    m_indexedSize = log.size();
    m_indexedLast = log.lastLine();
    m_lastGroup.clear();
}

void EntryIndex::syncWith(const LogBook& log) {
    if (m_indexedLog != &log || m_indexedSize != log.size() || m_indexedLast != log.lastLine())
        rebuild(log);
}

qsizetype EntryIndex::scanFirstRow(
    const LogBook& log, QStringView call, QStringView band, QStringView modeCode, bool anyBandOrMode) const {
    for (qsizetype row = 0; row < log.size(); ++row) {
        const QString& line = log.line(row);
        if (QsoLine::trimmedColumn(line, QsoColumns::Call) == call &&
            (anyBandOrMode || lineMatches(line, band, modeCode)))
            return row;
    }
    return -1;
}

qsizetype
EntryIndex::firstRow(const LogBook& log, QStringView call, QStringView band, QStringView modeCode, bool anyBandOrMode) {
    syncWith(log);
    const auto found = m_linesByCall.constFind(call.toString());
    if (found == m_linesByCall.cend())
        return -1;
    const QString* first = nullptr;
    for (const QString& line : *found) {
        if ((anyBandOrMode || lineMatches(line, band, modeCode)) && (!first || line < *first))
            first = &line;
    }
    if (!first)
        return -1;
    // The log is sorted by its text, so the first equal line is the earliest such contact.
    const auto at = std::lower_bound(log.lines().begin(), log.lines().end(), *first);
    if (at != log.lines().end() && *at == *first)
        return at - log.lines().begin();
    // A line changed in place without a reload: fall back to the scan and start the index afresh.
    rebuild(log);
    return scanFirstRow(log, call, band, modeCode, anyBandOrMode);
}

QStringList EntryIndex::suggestions(const LogBook& log, QStringView band, QStringView modeCode, QStringView text) {
    syncWith(log);
    const QString key = groupKey(band, modeCode);
    const auto group = m_groups.constFind(key);
    if (group == m_groups.cend() || text.isEmpty())
        return {};
    const bool narrowing = key == m_lastGroup && !m_lastText.isEmpty() && text.contains(m_lastText);
    const QStringList& pool = narrowing ? m_lastResult : group->calls;
    QStringList result;
    for (const QString& call : pool) {
        if (call.contains(text))
            result.append(call);
    }
    m_lastGroup = key;
    m_lastText = text.toString();
    m_lastResult = result;
    return result;
}
