#include "testsupport.h"

#include "core/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

TempProgramFolder::TempProgramFolder(bool withCountyList) {
    if (withCountyList)
        QFile::copy(shippedCountyFile(), file(QStringLiteral("powiaty.txt")));
}

QString TempProgramFolder::writeLines(const QString& name, const QStringList& lines) const {
    const QString path = file(name);
    TextFile::writeLines(path, lines);
    return path;
}

QString TempProgramFolder::writeBytes(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QStringList TempProgramFolder::readLines(const QString& name) const {
    QStringList lines;
    TextFile::readLines(file(name), lines);
    return lines;
}

CliRun runCli(const QString& home, const QStringList& args) {
    QProcess process;
    process.setWorkingDirectory(home);
    process.start(QStringLiteral(KVR_BIN_DIR "/kvrlog-cli"), QStringList{QStringLiteral("--home"), home} + args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString testDataFile(const QString& name) {
    return QDir(QStringLiteral(KVR_SOURCE_DIR "/tests/data")).filePath(name);
}

QByteArray fixtureWithBuildVersion(const QString& name) {
    QByteArray bytes = fileBytes(testDataFile(name));
    return bytes.replace("@KVR_VERSION@", buildVersion().toLatin1());
}

QString shippedCountyFile() {
    return QStringLiteral(KVR_SOURCE_DIR "/data/powiaty.txt");
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMap<QString, QByteArray> folderContents(const QString& root) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(root).relativeFilePath(path), fileBytes(path));
    }
    return files;
}
