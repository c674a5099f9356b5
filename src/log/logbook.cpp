#include "log/logbook.h"

#include "analysis/exchangeanalysis.h"
#include "analysis/scoresummary.h"
#include "core/bands.h"
#include "core/modes.h"
#include "core/qso.h"
#include "core/textfile.h"

#include <algorithm>

qsizetype LogBook::insertSorted(const QsoRecord& record) {
    const auto at = std::upper_bound(m_records.begin(), m_records.end(), record);
    const auto row = at - m_records.begin();
    m_records.insert(at, record);
    return row;
}

void LogBook::sortLines() {
    // A file written from the log (edit, delete, save as) is already in order: one pass instead of a sort.
    if (std::is_sorted(m_records.begin(), m_records.end()))
        return;
    std::stable_sort(m_records.begin(), m_records.end());
}

void LogBook::reserve(qsizetype contacts) {
    m_records.reserve(size_t(contacts));
    m_workedKeys.reserve(contacts);
}

QStringList LogBook::lineTexts() const {
    QStringList lines;
    lines.reserve(size());
    for (const QsoRecord& record : m_records)
        lines.append(record.line());
    return lines;
}

QByteArray LogBook::fileBytes() const {
    QByteArray bytes;
    bytes.reserve(size() * (QsoLayout::kBodyLength + QsoLayout::kMaxSuffixLength + 2));
    for (const QsoRecord& record : m_records) {
        record.appendTo(bytes);
        bytes += "\r\n";
    }
    return bytes;
}

std::optional<Qso> LogBook::lastQso() const {
    if (m_records.empty())
        return std::nullopt;
    return m_records.back().qso();
}

qsizetype LogBook::rowOfBody(QStringView body) const {
    const std::optional<QsoRecord> wanted = QsoRecord::fromLine(body);
    if (!wanted)
        return -1;
    // A body without a suffix sorts before the same body with one.
    const auto at = std::lower_bound(m_records.begin(), m_records.end(), *wanted);
    if (at == m_records.end() || !at->hasBodyOf(*wanted))
        return -1;
    return at - m_records.begin();
}

void LogBook::clearContacts() {
    m_records.clear();
    m_workedKeys.clear();
    m_loggedCounties.clear();
    m_phoneCount = 0;
    m_cwCount = 0;
    m_odxTotal = 0;
    m_vhfSerials = {1, 1, 1, 1};
}

void LogBook::countMode(Mode mode) {
    if (mode.isPhone())
        ++m_phoneCount;
    else if (mode.isCw())
        ++m_cwCount;
}

std::optional<PreparedQso>
LogBook::prepare(QStringView line, bool oneQsoPerBand, const AnalysisContext& context, bool checkDupe) const {
    return prepareBytes(TextFile::encode(line.left(QsoLayout::kBodyLength)), oneQsoPerBand, context, checkDupe);
}

std::optional<PreparedQso>
LogBook::prepareBytes(QByteArrayView line, bool oneQsoPerBand, const AnalysisContext& context, bool checkDupe) const {
    std::optional<QsoRecord> record = QsoRecord::fromBytes(line);
    if (!record)
        return std::nullopt;
    PreparedQso qso{*record, std::nullopt, false, {}};
    if (checkDupe) {
        qso.key = dupeKeyOf(*record, oneQsoPerBand);
        qso.dupe = m_workedKeys.contains(*qso.key);
    }
    analyse(qso, context);
    return qso;
}

DupeKey LogBook::dupeKeyOf(const QsoRecord& record, bool oneQsoPerBand) {
    return {record.band().dupeCode(), record.mode().dupeCode(), oneQsoPerBand, record.field(QsoField::Call)};
}

void LogBook::analyse(PreparedQso& qso, const AnalysisContext& context) {
    if (context.options.enabled && !qso.dupe) {
        // The received exchange is a few characters: decoded on the stack, not into a string.
        const QByteArrayView srx = qso.record.field(QsoField::Srx);
        std::array<char16_t, QsoLayout::kBodyLength> text{};
        const qsizetype length = std::min<qsizetype>(srx.size(), qsizetype(text.size()));
        for (qsizetype i = 0; i < length; ++i)
            text[size_t(i)] = TextFile::decodeByte(srx[i]);
        qso.analysis =
            AnalyseQso(QStringView(text.data(), length), qso.record.band(), qso.record.mode(), qso.dupe, context);
    }
    qso.record.setSuffix(qso.analysis.suffix, qso.dupe);
}

const QsoRecord* LogBook::addFromFile(QByteArrayView line, bool oneQsoPerBand, const AnalysisContext& context) {
    const std::optional<QsoRecord> record = QsoRecord::fromBytes(line);
    if (!record)
        return nullptr;
    // One probe of the key set: the insert tells whether the key was there.
    PreparedQso qso{*record, std::nullopt, !m_workedKeys.insert(dupeKeyOf(*record, oneQsoPerBand)), {}};
    analyse(qso, context);
    add(qso, Placement::Unsorted);
    return &m_records.back();
}

qsizetype LogBook::add(const PreparedQso& qso, Placement placement) {
    if (qso.key)
        m_workedKeys.insert(*qso.key);
    countMode(qso.record.mode());
    const QsoAnalysis& analysis = qso.analysis;
    if (analysis.distanceKm)
        m_odxTotal += *analysis.distanceKm;
    if (analysis.logCounty)
        m_loggedCounties.insert(analysis.county);
    // A callsign the worked-calls list already holds is passed over without building its strings; the list keeps
    // the entry it has.
    const QByteArrayView callBytes = qso.record.field(QsoField::Call);
    if (m_workedCalls.indexOfBytes(callBytes) < 0) {
        const QString call = TextFile::decode(callBytes);
        m_workedCalls.add(call, callInfoEntry(call, analysis.infoCounty, analysis.infoLocator));
    }
    if (placement == Placement::Unsorted) {
        m_records.push_back(qso.record);
        return -1;
    }
    return insertSorted(qso.record);
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
