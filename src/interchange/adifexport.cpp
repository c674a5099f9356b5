#include "interchange/adifexport.h"

#include "analysis/locator.h"
#include "core/qsoline.h"
#include "interchange/contactloop.h"
#include "platform/programversion.h"

#include <algorithm>

namespace {

struct Frequencies {
    Band band;
    const char* cw;
    const char* other;
};

// The frequency a contact is given on the bands where the log knows no more than the band.
const char* frequencyField(Band band, bool cw) {
    static const Frequencies kRows[] = {
        {Band::fromName(u"160M"), "<FREQ:5>1.810 ", "<FREQ:5>1.840 "},
        {Band::fromName(u"80M"), "<FREQ:5>3.500 ", "<FREQ:5>3.700 "},
        {Band::fromName(u"40M"), "<FREQ:5>7.000 ", "<FREQ:5>7.040 "},
        {Band::fromName(u"30M"), "<FREQ:6>10.100 ", "<FREQ:6>10.140 "},
        {Band::fromName(u"20M"), "<FREQ:6>14.000 ", "<FREQ:6>14.110 "},
        {Band::fromName(u"17M"), "<FREQ:6>18.100 ", "<FREQ:6>18.150 "},
        {Band::fromName(u"15M"), "<FREQ:6>21.000 ", "<FREQ:6>21.250 "},
        {Band::fromName(u"12M"), "<FREQ:6>24.900 ", "<FREQ:6>24.950 "},
        {Band::fromName(u"10M"), "<FREQ:6>28.000 ", "<FREQ:6>28.500 "},
        {Band::fromName(u"6M"), "<FREQ:6>50.000 ", "<FREQ:6>50.105 "},
        {Band::fromName(u"2M"), "<FREQ:7>144.000 ", "<FREQ:7>145.000 "},
    };
    for (const Frequencies& row : kRows) {
        if (row.band == band)
            return cw ? row.cw : row.other;
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

QString AdifExport::record(const Qso& qso) const {
    QString out;
    out.reserve(240);
    // The date cell without its dashes, whatever the cell holds.
    const QString date = QsoLine::leftJustify(qso.date, QsoLayout::valueWidth(QsoField::Date));
    out += QLatin1String("<QSO_DATE:8>");
    out += QStringView(date).left(4);
    out += QStringView(date).mid(5, 2);
    out += QStringView(date).mid(8, 2);
    out += QLatin1String(" <TIME_ON:6>");
    out += QsoLine::leftJustify(qso.time, QsoLayout::valueWidth(QsoField::Time));
    out += QLatin1Char(' ');
    appendField(out, u"BAND", qso.band.name());
    if (const char* freq = frequencyField(qso.band, qso.mode.isCw()))
        out += QLatin1String(freq);
    // The names of the program's modes are those of ADIF; a code of another program's is left out.
    if (qso.mode.isKnown())
        appendField(out, u"MODE", qso.mode.name());
    appendField(out, u"CALL", qso.call);
    appendField(out, u"RST_RCVD", qso.rstRcvd);
    if (!qso.srx.isEmpty())
        appendField(out, u"SRX", qso.srx);
    if (m_options.analysis.mode == AnalysisMode::Locator) {
        const QString locator = qso.srx.right(6);
        if (!LocatorInvalid(locator))
            appendField(out, u"GRIDSQUARE", locator);
    }
    appendField(out, u"RST_SENT", qso.rstSent);
    if (!qso.stx.isEmpty())
        appendField(out, u"STX", qso.stx);

    // A dupe's mark is no analysis result.
    QString note = qso.dupe ? QString() : qso.suffix;
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

TextFile::Status AdifExport::write(const QString& path, std::span<const QsoRecord> log) const {
    QStringList out = headerLines();
    ContactLoop::appendLines(out, log, [this](const Qso& qso) { return record(qso); });
    return TextFile::writeLines(path, out);
}
