#pragma once

#include <QString>
#include <QStringList>

// The program folder holds the settings file, the county list, the logs and Backup_logs.
// It is taken from --home DIR, else from KVRLOG_HOME, else it is the executable's folder.
class ProgramFolder {
public:
    explicit ProgramFolder(QString path);

    // Resolves the folder from the command line (the --home option is removed from args) and the environment.
    static ProgramFolder resolve(QStringList& args, const QString& executableDir);
    // The same from the value of --home, empty when it was not given.
    static ProgramFolder resolve(const QString& home, const QString& executableDir);

    const QString& path() const { return m_path; }
    QString file(const QString& name) const;
    QString settingsFile() const { return file(QStringLiteral("kvr_log.ini")); }
    QString countyFile() const { return file(QStringLiteral("powiaty.txt")); }
    QString backupFolder() const { return file(QStringLiteral("Backup_logs")); }

private:
    QString m_path;
};
