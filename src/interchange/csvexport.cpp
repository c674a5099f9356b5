#include "interchange/csvexport.h"

#include "core/qsoline.h"

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

QString CsvExport::row(QStringView line) {
    const QChar sep = QLatin1Char(';');
    QString out;
    out.reserve(96);
    out += QsoLine::column(line, QsoColumns::Date);
    out += sep;
    out += QsoLine::column(line, QsoColumns::Time);
    out += sep;
    out += QsoLine::trimmedColumn(line, QsoColumns::Band);
    out += sep;
    out += QsoLine::column(line, QsoColumns::Mode);
    out += sep;
    out += QsoLine::trimmedColumn(line, QsoColumns::RstSent);
    out += sep;
    out += QsoLine::trimmedColumn(line, QsoColumns::Stx);
    out += sep;
    out += QsoLine::trimmedColumn(line, QsoColumns::Call);
    out += sep;
    out += QsoLine::trimmedColumn(line, QsoColumns::RstRcvd);
    out += sep;
    out += QsoLine::trimmedColumn(line, QsoColumns::Srx);
    out += sep;
    // A dupe is an ordinary row: its mark is no analysis result.
    const QStringView suffix = QsoLine::trimmedColumn(line, QsoColumns::Suffix);
    if (suffix != QLatin1String("DUPE"))
        out += suffix;
    return out;
}

TextFile::Status
CsvExport::write(const QString& path, const AnalysisOptions& analysis, const std::vector<QString>& log) {
    QStringList out;
    out.reserve(qsizetype(log.size()) + 1);
    out.append(heading(analysis));
    for (const QString& line : log)
        out.append(row(line));
    return TextFile::writeLines(path, out);
}
