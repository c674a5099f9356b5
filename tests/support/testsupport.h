#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh program folder for one test: the county list is copied in, nothing else is there.
class TempProgramFolder {
public:
    explicit TempProgramFolder(bool withCountyList = true);
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    // Writes a file in Windows-1250 with CR LF line ends.
    QString writeLines(const QString& name, const QStringList& lines) const;
    QString writeBytes(const QString& name, const QByteArray& bytes) const;
    QStringList readLines(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// One run of the built kvrlog-cli.
struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
    QStringList outLines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// Runs kvrlog-cli --home home ARGS in that folder and waits for it.
CliRun runCli(const QString& home, const QStringList& args);

// The bytes of a file; empty when it cannot be read.
QByteArray fileBytes(const QString& path);
// Every file below the folder (relative path) with its bytes, to prove that nothing was touched.
QMap<QString, QByteArray> folderContents(const QString& root);

// A fixture file of tests/data.
QString testDataFile(const QString& name);
// The version the build gives the program, taken from the project here rather than from the program's code.
inline QString buildVersion() {
    return QStringLiteral(KVR_BUILD_VERSION);
}
// A fixture's bytes with "@KVR_VERSION@" replaced by the build's version, for files that name the program.
QByteArray fixtureWithBuildVersion(const QString& name);
// The county list shipped with the program.
QString shippedCountyFile();
