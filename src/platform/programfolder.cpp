#include "platform/programfolder.h"

#include "platform/userdialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kSettingsFile = QStringLiteral("kvr_log.ini");
const QString kCountyFile = QStringLiteral("powiaty.txt");

// A folder the program may keep its files in: a writable one that is already a program folder. A read-only
// installation folder (/usr/bin) or a bare folder holding only executables never is.
bool isProgramFolder(const QString& dir) {
    const QDir folder(dir);
    return QFileInfo(dir).isWritable() &&
           (QFileInfo::exists(folder.filePath(kSettingsFile)) || QFileInfo::exists(folder.filePath(kCountyFile)));
}

// The copy is the operator's own: writable, even when the installed list is not.
void copyCountyList(const QString& from, const QString& to) {
    if (QFileInfo::exists(to) || !QFileInfo::exists(from) || !QFile::copy(from, to))
        return;
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

} // namespace

ProgramPlaces ProgramPlaces::forExecutable(const QString& executableDir) {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {executableDir, QDir::cleanPath(QDir(executableDir).filePath(QStringLiteral("../share/kvrlog"))),
            dataHome.isEmpty() ? executableDir : QDir(dataHome).filePath(QStringLiteral("kvrlog"))};
}

QString ProgramPlaces::dataFile(const QString& name) const {
    const QString beside = QDir(executableDir).filePath(name);
    const QString shared = QDir(sharedDataDir).filePath(name);
    return !QFileInfo::exists(beside) && QFileInfo::exists(shared) ? shared : beside;
}

ProgramFolder::ProgramFolder(QString path) : m_path(QDir::cleanPath(QDir(path).absolutePath())) {}

ProgramFolderChoice ProgramFolder::resolve(QStringList& args, const ProgramPlaces& places) {
    QString home;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--home") && i + 1 < args.size()) {
            home = args.at(i + 1);
            args.remove(i, 2);
            break;
        }
        if (arg.startsWith(QLatin1String("--home="))) {
            home = arg.mid(7);
            args.remove(i);
            break;
        }
    }
    return resolve(home, places);
}

ProgramFolderChoice ProgramFolder::resolve(const QString& home, const ProgramPlaces& places) {
    if (!home.isEmpty())
        return {ProgramFolder(home)};
    const QString fromEnvironment = qEnvironmentVariable("KVRLOG_HOME");
    if (!fromEnvironment.isEmpty())
        return {ProgramFolder(fromEnvironment)};
    if (isProgramFolder(places.executableDir))
        return {ProgramFolder(places.executableDir)};

    const ProgramFolder user(places.userDataDir);
    const bool firstStart = !QFileInfo::exists(user.path()) && QDir().mkpath(user.path());
    // Also when the operator removed it later: without a county list the program does not start.
    copyCountyList(QDir(places.sharedDataDir).filePath(kCountyFile), user.countyFile());
    return {user, firstStart};
}

QString ProgramFolder::file(const QString& name) const {
    return QDir(m_path).filePath(name);
}

void ProgramFolderChoice::tellOperator(UserDialogs& dialogs) const {
    if (firstStart)
        dialogs.information(firstStartMessage(folder.path()));
}

QString ProgramFolderChoice::firstStartMessage(const QString& path) {
    return QStringLiteral("Logi, ustawienia (kvr_log.ini) i kopie zapasowe (Backup_logs) są zapisywane w "
                          "folderze:\n\n") +
           QDir::toNativeSeparators(path) +
           QStringLiteral("\n\nTen folder jest też podany w menu \"Plik\" (\"Folder programu\").");
}
