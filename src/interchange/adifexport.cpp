#include "interchange/adifexport.h"

#include "analysis/locator.h"
#include "core/qsoline.h"
#include "platform/programversion.h"

#include <algorithm>

namespace {

QString field(QStringView line, QsoColumn column) {
    return QsoLine::trimmedColumn(line, column).toString();
}

const char* frequencyField(QStringView band, bool cw) {
    struct Row {
        const char* band;
        const char* cw;
        const char* other;
    };
    static const Row kRows[] = {
        {"160M", "<FREQ:5>1.810 ", "<FREQ:5>1.840 "},   {"80M", "<FREQ:5>3.500 ", "<FREQ:5>3.700 "},
        {"40M", "<FREQ:5>7.000 ", "<FREQ:5>7.040 "},    {"30M", "<FREQ:6>10.100 ", "<FREQ:6>10.140 "},
        {"20M", "<FREQ:6>14.000 ", "<FREQ:6>14.110 "},  {"17M", "<FREQ:6>18.100 ", "<FREQ:6>18.150 "},
        {"15M", "<FREQ:6>21.000 ", "<FREQ:6>21.250 "},  {"12M", "<FREQ:6>24.900 ", "<FREQ:6>24.950 "},
        {"10M", "<FREQ:6>28.000 ", "<FREQ:6>28.500 "},  {"6M", "<FREQ:6>50.000 ", "<FREQ:6>50.105 "},
        {"2M", "<FREQ:7>144.000 ", "<FREQ:7>145.000 "},
    };
    for (const Row& row : kRows) {
        if (band == QLatin1String(row.band))
            return cw ? row.cw : row.other;
    }
    return nullptr;
}

const char* modeField(QStringView code) {
    static const char* const kRows[][2] = {
        {"PH", "<MODE:3>SSB "},  {"CW", "<MODE:2>CW "},    {"FM", "<MODE:2>FM "},
        {"RY", "<MODE:4>RTTY "}, {"PS", "<MODE:5>PSK31 "}, {"HE", "<MODE:4>HELL "},
    };
    for (const auto& row : kRows) {
        if (code == QLatin1String(row[0]))
            return row[1];
    }
    return nullptr;
}

} // namespace

AdifExport::AdifExport(AdifExportOptions options) : m_options(std::move(options)) {
    // CONTEST_ID is an identifier that readers match exactly: blanks around the name are no part of it, and
    // a name of blanks only gives no field.
    m_options.contest = m_options.contest.trimmed();
    QStringList entries = m_options.provinceCountyEntries;
    entries.sort(Qt::CaseInsensitive);
    for (const QString& entry : entries) {
        if (entry.size() < 3)
            continue;
        const QString county = entry.right(2).toUpper();
        if (!m_provinceOfCounty.contains(county))
            m_provinceOfCounty.insert(county, entry.at(0).toUpper());
    }
}

QString AdifExport::proposedContest(const QString& cabrilloContest, int year) {
    const QString name = cabrilloContest.trimmed();
    if (name.isEmpty())
        return {};
    return name + QLatin1Char(' ') + QString::number(year);
}

QStringList AdifExport::headerLines() {
    return {QStringLiteral("ADIF 2.0"), QStringLiteral("Wygenerowany przez program KVR_Log v.") + programVersion(),
            QStringLiteral("<EOH>")};
}

void AdifExport::appendField(QString& out, QStringView name, QStringView data) {
    out += QLatin1Char('<');
    out += name;
    out += QLatin1Char(':');
    qsizetype length = data.size();
    char digits[24];
    int n = 0;
    do {
        digits[n++] = char('0' + length % 10);
        length /= 10;
    } while (length > 0);
    while (n > 0)
        out += QLatin1Char(digits[--n]);
    out += QLatin1Char('>');
    out += data;
    out += QLatin1Char(' ');
}

QString AdifExport::record(QStringView line) const {
    if (line.isEmpty())
        return {};
    QString out;
    out.reserve(240);
    out += QLatin1String("<QSO_DATE:8>");
    out += QsoLine::column(line, QsoColumns::Year);
    out += QsoLine::column(line, QsoColumns::Month);
    out += QsoLine::column(line, QsoColumns::Day);
    out += QLatin1String(" <TIME_ON:6>");
    out += QsoLine::column(line, QsoColumns::Time);
    out += QLatin1Char(' ');
    const QString band = field(line, QsoColumns::Band);
    const QString mode = field(line, QsoColumns::Mode);
    appendField(out, u"BAND", band);
    if (const char* freq = frequencyField(band, mode == QLatin1String("CW")))
        out += QLatin1String(freq);
    if (const char* m = modeField(mode))
        out += QLatin1String(m);
    appendField(out, u"CALL", field(line, QsoColumns::Call));
    appendField(out, u"RST_RCVD", field(line, QsoColumns::RstRcvd));
    const QString srx = field(line, QsoColumns::Srx);
    if (!srx.isEmpty())
        appendField(out, u"SRX", srx);
    if (m_options.analysis.mode == AnalysisMode::Locator) {
        const QString locator = srx.right(6);
        if (!LocatorInvalid(locator))
            appendField(out, u"GRIDSQUARE", locator);
    }
    appendField(out, u"RST_SENT", field(line, QsoColumns::RstSent));
    const QString stx = field(line, QsoColumns::Stx);
    if (!stx.isEmpty())
        appendField(out, u"STX", stx);

    QString note = field(line, QsoColumns::Suffix);
    if (note == QLatin1String("DUPE"))
        note.clear();
    if (m_options.analysis.enabled && !note.isEmpty()) {
        switch (m_options.analysis.mode) {
        case AnalysisMode::County: {
            const auto found = m_provinceOfCounty.constFind(note.toUpper());
            if (found != m_provinceOfCounty.constEnd()) {
                appendField(out, u"STATE", QString(*found));
                appendField(out, u"APP_LOGGER32_CNTY", QString(*found) + QLatin1Char('-') + note);
            }
            note = m_options.sppaComment ? QStringLiteral(" SPPA: ") + note : QString();
            break;
        }
        case AnalysisMode::ProvinceCounty:
            appendField(out, u"STATE", note.left(1));
            appendField(out, u"APP_LOGGER32_CNTY", note.left(1) + QLatin1Char('-') + note.mid(1, 2));
            note = m_options.sppaComment ? QStringLiteral(" SPPA: ") + note : QString();
            break;
        case AnalysisMode::Locator:
            appendField(out, u"DISTANCE", note);
            note = m_options.odxComment ? QStringLiteral(" ODX: ") + note + QStringLiteral("KM") : QString();
            break;
        }
    }
    const QString comment = (note + QLatin1Char(' ') + m_options.comment).trimmed();
    if (!comment.isEmpty())
        appendField(out, u"COMMENT", comment);
    const QString op = m_options.operatorCall.trimmed();
    if (!op.isEmpty())
        appendField(out, u"OPERATOR", op);
    if (!m_options.contest.isEmpty())
        appendField(out, u"CONTEST_ID", m_options.contest);
    out += QLatin1String("<EOR>");
    return out;
}

TextFile::Status AdifExport::write(const QString& path, const std::vector<QString>& log) const {
    QStringList out = headerLines();
    out.reserve(out.size() + qsizetype(log.size()));
    for (const QString& line : log) {
        if (!line.isEmpty())
            out.append(record(line));
    }
    return TextFile::writeLines(path, out);
}
