#pragma once

#include "core/qsoline.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "scripteddialogs.h"
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
    SystemClock clock;
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};

    static QString line(const Qso& qso, int minute) {
        QsoFields f;
        f.date = QStringLiteral("2026-05-01");
        f.time = QStringLiteral("12:%1:00").arg(minute % 60, 2, 10, QLatin1Char('0'));
        f.band = qso.band;
        f.modeCode = qso.modeCode;
        f.rstSent = qso.modeCode == QLatin1String("CW") ? QStringLiteral("599") : QStringLiteral("59");
        f.stxFirst = QString::number(minute + 1);
        f.call = qso.call;
        f.rstRcvd = f.rstSent;
        f.srx = qso.srx;
        return QsoLine::compose(f);
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
