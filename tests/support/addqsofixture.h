#pragma once

#include "entry/addqso.h"
#include "entry/entryindex.h"
#include "entry/logbackups.h"
#include "log/logsession.h"
#include "scripteddialogs.h"
#include "testclock.h"
#include "testsupport.h"

#include <QDir>

#include <optional>

// One program folder with a session on its log.kvr, as the entry window has it after start-up.
struct AddQsoFixture {
    // With lockWaitMs the session holds the log's lock as the entry window does.
    explicit AddQsoFixture(const QStringList& logLines = {}, std::optional<int> lockWaitMs = {}) {
        if (lockWaitMs)
            session.holdLogLock(*lockWaitMs);
        session.setLogPath(folder.file(QStringLiteral("log.kvr")));
        if (!logLines.isEmpty())
            folder.writeLines(QStringLiteral("log.kvr"), logLines);
        session.LoadCountyList();
        session.reload();
    }
    EntryForm form(const QString& call, const QString& srx, const QString& time = QStringLiteral("08:10:00")) const {
        EntryForm f;
        f.call = call;
        f.srx = srx;
        f.rstSent = QStringLiteral("599");
        f.rstRcvd = QStringLiteral("599");
        f.stx = QStringLiteral("001");
        f.stxFixed = QString();
        f.date = QStringLiteral("2026-03-14");
        f.time = time;
        return f;
    }
    AddQsoResult add(const EntryForm& f) { return AddQso(session, options, backups, index).run(f); }
    QStringList fileLines(const QString& name = QStringLiteral("log.kvr")) const { return folder.readLines(name); }
    QString backup(int n) const {
        return QDir(folder.path()).filePath(QStringLiteral("Backup_logs/") + TemporaryBackups::fileName(n));
    }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 0))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};
    EntryOptions options;
    TemporaryBackups backups{1};
    EntryIndex index;
};
