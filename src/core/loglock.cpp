#include "core/loglock.h"

#include "core/textfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

LogLock::LogLock(QString logPath)
    : m_logPath(std::move(logPath)), m_lock(std::make_unique<QLockFile>(lockFilePath(m_logPath))) {
    // Only a lock whose program is gone is stale; a slow writer keeps its lock however long it takes.
    m_lock->setStaleLockTime(0);
}

LogLock::~LogLock() = default;

QString LogLock::lockFilePath(const QString& logPath) {
    const QFileInfo info(logPath);
    return QDir(info.absolutePath()).filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".kvrlock"));
}

bool LogLock::isLocked() const {
    return m_lock->isLocked();
}

LogLock::Result LogLock::acquire(int waitMs) {
    if (m_lock->isLocked())
        return {};
    // Short steps rather than QLockFile's own growing pauses: a command-line writer holds the lock for
    // milliseconds, and many of them in a row must not queue up behind long sleeps.
    const QDeadlineTimer deadline(std::max(waitMs, 0));
    for (;;) {
        if (m_lock->tryLock(0))
            return {};
        if (m_lock->error() != QLockFile::LockFailedError)
            return {Outcome::CannotCreate, cannotCreateMessage()};
        if (deadline.hasExpired())
            return {Outcome::HeldByOther, heldMessage()};
        QThread::msleep(10);
    }
}

QString LogLock::heldMessage() const {
    qint64 pid = 0;
    QString host;
    QString program;
    QString holder;
    if (m_lock->getLockInfo(&pid, &host, &program)) {
        holder = (program.isEmpty() ? QStringLiteral("inny program") : program) +
                 QStringLiteral(" (PID %1, komputer %2)").arg(pid).arg(host);
    } else {
        holder = QStringLiteral("inny program");
    }
    return QStringLiteral("Log %1 jest otwarty w innym programie: %2.\n"
                          "Zamknij ten log w tamtym programie albo otwórz inny log.")
        .arg(QDir::toNativeSeparators(m_logPath), holder);
}

QString LogLock::cannotCreateMessage() const {
    // QLockFile keeps the system's reason to itself; a write in the same folder tells it.
    const QString folder = QFileInfo(m_logPath).absolutePath();
    QString reason = TextFile::folderWriteProblem(folder);
    if (reason.isEmpty())
        reason = QStringLiteral("nieznana przyczyna");
    return QStringLiteral("Nie można założyć blokady logu %1 w folderze %2: %3.\n"
                          "Do tego logu nie można zapisywać łączności.")
        .arg(QDir::toNativeSeparators(m_logPath), QDir::toNativeSeparators(folder), reason);
}
