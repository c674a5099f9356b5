#pragma once

#include "core/qso.h"
#include "core/textfile.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <span>

// Reads the "QSO:" lines of a Cabrillo file (2.0 or 3.0, blank-separated tokens) into QSO lines that are
// appended to the log. Contacts of one minute get distinct seconds, in file order, past those the log holds.
class CabrilloImport {
public:
    // The band of a frequency token: kHz by the amateur band edges, or the designators 50, 144, 432, 1.2G.
    // No band (not isValid()) when the frequency is on no band of the program.
    static Band bandOf(QStringView frequency);

    struct Result {
        QStringList lines; // as appended, with their seconds
        int qsoLines = 0;  // "QSO:" lines of the file: a file without any is no Cabrillo log
        // "QSO:" lines left out: a frequency on no band of the program, a line that ends before the callsign,
        // or a callsign position that holds no callsign (an exchange of several words moved it).
        int skipped = 0;
        QStringList notes; // one line for the operator per line left out, with its line number
        TextFile::Status status;
    };

    // existing: the contacts of the log the new ones are added to (their dates and times are taken).
    explicit CabrilloImport(std::span<const QsoRecord> existing);
    Result parse(QStringView text);
    Result readFile(const QString& path);

    static QString skippedLineNote(int lineNumber, const QString& reason);

private:
    // The QSO line of a "QSO:" line; empty with the reason when the line cannot be imported.
    QString lineFor(QStringView upper, QString& reason);
    QSet<QString> m_taken; // date and time with seconds, columns 1–17
};
