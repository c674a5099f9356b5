#pragma once

#include <QString>
#include <QStringList>

class UserDialogs;

// The folders the program knows from where its executable is: the executable's own folder, the shared data an
// installation puts in <prefix>/share/kvrlog (the county list, the help page, the demo log), and the user's
// data folder, which becomes the program folder of an installed program.
struct ProgramPlaces {
    QString executableDir;
    QString sharedDataDir;
    QString userDataDir;

    // The shared data beside bin/ (../share/kvrlog), so any installation prefix works; the user's data folder
    // is the platform's (~/.local/share/kvrlog, or below XDG_DATA_HOME).
    static ProgramPlaces forExecutable(const QString& executableDir);

    // A file the program reads and never writes (the help page): beside the executable, else in the shared
    // data; the one beside the executable when neither holds it, so a message names where it was looked for.
    QString dataFile(const QString& name) const;
};

struct ProgramFolderChoice;

// The program folder holds the settings file, the county list, the logs and Backup_logs.
// It is taken from --home DIR, else from KVRLOG_HOME, else it is the executable's folder when that folder is
// writable and holds a settings file or a county list (the build tree, a portable copy), else the user's data
// folder.
class ProgramFolder {
public:
    explicit ProgramFolder(QString path);

    // Resolves the folder from the command line (the --home option is removed from args) and the environment.
    // When the user's data folder is chosen it is made if missing, and a county list missing there is copied
    // from the shared data.
    static ProgramFolderChoice resolve(QStringList& args, const ProgramPlaces& places);
    // The same from the value of --home, empty when it was not given.
    static ProgramFolderChoice resolve(const QString& home, const ProgramPlaces& places);

    const QString& path() const { return m_path; }
    QString file(const QString& name) const;
    QString settingsFile() const { return file(QStringLiteral("kvr_log.ini")); }
    QString countyFile() const { return file(QStringLiteral("powiaty.txt")); }
    QString backupFolder() const { return file(QStringLiteral("Backup_logs")); }

private:
    QString m_path;
};

struct ProgramFolderChoice {
    ProgramFolder folder;
    bool firstStart = false; // the user's data folder was made by this start

    // On the first start in the user's data folder the operator is told where the logs live; later starts
    // say nothing.
    void tellOperator(UserDialogs& dialogs) const;
    static QString firstStartMessage(const QString& path);
};
