#pragma once

#include "analysis/analysisoptions.h"
#include "core/qso.h"
#include "core/textfile.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <span>

// What the ADIF window and the analysis options give every record.
struct AdifExportOptions {
    QString comment;          // "Komentarz dla wszystkich rekordów:"
    QString contest;          // "Zawody": CONTEST_ID
    QString operatorCall;     // "Operator": OPERATOR
    bool sppaComment = false; // "Dodaj SPPA do pola COMMENT"
    bool odxComment = false;  // "Dodaj ODX do pola COMMENT"
    AnalysisOptions analysis;
    // In the county mode: the county list in its province-and-county form (province letter + county code).
    QStringList provinceCountyEntries;
};

class AdifExport {
public:
    explicit AdifExport(AdifExportOptions options);

    static QStringList headerLines();
    // The contest name the export proposes: the Cabrillo contest name of the settings and this year;
    // empty when there is no name, as a year alone names no contest.
    static QString proposedContest(const QString& cabrilloContest, int year);
    // One record on one line, ending with <EOR>.
    QString record(const Qso& qso) const;
    static void appendField(QString& out, QStringView name, QStringView data);

    TextFile::Status write(const QString& path, std::span<const QsoRecord> log) const;

private:
    AdifExportOptions m_options;
    // County code -> province letter; the alphabetically first province wins a code found under several.
    QHash<QString, QChar> m_provinceOfCounty;
};
