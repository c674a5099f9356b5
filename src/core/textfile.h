#pragma once

#include <QByteArray>
#include <QFileDevice>
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
char16_t decodeByte(char byte);
QByteArray encode(QStringView text);

struct Status {
    bool ok = true;
    QString error; // the operator's message, naming the file and the reason

    explicit operator bool() const { return ok; }
    static Status failure(QString message) { return Status{false, std::move(message)}; }
};

// Calls onLine for every line of the file in order; onLine returns false to stop early.
Status forEachLine(const QString& path, const std::function<bool(QString&&)>& onLine);
// The same with the bytes of each line as the file holds them; the view lasts until onLine returns.
Status forEachLineBytes(const QString& path, const std::function<bool(QByteArrayView)>& onLine);
Status readLines(const QString& path, QStringList& lines);

// Replaces the whole file at once: every write is checked, a failure leaves the old file as it was, and the
// new content and its name are on the disk before success is returned.
Status writeLines(const QString& path, const QStringList& lines);
Status writeText(const QString& path, QByteArrayView bytes);
// Copies a file byte for byte, in the same way.
Status copyFile(const QString& from, const QString& to);
// The temporaries of those rewrites are named file + marker + six letters or digits ("log.kvr.kvrtmp-Ab12Cd"),
// a name no person gives a file, so a clean-up can tell them from the operator's own files.
inline constexpr const char* kTemporaryMarker = ".kvrtmp-";
bool isTemporaryName(QStringView fileName);
// Why nothing can be written in the folder now ("Permission denied", "No space left on device"), found by
// writing and removing a small temporary there; empty when a write works.
QString folderWriteProblem(const QString& folder);
QByteArray encodeLines(const QStringList& lines);

// The building blocks of the writers above and of the log's append.
// Writes every byte or fails with the system's reason ("No space left on device").
bool writeAll(QFileDevice& file, QByteArrayView bytes, QString& reason);
Status syncFile(QFileDevice& file, const QString& path);
Status syncFolder(const QString& path);
QString systemReason(int errorCode);

QString openFailure(const QString& path, const QString& reason);
QString writeFailure(const QString& path, const QString& reason);

} // namespace TextFile
