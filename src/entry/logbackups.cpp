#include "entry/logbackups.h"

#include "core/logfile.h"
#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

TextFile::Status ensureFolder(const QString& path) {
    if (QFileInfo(path).isDir() || QDir().mkpath(path))
        return {};
    return TextFile::Status::failure(TextFile::writeFailure(path, QStringLiteral("Nie można utworzyć katalogu.")));
}

} // namespace

QString TemporaryBackups::fileName(int number) {
    return QStringLiteral("temporary_%1.kvr").arg(number);
}

int TemporaryBackups::firstFreeNumber(const ProgramFolder& folder) {
    const QDir dir(folder.backupFolder());
    if (!dir.exists()) {
        QDir().mkpath(folder.backupFolder());
        return 1;
    }
    for (int n = 1; n <= 9; ++n) {
        if (!dir.exists(fileName(n)))
            return n;
    }
    return 1;
}

TextFile::Status TemporaryBackups::write(const ProgramFolder& folder, QByteArrayView text) {
    const QString dir = folder.backupFolder();
    // A backup folder removed while the program runs starts the rotation afresh at temporary_1.
    if (!QFileInfo(dir).isDir()) {
        if (TextFile::Status made = ensureFolder(dir); !made)
            return made;
        m_number = 1;
        return TextFile::writeText(QDir(dir).filePath(fileName(m_number)), text);
    }
    const TextFile::Status written = TextFile::writeText(QDir(dir).filePath(fileName(m_number)), text);
    if (!written)
        return written;
    m_number = m_number >= 9 ? 1 : m_number + 1;
    QFile::remove(QDir(dir).filePath(fileName(m_number)));
    return {};
}

namespace StartupBackups {

QString backupBaseName(const QString& logPath, const QDateTime& shown) {
    const QString name = QFileInfo(logPath).fileName();
    return name.left(std::max<qsizetype>(0, name.size() - 4)) + QLatin1Char('_') +
           shown.toString(QStringLiteral("yyyyMMdd_hhmmss")) + QStringLiteral(".txt");
}

TextFile::Status make(const ProgramFolder& folder, const QString& logPath, const QDateTime& shown) {
    const QString tilde = logPath + QLatin1Char('~');
    const bool hasLog = QFileInfo(logPath).isFile();
    if (!hasLog && !QFileInfo(tilde).isFile())
        return {};
    if (TextFile::Status made = ensureFolder(folder.backupFolder()); !made)
        return made;
    // Two starts in the same second get two pairs of copies, not one overwritten by the other.
    QString base = backupBaseName(logPath, shown);
    base.chop(4);
    const QString target =
        LogFile::freeBackupBase(folder.backupFolder(), base, {QStringLiteral(".txt"), QStringLiteral(".txt~")}) +
        QStringLiteral(".txt");
    // The name was taken by an empty copy of the log; without a log only the "~" copy is made.
    if (!hasLog)
        QFile::remove(target);
    for (const auto& [from, to] : {std::pair{logPath, target}, std::pair{tilde, target + QLatin1Char('~')}}) {
        if (!QFileInfo(from).isFile())
            continue;
        if (TextFile::Status copied = LogFile::copyToBackup(from, to); !copied) {
            // A copy that failed leaves no empty file in the name it took.
            if (to == target)
                QFile::remove(target);
            return copied;
        }
    }
    return {};
}

} // namespace StartupBackups
