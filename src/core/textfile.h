#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// Text files of the program (logs, backups, exports, the county list, text MASTER files) are Windows-1250
// on disk with CR LF line ends. Reading accepts CR LF, LF and a lone CR; bytes the code page leaves undefined
// are kept as the control characters of the same number, so a file read and written again is unchanged.
// A character the code page cannot hold is written as "?".
namespace TextFile {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);

struct Status {
    bool ok = true;
    QString error; // the operator's message, naming the file and the reason

    explicit operator bool() const { return ok; }
    static Status failure(QString message) { return Status{false, std::move(message)}; }
};

// Calls onLine for every line of the file in order; onLine returns false to stop early.
Status forEachLine(const QString& path, const std::function<bool(QString&&)>& onLine);
Status readLines(const QString& path, QStringList& lines);

// Replaces the whole file at once (a crash leaves the old or the new content).
Status writeLines(const QString& path, const QStringList& lines);
Status writeText(const QString& path, const QByteArray& bytes);
// Appends one line and does not return before it is on the disk.
Status appendLine(const QString& path, QStringView line);
// Copies a file byte for byte, atomically.
Status copyFile(const QString& from, const QString& to);

QString openFailure(const QString& path, const QString& reason);
QString writeFailure(const QString& path, const QString& reason);

} // namespace TextFile
