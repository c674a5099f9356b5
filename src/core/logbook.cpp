#include "core/logbook.h"

#include "analysis/exchangeanalysis.h"
#include "analysis/scoresummary.h"
#include "core/qsoline.h"

#include <algorithm>

bool WorkedCalls::add(const QString& call, const QString& info) {
    if (m_index.contains(call))
        return false;
    ++m_revision;
    m_index.insert(call, m_calls.size());
    m_calls.append(call);
    m_infos.append(info);
    return true;
}

QString WorkedCalls::infoFor(QStringView call) const {
    const qsizetype i = indexOf(call);
    return i < 0 ? QString() : m_infos.at(i);
}

void WorkedCalls::clear() {
    ++m_revision;
    m_calls.clear();
    m_infos.clear();
    m_index.clear();
}

qsizetype LogBook::insertLine(const QString& line) {
    const auto at = std::upper_bound(m_lines.begin(), m_lines.end(), line);
    const auto row = at - m_lines.begin();
    m_lines.insert(at, line);
    return row;
}

void LogBook::sortLines() {
    // A file written from the log (edit, delete, save as) is already in order: one pass instead of a sort.
    if (std::is_sorted(m_lines.begin(), m_lines.end()))
        return;
    std::stable_sort(m_lines.begin(), m_lines.end());
}

void LogBook::reserve(qsizetype contacts) {
    m_lines.reserve(size_t(contacts));
    m_workedKeys.reserve(contacts);
}

void LogBook::clearContacts() {
    m_lines.clear();
    m_workedKeys.clear();
    loggedCounties.clear();
    phoneCount = 0;
    cwCount = 0;
    odxTotal = 0;
    vhfSerial = {1, 1, 1, 1};
    selectedRow = -1;
}

bool LogBook::addWorkedKey(const QString& key) {
    const auto before = m_workedKeys.size();
    m_workedKeys.insert(key);
    return m_workedKeys.size() != before;
}

void LogBook::countMode(QStringView modeCode) {
    if (modeCode == QLatin1String("PH"))
        ++phoneCount;
    else if (modeCode == QLatin1String("CW"))
        ++cwCount;
}

QString LogBook::analyseAndRegister(const QString& line, bool dupe, const AnalysisContext& context) {
    const QsoAnalysis analysis = AnalyseQso(line, dupe, context);
    if (analysis.distanceKm)
        odxTotal += *analysis.distanceKm;
    if (analysis.logCounty)
        loggedCounties.insert(analysis.county);
    const QString call = QsoLine::trimmedColumn(line, QsoColumns::Call).toString();
    if (!m_workedCalls.contains(call))
        m_workedCalls.add(call, callInfoEntry(call, analysis.infoCounty, analysis.infoLocator));
    if (analysis.suffix.isEmpty())
        return line;
    QString analysed = line;
    analysed.truncate(QsoColumns::kBodyLength);
    return analysed + analysis.suffix;
}

ScoreFigures LogBook::scoreFigures(const AnalysisOptions& options) const {
    ScoreFigures figures;
    figures.qsoCount = size();
    figures.cwCount = cwCount;
    figures.phoneCount = phoneCount;
    figures.odxTotal = odxTotal;
    figures.showOdx = options.enabled && options.mode == AnalysisMode::Locator;
    return figures;
}
