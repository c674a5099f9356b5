#pragma once

#include "log/logsession.h"
#include "scripteddialogs.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"

// A log session on a fresh program folder whose log holds the given contacts (band, mode code, call).
struct LookupTestLog {
    struct Qso {
        QString band;
        QString modeCode;
        QString call;
        QString srx = QStringLiteral("001");
    };

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2026, 5, 1), QTime(13, 0, 0))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};

    // The contacts follow each other a minute apart on 1 May 2026, each with the next serial.
    static QString line(const Qso& qso, int minute) {
        return TestQso()
            .date(QStringLiteral("2026-05-01"))
            .time(QStringLiteral("12:%1:00").arg(minute % 60, 2, 10, QLatin1Char('0')))
            .band(qso.band)
            .mode(qso.modeCode)
            .rst(qso.modeCode == QLatin1String("CW") ? QStringLiteral("599") : QStringLiteral("59"))
            .call(qso.call)
            .stx(QString::number(minute + 1))
            .srx(qso.srx);
    }

    void load(const QList<Qso>& qsos) {
        QStringList lines;
        int minute = 0;
        for (const Qso& qso : qsos)
            lines.append(line(qso, minute++));
        session.setLogPath(folder.writeLines(QStringLiteral("test.kvr"), lines));
        session.reload();
    }
};
