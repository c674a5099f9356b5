#include "interchange/csvexport.h"

#include "core/qsoline.h"
#include "interchange/contactloop.h"

#include <QStringList>

QString CsvExport::heading(const AnalysisOptions& analysis) {
    QString out = QStringLiteral("Data;Godzina;Pasmo;Emisja;RSTS;STX;Znak;RSTR;SRX;");
    if (analysis.enabled) {
        switch (analysis.mode) {
        case AnalysisMode::County:
            out += QStringLiteral("Powiat");
            break;
        case AnalysisMode::ProvinceCounty:
            out += QStringLiteral("Woj-Powiat");
            break;
        case AnalysisMode::Locator:
            out += QStringLiteral("Lokator");
            break;
        }
    }
    return out;
}

QString CsvExport::row(const Qso& qso) {
    const QChar sep = QLatin1Char(';');
    QString out;
    out.reserve(96);
    // Date, time and mode as their cells hold them, the other fields without blanks.
    ContactLoop::appendLeftJustified(out, qso.date, QsoLayout::valueWidth(QsoField::Date));
    out += sep;
    ContactLoop::appendLeftJustified(out, qso.time, QsoLayout::valueWidth(QsoField::Time));
    out += sep;
    out += qso.band.name();
    out += sep;
    out += qso.mode.code();
    out += sep;
    out += qso.rstSent;
    out += sep;
    out += qso.stx;
    out += sep;
    out += qso.call;
    out += sep;
    out += qso.rstRcvd;
    out += sep;
    out += qso.srx;
    out += sep;
    // A dupe is an ordinary row: its mark is no analysis result.
    if (!qso.dupe)
        out += qso.suffix;
    return out;
}

TextFile::Status
CsvExport::write(const QString& path, const AnalysisOptions& analysis, std::span<const QsoRecord> log) {
    QStringList out;
    out.append(heading(analysis));
    ContactLoop::appendLines(out, log, &CsvExport::row);
    return TextFile::writeLines(path, out);
}
