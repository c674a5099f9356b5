#include "log/logbook.h"

#include "analysis/exchangeanalysis.h"
#include "analysis/scoresummary.h"
#include "core/bands.h"
#include "core/modes.h"
#include "core/qsoline.h"

#include <algorithm>

qsizetype LogBook::insertSorted(const QString& line) {
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
    m_loggedCounties.clear();
    m_phoneCount = 0;
    m_cwCount = 0;
    m_odxTotal = 0;
    m_vhfSerials = {1, 1, 1, 1};
}

void LogBook::countMode(QStringView modeCode) {
    if (modeCode == QLatin1String("PH"))
        ++m_phoneCount;
    else if (modeCode == QLatin1String("CW"))
        ++m_cwCount;
}

std::optional<PreparedQso>
LogBook::prepare(QStringView line, bool oneQsoPerBand, const AnalysisContext& context, bool checkDupe) const {
    const BandInfo* band = Bands::fromLineField(QsoLine::column(line, QsoColumns::BandNumber));
    if (!band)
        return std::nullopt;
    PreparedQso qso;
    // A line stripped of its trailing blanks (by an editor) is padded back, so marks and suffixes still start
    // at column 75.
    qso.line = QsoLine::body(line);
    if (checkDupe) {
        qso.key = dupeKey(band->dupeCode, Modes::dupeCodeForLineCode(QsoLine::column(qso.line, QsoColumns::Mode)),
                          oneQsoPerBand, QsoLine::trimmedColumn(qso.line, QsoColumns::Call));
        qso.dupe = m_workedKeys.contains(qso.key);
    }
    if (qso.dupe)
        qso.line += QStringLiteral("DUPE");
    qso.analysis = AnalyseQso(qso.line, qso.dupe, context);
    if (!qso.analysis.suffix.isEmpty())
        qso.line = qso.line.left(QsoColumns::kBodyLength) + qso.analysis.suffix;
    return qso;
}

qsizetype LogBook::add(const PreparedQso& qso, Placement placement) {
    if (!qso.key.isEmpty())
        m_workedKeys.insert(qso.key);
    countMode(QsoLine::column(qso.line, QsoColumns::Mode));
    const QsoAnalysis& analysis = qso.analysis;
    if (analysis.distanceKm)
        m_odxTotal += *analysis.distanceKm;
    if (analysis.logCounty)
        m_loggedCounties.insert(analysis.county);
    const QString call = QsoLine::trimmedColumn(qso.line, QsoColumns::Call).toString();
    if (!m_workedCalls.contains(call))
        m_workedCalls.add(call, callInfoEntry(call, analysis.infoCounty, analysis.infoLocator));
    if (placement == Placement::Unsorted) {
        m_lines.push_back(qso.line);
        return -1;
    }
    return insertSorted(qso.line);
}

ScoreFigures LogBook::scoreFigures(const AnalysisOptions& options) const {
    ScoreFigures figures;
    figures.qsoCount = size();
    figures.cwCount = m_cwCount;
    figures.phoneCount = m_phoneCount;
    figures.odxTotal = m_odxTotal;
    figures.showOdx = options.enabled && options.mode == AnalysisMode::Locator;
    return figures;
}
