#pragma once

#include "log/logsession.h"
#include "scripteddialogs.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"

#include <QFile>

// Most contacts of these tests received the county "SIC".
inline const TestQso kSicContact = TestQso().srx(QStringLiteral("SIC"));

// A program folder with a log file and a session that has loaded it.
struct SessionFixture {
    explicit SessionFixture(const QStringList& lines = {}) : session(ProgramFolder(folder.path()), dialogs, clock) {
        session.setLogPath(folder.writeLines(QStringLiteral("log.kvr"), lines));
        session.LoadCountyList();
        session.reload();
    }
    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2024, 6, 1), QTime(12, 34, 56))};
    LogSession session;
};
