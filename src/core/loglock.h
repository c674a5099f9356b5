#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Every change of a log on disk happens under the log's lock: the window holds it while the log is open, the
// command-line tool for the whole of its read-check-write. The lock is a hidden file beside the log; a lock left
// by a program that was killed is taken over.
class LogLock {
public:
    explicit LogLock(QString logPath);
    ~LogLock();
    LogLock(const LogLock&) = delete;
    LogLock& operator=(const LogLock&) = delete;

    enum class Outcome { Locked, HeldByOther, CannotCreate };
    struct Result {
        Outcome outcome = Outcome::Locked;
        QString message; // why the log cannot be changed, for the operator
        explicit operator bool() const { return outcome == Outcome::Locked; }
    };
    // Tries for up to waitMs (at once when 0); a lock this object already holds is kept.
    Result acquire(int waitMs);
    bool isLocked() const;
    const QString& logPath() const { return m_logPath; }

    // ".log.kvr.kvrlock" beside "log.kvr".
    static QString lockFilePath(const QString& logPath);

private:
    QString heldMessage() const;
    QString cannotCreateMessage() const;

    QString m_logPath;
    std::unique_ptr<QLockFile> m_lock;
};
