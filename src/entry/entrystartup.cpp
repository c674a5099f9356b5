#include "entry/entrystartup.h"

#include "core/logfile.h"
#include "core/textfile.h"
#include "entry/logbackups.h"
#include "entry/serialnumber.h"
#include "entry/startupoptions.h"
#include "log/loglifecycle.h"
#include "log/logsession.h"
#include "platform/programfolder.h"
#include "platform/userdialogs.h"
#include "settings/inifile.h"

#include <QDir>
#include <QFileInfo>

SingleInstance::SingleInstance(const ProgramFolder& folder)
    : m_lock(std::make_unique<QLockFile>(folder.file(QStringLiteral("kvrlog.lock")))) {
    m_lock->setStaleLockTime(0);
    m_first = m_lock->tryLock(0);
    if (!m_first && m_lock->error() != QLockFile::LockFailedError) {
        m_first = true;
        m_folderProblem = TextFile::folderWriteProblem(folder.path());
        if (m_folderProblem.isEmpty())
            m_folderProblem = QStringLiteral("nie można utworzyć pliku kvrlog.lock");
    }
}

namespace EntryStartup {

QString countyListMissingMessage(const ProgramFolder& folder) {
    return QStringLiteral("Wykaz powiatów (plik \"powiaty.txt\") \nnie został znaleziony lub nie można go czytać!\n\n"
                          "Skopiuj plik \"powiaty.txt\" do głównego katalogu \nprogramu i urucham program ponownie.") +
           QStringLiteral("\n\nGłówny katalog programu:\n") + QDir::toNativeSeparators(folder.path());
}

bool countyListPresent(const ProgramFolder& folder) {
    const QFileInfo info(folder.countyFile());
    return info.isFile() && info.isReadable();
}

QString secondCopyLogPath(const ProgramFolder& folder) {
    for (int n = 1; n <= 65000; ++n) {
        const QString path = folder.file(QStringLiteral("log%1.kvr").arg(n));
        const QFileInfo info(path);
        if (!info.exists() || (info.isFile() && info.size() < 10))
            return path;
    }
    // Every name taken: a name with the time in it cannot collide with the numbered ones.
    return folder.file(QStringLiteral("log_%1.kvr").arg(QDateTime::currentMSecsSinceEpoch()));
}

QString secondCopyMessage(const QString& logPath) {
    return QStringLiteral("Program KVR_Log jest juz uruchomiony !\n\nPonieważ nie jest możliwe ponowne otworzenie \n"
                          "tego samego logu, program utworzył automatycznie\nnowy log o nazwie:\n\n") +
           logPath + QStringLiteral("\n") + QStringLiteral("\n") +
           QStringLiteral("Skorzystaj z funkcji ZAPISZ LOG JAKO.. w celu zmiany ") + QStringLiteral("\n") +
           QStringLiteral("nazwy logu. Przy ponownym uruchomieniu programu") + QStringLiteral("\n") +
           QStringLiteral("automatycznie zostanie otwarty log, który został ") + QStringLiteral("\n") +
           QStringLiteral("zamknięty jako ostatni.");
}

QString folderNotWritableMessage(const QString& folder, const QString& reason) {
    return QStringLiteral("Nie można zapisywać w folderze programu:\n%1\n\nPrzyczyna: %2\n\n"
                          "Dopóki folder nie będzie zapisywalny (prawa dostępu, wolne miejsce na dysku), "
                          "ustawienia, kopie zapasowe i łączności w tym folderze nie zostaną zapisane.")
        .arg(QDir::toNativeSeparators(folder), reason);
}

LogChoice chooseLog(const ProgramFolder& folder,
                    const IniFile& settings,
                    bool firstCopy,
                    const QDateTime& shown,
                    UserDialogs& dialogs,
                    const QString& folderProblem) {
    LogChoice choice;
    if (settings.isUnreadable())
        dialogs.message(QStringLiteral("Ostrzeżenie"), settings.unreadableMessage(), MessageIcon::Warning,
                        unsigned(DialogButton::Ok), DialogButton::Ok);
    if (!folderProblem.isEmpty()) {
        // Nothing can be written there: no clean-up or start-up backups, whose failures would only repeat this.
        dialogs.error(folderNotWritableMessage(folder.path(), folderProblem));
        choice.logPath = StartupOptions::startupLogPath(settings, folder);
        choice.temporaryBackupNumber = TemporaryBackups::firstFreeNumber(folder);
        return choice;
    }
    if (!firstCopy) {
        choice.secondCopy = true;
        choice.logPath = secondCopyLogPath(folder);
        choice.temporaryBackupNumber = 0;
        dialogs.information(secondCopyMessage(choice.logPath));
        return choice;
    }
    choice.logPath = StartupOptions::startupLogPath(settings, folder);
    // Only the first copy may: a second one could take a temporary another copy is writing.
    LogFile::removeLeftoverTemporaries(
        {folder.path(), folder.backupFolder(), QFileInfo(choice.logPath).absolutePath()});
    if (const TextFile::Status made = StartupBackups::make(folder, choice.logPath, shown); !made)
        dialogs.error(made.error);
    choice.temporaryBackupNumber = TemporaryBackups::firstFreeNumber(folder);
    return choice;
}

LoadResult loadSession(LogSession& session,
                       const IniFile& settings,
                       EntryOptions& options,
                       const std::function<void()>& beforeLoad) {
    session.operatorData = OperatorData::read(settings);
    session.analysis = StartupOptions::readAnalysis(settings, session.operatorData.locator, session.analysis);
    options = EntryOptions::read(settings);
    // With the analysis on, the fixed part of the sent exchange is the own locator, whatever the mode.
    if (session.analysis.enabled)
        options.stxFixed = session.operatorData.locator;
    session.oneQsoPerBand = options.oneQsoPerBand;
    session.setBand(options.band);
    session.setMode(options.mode);
    session.LoadCountyList();
    if (beforeLoad)
        beforeLoad();
    if (!QFileInfo::exists(session.logPath())) {
        if (const TextFile::Status created = LogFile(session.logPath()).create(); !created)
            session.dialogs().error(created.error);
    }
    const LoadResult loaded = session.reload();
    options.stx = serialAtOpen(options, session.log().lastQso());
    return loaded;
}

QString serialAtOpen(const EntryOptions& options, const std::optional<Qso>& newest) {
    QString serial = options.stx;
    if (options.serialFollowsLog)
        serial = LogLifecycle::serialAfterOpen(newest, SerialNumber::digits(options.serialFormat));
    else if (options.autoIncrement)
        serial = SerialNumber::catchUpWithLog(serial, newest, options.separateVhfSerials, options.serialFormat);
    // A serial saved under a shorter format gets the leading zeros of the current one.
    if (options.autoIncrement && SerialNumber::isDigitsOnly(serial))
        serial = SerialNumber::pad(serial, options.serialFormat);
    return serial;
}

} // namespace EntryStartup
