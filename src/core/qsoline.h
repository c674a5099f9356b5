#pragma once

#include "core/qso.h"

#include <QString>
#include <QStringView>

// What the entry fields give for one contact; compose() turns it into the line body.
struct QsoFields {
    QString date; // yyyy-mm-dd
    QString time; // hh:mm:ss (characters 1–2, 4–5 and 7–8 are used)
    Band band;
    Mode mode;
    QString rstSent;
    QString stxFirst; // serial number or first part of the sent exchange
    QString stxFixed; // fixed part of the sent exchange
    QString call;
    QString rstRcvd;
    QString srx; // received exchange as typed
};

// Text rules for the fields of a line; the cells themselves are the table of QsoLayout.
namespace QsoLine {
QString compose(const QsoFields& fields);
// The sent exchange as stored: first part trimmed + fixed part, "_" removed, "-" turned into a blank.
QString joinSentExchange(QStringView first, QStringView fixed);
// The received exchange as stored: blanks removed, "-" turned into a blank.
QString normaliseReceivedExchange(QStringView typed);
QString rightJustify(QStringView value, int width);
QString leftJustify(QStringView value, int width);
QString upperAscii(QStringView text);
// Field data from another program with every control character (line breaks, NUL, tabs …) made a blank:
// a line break inside a field would split the contact into two broken lines of the log.
QString withoutControls(QStringView text);
// A line for a message: control characters shown as ^@, ^I, ^M …, so nothing in it cuts the text short.
QString visibleControls(QStringView line);
// The line's body cut or blank-padded to exactly 74 characters.
QString body(QStringView line);
QString body(QString&& line);
// Whether the line carries the dupe mark after its body.
bool isDupe(QStringView line);
} // namespace QsoLine
