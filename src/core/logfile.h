#pragma once

#include "core/textfile.h"

#include <QString>
#include <QStringList>

#include <optional>

// The one place that changes a log on disk. Before a change the log is copied to its "~" file; a new contact
// is appended and on the disk before success is reported; a whole-log change replaces the file atomically.
// Whatever fails, and whenever the program is killed, the file holds the old or the new content, never a torn
// one, and a failure names the system's reason.
class LogFile {
public:
    explicit LogFile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }
    QString previousCopyPath() const { return m_path + QLatin1Char('~'); }

    // The "~" copy: the log as it was before the change about to be made. Nothing when there is no log yet.
    TextFile::Status keepPrevious() const;
    // Appends the lines. A log whose last line has no line break gets one first, so a new contact never joins
    // the line before it; a failed or short write cuts the file back to its old size.
    TextFile::Status append(const QStringList& lines) const;
    // Replaces the whole log with the lines; the "~" copy is made first.
    TextFile::Status replace(const QStringList& lines) const;
    // Writes the lines as the whole log, without a "~" copy (a new file).
    TextFile::Status rewrite(const QStringList& lines) const;
    // Puts earlier bytes of the log back (after a change whose result did not load).
    TextFile::Status restore(const QByteArray& bytes) const;
    // An empty log, replacing whatever was at the path.
    TextFile::Status create() const;
    // The bytes of the log now, to put back later; nothing when there is no log.
    std::optional<QByteArray> snapshot(QString* error = nullptr) const;

    // A line as it goes into the file: a line break inside it would split one contact into two broken lines.
    static QString oneLine(QStringView line);

    // Backups in Backup_logs: a snapshot of the in-memory log, or a copy of a file.
    static TextFile::Status writeBackup(const QString& path, const QStringList& lines);
    static TextFile::Status copyToBackup(const QString& from, const QString& to);
    // folder/base + extension, or base_2, base_3 … when a file of that name (with any of the extensions)
    // exists, so two backups made in the same second never overwrite each other, in this program or another.
    // The name's file with the first extension is created empty, exclusively, so no other program can take
    // the name before the caller writes over it. Returns the path without the extension.
    static QString freeBackupBase(const QString& folder, const QString& base, const QStringList& extensions);
    // Removes the temporaries ("log.kvr.kvrtmp-Ab12Cd") that a rewrite killed half-way leaves beside the files of
    // the program; only those older than a few seconds, so a writer at work is left alone, and only names with
    // our marker, so no file of the operator's goes. Returns how many went.
    static int removeLeftoverTemporaries(const QStringList& folders);

private:
    QString m_path;
};
