#pragma once

#include "core/qso.h"

#include <QString>
#include <QStringView>

// One contact as the log file, the backups and the log window hold it: a 74-character body with fixed
// columns, optionally followed by the dupe mark or the analysis suffix from column 75.
struct QsoColumn {
    int first; // 1-based
    int width;
};

// Every reader of a line takes its fields from this table; no other file cuts a line at literal columns.
namespace QsoColumns {
inline constexpr int kBodyLength = 74;
inline constexpr QsoColumn Date{1, 10};     // yyyy-mm-dd
inline constexpr QsoColumn ShortDate{3, 8}; // yy-mm-dd
inline constexpr QsoColumn Year{1, 4};
inline constexpr QsoColumn Month{6, 2};
inline constexpr QsoColumn Day{9, 2};
inline constexpr QsoColumn DateAndTime{1, 17};   // yyyy-mm-dd hhmmss
inline constexpr QsoColumn DateAndMinute{1, 15}; // yyyy-mm-dd hhmm
inline constexpr QsoColumn Time{12, 6};          // hhmmss
inline constexpr QsoColumn Minute{12, 4};        // hhmm
inline constexpr QsoColumn Band{19, 4};
inline constexpr QsoColumn BandNumber{19, 3}; // what the loader reads as the band's number
inline constexpr QsoColumn Mode{24, 2};
inline constexpr QsoColumn RstSentWithBlanks{26, 5}; // the report sent with the blank before and after it
inline constexpr QsoColumn RstSent{27, 3};
inline constexpr QsoColumn RstSentCell{27, 4};
inline constexpr QsoColumn Stx{31, 11};
inline constexpr QsoColumn StxSerial{31, 5};  // the serial in front of the own locator ("  001" of "  001 KO02MD")
inline constexpr QsoColumn StxLocator{36, 6}; // the own locator after the serial
inline constexpr QsoColumn Call{43, 15};
inline constexpr QsoColumn CallCell{43, 16};
inline constexpr QsoColumn CallOf14{43, 14}; // the callsign as the Cabrillo lines hold it
inline constexpr QsoColumn RstRcvd{59, 3};
inline constexpr QsoColumn RstRcvdCell{59, 4};
inline constexpr QsoColumn Srx{63, 11};
inline constexpr QsoColumn SrxSerial{63, 5};  // the serial in front of a received locator
inline constexpr QsoColumn SrxLocator{68, 6}; // the received locator after the serial
inline constexpr QsoColumn SrxSquare{68, 4};  // its large and small square ("KO02")
inline constexpr QsoColumn Exchanges{26, 48}; // from the report sent to the end of the received exchange
inline constexpr QsoColumn Suffix{75, 4};     // "DUPE", the county code or the distance in km
} // namespace QsoColumns

// What the entry fields give for one contact; compose() turns it into the line body.
struct QsoFields {
    QString date;     // yyyy-mm-dd
    QString time;     // hh:mm:ss (characters 1–2, 4–5 and 7–8 are used)
    Band band;
    Mode mode;
    QString rstSent;
    QString stxFirst; // serial number or first part of the sent exchange
    QString stxFixed; // fixed part of the sent exchange
    QString call;
    QString rstRcvd;
    QString srx; // received exchange as typed
};

class QsoLine {
public:
    QsoLine() = default;
    explicit QsoLine(QString text) : m_text(std::move(text)) {}

    // The line body of the entry fields, composed as a contact: upper-case, exactly 74 characters.
    static QString compose(const QsoFields& fields);
    // The sent exchange as stored: first part trimmed + fixed part, "_" removed, "-" turned into a blank.
    static QString joinSentExchange(QStringView first, QStringView fixed);
    // The received exchange as stored: blanks removed, "-" turned into a blank.
    static QString normaliseReceivedExchange(QStringView typed);
    static QString rightJustify(QStringView value, int width);
    static QString leftJustify(QStringView value, int width);
    static QString upperAscii(QStringView text);
    // Field data from another program with every control character (line breaks, NUL, tabs …) made a blank:
    // a line break inside a field would split the contact into two broken lines of the log.
    static QString withoutControls(QStringView text);
    // A line for a message: control characters shown as ^@, ^I, ^M …, so nothing in it cuts the text short.
    static QString visibleControls(QStringView line);
    // The line's body cut or blank-padded to exactly 74 characters.
    static QString body(QStringView line);
    static QString body(QString&& line);

    static QStringView column(QStringView line, QsoColumn column);
    static QStringView trimmedColumn(QStringView line, QsoColumn c) { return column(line, c).trimmed(); }

    const QString& text() const { return m_text; }
    QStringView date() const { return column(m_text, QsoColumns::Date); }
    QStringView time() const { return column(m_text, QsoColumns::Time); }
    QStringView band() const { return trimmedColumn(m_text, QsoColumns::Band); }
    QStringView modeCode() const { return column(m_text, QsoColumns::Mode); }
    QStringView rstSent() const { return trimmedColumn(m_text, QsoColumns::RstSent); }
    QStringView rstRcvd() const { return trimmedColumn(m_text, QsoColumns::RstRcvd); }
    QStringView stx() const { return trimmedColumn(m_text, QsoColumns::Stx); }
    QStringView call() const { return trimmedColumn(m_text, QsoColumns::Call); }
    QStringView srx() const { return trimmedColumn(m_text, QsoColumns::Srx); }
    bool isDupe() const { return isDupe(m_text); }
    static bool isDupe(QStringView line) { return line.contains(QLatin1String(" DUPE")); }

private:
    QString m_text;
};

