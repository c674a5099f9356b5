#include "core/logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

TextFile::Status LogFile::keepPrevious() const {
    if (!QFileInfo(m_path).isFile())
        return {};
    return TextFile::copyFile(m_path, previousCopyPath());
}

QString LogFile::oneLine(QStringView line) {
    QString out = line.toString();
    for (QChar& c : out) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return out;
}

TextFile::Status LogFile::append(const QStringList& lines) const {
    const bool existed = QFileInfo::exists(m_path);
    QFile file(m_path);
    // Append mode: whatever the size seen here, every byte lands at the end of the file as it is then, so a
    // writer that does not take the log's lock cannot have its contact overwritten by ours.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return TextFile::Status::failure(TextFile::writeFailure(m_path, file.errorString()));
    const qint64 oldSize = file.size();
    QByteArray bytes;
    if (oldSize > 0 && file.seek(oldSize - 1)) {
        const QByteArray last = file.read(1);
        // A lone CR or LF ends a line for the loader as well as CR LF does.
        if (last != "\n" && last != "\r")
            bytes += "\r\n";
    }
    for (const QString& line : lines) {
        bytes += TextFile::encode(oneLine(line));
        bytes += "\r\n";
    }
    QString reason;
    const bool written = TextFile::writeAll(file, bytes, reason);
    TextFile::Status synced = written ? TextFile::syncFile(file, m_path) : TextFile::Status();
    if (!written || !synced) {
        // Whatever part of the lines reached the file goes again: the log ends where it ended before.
        file.resize(oldSize);
        TextFile::syncFile(file, m_path);
        if (!written)
            return TextFile::Status::failure(TextFile::writeFailure(m_path, reason));
        return synced;
    }
    file.close();
    if (!existed)
        return TextFile::syncFolder(m_path);
    return {};
}

TextFile::Status LogFile::replace(const QStringList& lines) const {
    if (TextFile::Status kept = keepPrevious(); !kept)
        return kept;
    return rewrite(lines);
}

TextFile::Status LogFile::rewrite(const QStringList& lines) const {
    QStringList clean;
    clean.reserve(lines.size());
    for (const QString& line : lines)
        clean.append(oneLine(line));
    return TextFile::writeLines(m_path, clean);
}

TextFile::Status LogFile::restore(const QByteArray& bytes) const {
    return TextFile::writeText(m_path, bytes);
}

TextFile::Status LogFile::create() const {
    return TextFile::writeText(m_path, QByteArrayView());
}

std::optional<QByteArray> LogFile::snapshot(QString* error) const {
    QFile file(m_path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = TextFile::openFailure(m_path, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = TextFile::openFailure(m_path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

TextFile::Status LogFile::writeBackup(const QString& path, const QStringList& lines) {
    return TextFile::writeLines(path, lines);
}

TextFile::Status LogFile::copyToBackup(const QString& from, const QString& to) {
    return TextFile::copyFile(from, to);
}

QString LogFile::freeBackupBase(const QString& folder, const QString& base, const QStringList& extensions) {
    const QDir dir(folder);
    auto taken = [&](const QString& name) {
        for (const QString& extension : extensions) {
            if (QFileInfo::exists(dir.filePath(name + extension)))
                return true;
        }
        return false;
    };
    // The name is taken by creating its first file exclusively: of several programs that find the same name
    // free at once, only one gets it and the others go on to the next number.
    auto claim = [&](const QString& name) {
        if (extensions.isEmpty())
            return true;
        QFile file(dir.filePath(name + extensions.first()));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        // A folder that cannot hold the file (not there yet, read-only): the writer reports that.
        return !file.exists();
    };
    QString name = base;
    for (int n = 2; taken(name) || !claim(name); ++n)
        name = base + QLatin1Char('_') + QString::number(n);
    return dir.filePath(name);
}

int LogFile::removeLeftoverTemporaries(const QStringList& folders) {
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-10);
    int removed = 0;
    QStringList seen;
    for (const QString& folder : folders) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || seen.contains(canonical))
            continue;
        seen.append(canonical);
        const QFileInfoList entries = QDir(canonical).entryInfoList(QDir::Files | QDir::Hidden);
        for (const QFileInfo& entry : entries) {
            if (!TextFile::isTemporaryName(entry.fileName()) || entry.lastModified().toUTC() > settled)
                continue;
            if (QFile::remove(entry.absoluteFilePath()))
                ++removed;
        }
    }
    return removed;
}
