#include "testqso.h"

#include "core/qsoline.h"

QString TestQso::line() const {
    QsoFields fields;
    fields.date = m_date;
    fields.time = m_time;
    fields.band = Band::fromName(m_band);
    fields.mode = Mode::fromCode(m_mode);
    fields.rstSent = m_rstSent;
    fields.stxFirst = m_stx;
    fields.call = m_call;
    fields.rstRcvd = m_rstRcvd;
    fields.srx = m_srx;
    QString line = QsoLine::compose(fields);
    if (!fields.band.isValid()) {
        // A broken line for the loader's tests: the band cell holds the text as given.
        const QsoCell& cell = QsoLayout::cell(QsoField::Band);
        line.replace(cell.first - 1, cell.width, m_band.rightJustified(cell.width, QLatin1Char(' '), true));
    }
    return line + m_suffix;
}

namespace {

QsoRecord recordOf(const QString& line) {
    QsoRecord record = QsoRecord::fromLine(line).value_or(QsoRecord());
    const QString suffix = line.mid(QsoLayout::kBodyLength).trimmed();
    record.setSuffix(suffix, suffix == QLatin1String("DUPE"));
    return record;
}

} // namespace

QsoRecord TestQso::record() const {
    return recordOf(line());
}

std::vector<QsoRecord> testRecords(const QStringList& lines) {
    std::vector<QsoRecord> records;
    records.reserve(size_t(lines.size()));
    for (const QString& line : lines)
        records.push_back(recordOf(line));
    return records;
}

Qso qsoOf(const QString& line) {
    return Qso::fromLine(line).value_or(Qso());
}
