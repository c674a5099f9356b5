#pragma once

#include "core/textfile.h"

#include <QDateTime>
#include <QString>
#include <vector>

class ProgramFolder;

// The rotating snapshots of the in-memory log in Backup_logs: temporary_1.kvr … temporary_9.kvr. After each
// write the file of the next number is deleted, so the missing one is always the next to be written.
class TemporaryBackups {
public:
    explicit TemporaryBackups(int number = 1) : m_number(number) {}
    int number() const { return m_number; }
    void setNumber(int number) { m_number = number; }

    // The log as its file holds it (see LogBook::fileBytes()).
    TextFile::Status write(const ProgramFolder& folder, QByteArrayView text);

    static QString fileName(int number);
    // At start: the first number from 1 to 9 without a file, or 1 when all nine exist or the folder is new.
    static int firstFreeNumber(const ProgramFolder& folder);

private:
    int m_number;
};

namespace StartupBackups {

// logname_yyyymmdd_hhmmss.txt (and .txt~ for the log's "~" copy) in Backup_logs; nothing when the files
// do not exist.
TextFile::Status make(const ProgramFolder& folder, const QString& logPath, const QDateTime& shown);
QString backupBaseName(const QString& logPath, const QDateTime& shown);

} // namespace StartupBackups
