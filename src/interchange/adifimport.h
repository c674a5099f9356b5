#pragma once

#include "core/textfile.h"

#include <QString>
#include <QStringList>
#include <array>

// Turns an ADIF file (any logger's) into QSO lines. Fields are read by their whole tag name and their full
// data length, in any letter case, over any number of lines; the header up to <EOH> is skipped.
class AdifImport {
public:
    struct Result {
        QStringList lines;       // one QSO line per usable record, in file order
        int records = 0;         // records ended by <EOR>
        int skippedNoBand = 0;   // records without a band of the band table: the loader could not read them
        TextFile::Status status; // a file that could not be read, or a malformed one (the message says where)
    };

    static Result parse(QStringView text);
    static Result readFile(const QString& path);

    // The fields of a record that a QSO line holds, in this order.
    enum Field { QsoDate, TimeOn, Band, Mode, RstSent, Stx, Call, RstRcvd, Srx, FieldCount };
    using Fields = std::array<QString, FieldCount>;
    // The QSO line of one record; empty when the band is unusable.
    static QString qsoLine(const Fields& fields);
    // ADIF mode name -> the line's mode code; "??" for a mode outside the program's table.
    static QString modeCode(const QString& adifMode);

    // A file that cannot be read to its end is refused whole: the import replaces the log.
    static QString badLengthMessage(int record, const QString& field, const QString& length);
    static QString pastEndMessage(int record, const QString& field);
    static QString truncatedRecordMessage(int record);

    static QString noRecordMessage() {
        return QStringLiteral(
            "Wybrany plik ma format niezgodny ze standardem ADIF  !\n\nImport danych został przerwany.");
    }
};

// Shown when records or lines had to be left out.
QString skippedRecordsMessage(int skipped);
