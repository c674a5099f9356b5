#include "entry/entryindex.h"

#include "core/textfile.h"
#include "log/logbook.h"

#include <algorithm>

namespace {

bool matches(const QsoRecord& qso, Band band, Mode mode) {
    return qso.band() == band && qso.mode() == mode;
}

QString callOf(const QsoRecord& qso) {
    return TextFile::decode(qso.field(QsoField::Call));
}

QsoRecord newestOf(const LogBook& log) {
    return log.isEmpty() ? QsoRecord() : log.records().back();
}

} // namespace

void EntryIndex::add(const QsoRecord& qso) {
    const QString call = callOf(qso);
    m_contactsByCall[call].push_back(qso);
    QStringList& calls = m_groups[groupKey(qso.band(), qso.mode())].calls;
    const auto at = std::lower_bound(calls.begin(), calls.end(), call);
    if (at == calls.end() || *at != call)
        calls.insert(at, call);
}

void EntryIndex::rebuild(const LogBook& log) {
    m_contactsByCall.clear();
    m_groups.clear();
    for (const QsoRecord& qso : log.records())
        add(qso);
    m_indexedSize = log.size();
    m_indexedLog = &log;
    m_indexedLast = newestOf(log);
    m_lastGroup = {kNoGroup, QString()};
    m_lastText.clear();
    m_lastResult.clear();
}

void EntryIndex::noteAdded(const LogBook& log, const QsoRecord& qso) {
    if (m_indexedLog != &log || m_indexedSize != log.size() - 1) {
        rebuild(log);
        return;
    }
    add(qso);
    m_indexedSize = log.size();
    m_indexedLast = newestOf(log);
    m_lastGroup = {kNoGroup, QString()};
}

void EntryIndex::syncWith(const LogBook& log) {
    if (m_indexedLog != &log || m_indexedSize != log.size() || !(m_indexedLast == newestOf(log)))
        rebuild(log);
}

qsizetype
EntryIndex::scanFirstRow(const LogBook& log, QStringView call, Band band, Mode mode, bool anyBandOrMode) const {
    const QByteArray wanted = TextFile::encode(call);
    for (qsizetype row = 0; row < log.size(); ++row) {
        const QsoRecord& qso = log.record(row);
        if (qso.field(QsoField::Call) == wanted && (anyBandOrMode || matches(qso, band, mode)))
            return row;
    }
    return -1;
}

qsizetype EntryIndex::firstRow(const LogBook& log, QStringView call, Band band, Mode mode, bool anyBandOrMode) {
    syncWith(log);
    const auto found = m_contactsByCall.constFind(call.toString());
    if (found == m_contactsByCall.cend())
        return -1;
    const QsoRecord* first = nullptr;
    for (const QsoRecord& qso : *found) {
        if ((anyBandOrMode || matches(qso, band, mode)) && (!first || qso < *first))
            first = &qso;
    }
    if (!first)
        return -1;
    // The log is sorted, so the first equal contact is the earliest such contact.
    const std::span<const QsoRecord> records = log.records();
    const auto at = std::lower_bound(records.begin(), records.end(), *first);
    if (at != records.end() && *at == *first)
        return at - records.begin();
    // A contact changed in place without a reload: fall back to the scan and start the index afresh.
    rebuild(log);
    return scanFirstRow(log, call, band, mode, anyBandOrMode);
}

QStringList EntryIndex::suggestions(const LogBook& log, Band band, Mode mode, QStringView text) {
    syncWith(log);
    const GroupKey key = groupKey(band, mode);
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
