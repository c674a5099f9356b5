#pragma once

#include "core/qso.h"

#include <QString>
#include <QStringList>

#include <vector>

// One contact of a test log, turned into its line by the program's own QsoLine::compose. Every field starts
// with a plain value, so a test names only the fields it is about:
//     TestQso().time("08:00:00").band("40M").call("SP9ABC").srx("123SIC")
// A test whose contacts share other values keeps them in one constant and starts each contact from it. Each
// setter returns a changed copy, so such a constant is never altered.
class TestQso {
public:
    [[nodiscard]] TestQso date(const QString& yyyyMmDd) const { return with(&TestQso::m_date, yyyyMmDd); }
    [[nodiscard]] TestQso time(const QString& hhMmSs) const { return with(&TestQso::m_time, hhMmSs); }
    [[nodiscard]] TestQso band(const QString& name) const { return with(&TestQso::m_band, name); }
    [[nodiscard]] TestQso mode(const QString& code) const { return with(&TestQso::m_mode, code); }
    // Both reports.
    [[nodiscard]] TestQso rst(const QString& report) const { return rstSent(report).rstRcvd(report); }
    [[nodiscard]] TestQso rstSent(const QString& report) const { return with(&TestQso::m_rstSent, report); }
    [[nodiscard]] TestQso rstRcvd(const QString& report) const { return with(&TestQso::m_rstRcvd, report); }
    // The sent exchange as typed in its first field.
    [[nodiscard]] TestQso stx(const QString& exchange) const { return with(&TestQso::m_stx, exchange); }
    [[nodiscard]] TestQso call(const QString& callsign) const { return with(&TestQso::m_call, callsign); }
    // The received exchange as typed.
    [[nodiscard]] TestQso srx(const QString& exchange) const { return with(&TestQso::m_srx, exchange); }
    // What follows the 74-character body from column 75: "DUPE", a county code, a distance.
    [[nodiscard]] TestQso suffix(const QString& text) const { return with(&TestQso::m_suffix, text); }

    QString line() const;
    operator QString() const { return line(); }
    // The contact as the log holds it in memory, its suffix and dupe mark included, and as a typed value.
    QsoRecord record() const;
    Qso qso() const { return record().qso(); }

private:
    TestQso with(QString TestQso::*field, const QString& value) const {
        TestQso changed = *this;
        changed.*field = value;
        return changed;
    }

    QString m_date = QStringLiteral("2024-06-01");
    QString m_time = QStringLiteral("12:00:00");
    QString m_band = QStringLiteral("20M");
    QString m_mode = QStringLiteral("CW");
    QString m_rstSent = QStringLiteral("599");
    QString m_rstRcvd = QStringLiteral("599");
    QString m_stx = QStringLiteral("001");
    QString m_call = QStringLiteral("SP9ABC");
    QString m_srx = QStringLiteral("012");
    QString m_suffix;
};

// A log in memory from lines as the file holds them (each with its suffix).
std::vector<QsoRecord> testRecords(const QStringList& lines);
// The contact a line holds; an empty contact when its band columns hold no band.
Qso qsoOf(const QString& line);
