#pragma once

#include "core/modes.h"
#include "core/textfile.h"

#include <QString>
#include <QStringList>
#include <array>

// Turns an ADIF file (any logger's) into QSO lines. Fields are read by their whole tag name and their full
// data length, in any letter case, over any number of lines; the header up to <EOH> is skipped.
class AdifImport {
public:
    struct Result {
        QStringList lines; // one QSO line per usable record, in file order
        int records = 0;   // records ended by <EOR>
        // Records left out: without a callsign, or without a band or mode of the program's tables.
        int skipped = 0;
        // One line for the operator per record that was left out or whose fields had to be cleaned, in file order.
        QStringList notes;
        TextFile::Status status; // a file that could not be read, or a malformed one (the message says where)
    };

    static Result parse(QStringView text);
    static Result readFile(const QString& path);

    // The fields of a record that a QSO line holds, in this order.
    enum Field { QsoDate, TimeOn, Band, Mode, RstSent, Stx, Call, RstRcvd, Srx, FieldCount };
    using Fields = std::array<QString, FieldCount>;
    // The QSO line of one record; empty when the band is unusable.
    static QString qsoLine(const Fields& fields);
    // Why a record cannot become a contact (no callsign, a band or mode the program does not know); empty when
    // it can.
    static QStringList missingFields(const Fields& fields);
    // The mode of an ADIF mode name, in any case; no mode (not isKnown()) outside the program's table.
    static ::Mode modeOf(QStringView adifMode);
    // Whether field data held a control character between its first and last visible character: cleaning it
    // to a blank changed the value ("SP<CR><LF>1ABC" became "SP  1ABC").
    static bool controlsInside(QStringView data);

    static QString fieldName(Field field);
    static QString cleanedFieldNote(int record, Field field);
    static QString skippedRecordNote(int record, const QStringList& reasons);

    // A file that cannot be read to its end is refused whole: the import replaces the log.
    static QString badLengthMessage(int record, const QString& field, const QString& length);
    static QString pastEndMessage(int record, const QString& field);
    static QString truncatedRecordMessage(int record);

    static QString noRecordMessage() {
        return QStringLiteral(
            "Wybrany plik ma format niezgodny ze standardem ADIF  !\n\nImport danych został przerwany.");
    }
};
