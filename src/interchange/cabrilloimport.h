#pragma once

#include "core/textfile.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// Reads the "QSO:" lines of a Cabrillo file (2.0 or 3.0, blank-separated tokens) into QSO lines that are
// appended to the log. Contacts of one minute get distinct seconds, in file order, past those the log holds.
class CabrilloImport {
public:
    // The band of a frequency token: kHz by the amateur band edges, or the designators 50, 144, 432, 1.2G.
    // Empty when the frequency is on no band of the program.
    static QString bandOf(QStringView frequency);

    struct Result {
        QStringList lines; // as appended, with their seconds
        int skipped = 0;   // "QSO:" lines whose frequency is on no band of the program
        TextFile::Status status;
    };

    // existing: the lines of the log the contacts are added to (their first 17 characters are taken).
    explicit CabrilloImport(const std::vector<QString>& existing);
    Result parse(QStringView text);
    Result readFile(const QString& path);

private:
    QString lineFor(QStringView input, bool& skipped);
    QSet<QString> m_taken; // date and time with seconds, columns 1–17
};
