#pragma once

#include "core/qsoline.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QFile>

// A clock that stands still at the time a test gives it.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime at = QDateTime(QDate(2024, 6, 1), QTime(12, 34, 56))) : m_at(std::move(at)) {}
    QDateTime now() const override { return m_at; }

private:
    QDateTime m_at;
};

// One QSO line as the entry window would log it.
inline QString qsoLine(const QString& time,
                       const QString& call,
                       const QString& band = QStringLiteral("20M"),
                       const QString& mode = QStringLiteral("CW"),
                       const QString& stx = QStringLiteral("001"),
                       const QString& srx = QStringLiteral("SIC"),
                       const QString& date = QStringLiteral("2024-06-01")) {
    QsoFields f;
    f.date = date;
    f.time = time;
    f.band = band;
    f.modeCode = mode;
    f.rstSent = QStringLiteral("599");
    f.stxFirst = stx;
    f.call = call;
    f.rstRcvd = QStringLiteral("599");
    f.srx = srx;
    return QsoLine::compose(f);
}

// A program folder with a log file and a session that has loaded it.
struct SessionFixture {
    explicit SessionFixture(const QStringList& lines = {}) : session(ProgramFolder(folder.path()), dialogs, clock) {
        session.setLogPath(folder.writeLines(QStringLiteral("log.kvr"), lines));
        session.LoadCountyList();
        session.reload();
    }
    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    FixedClock clock;
    LogSession session;
};
