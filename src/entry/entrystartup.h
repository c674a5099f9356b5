#pragma once

#include <functional>

#include "core/qso.h"
#include "entry/entryoptions.h"
#include "log/logloader.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

class IniFile;
class LogSession;
class ProgramFolder;

// One running copy per program folder owns the log named in the settings; a second copy gets a log of its
// own. The lock file is held until the object is destroyed, and a copy that crashed leaves a stale lock that
// the next start takes over.
// A lock that cannot be created at all (a read-only folder, a full disk) says nothing about other copies: that
// copy works as the first one, and the operator is told the folder's real fault.
class SingleInstance {
public:
    explicit SingleInstance(const ProgramFolder& folder);
    bool isFirst() const { return m_first; }
    // Why the program folder cannot be written, when that is why there is no lock; else empty.
    const QString& folderProblem() const { return m_folderProblem; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_first = false;
    QString m_folderProblem;
};

namespace EntryStartup {

// The county list is missing or unreadable; the message names the folder where it is looked for.
QString countyListMissingMessage(const ProgramFolder& folder);
bool countyListPresent(const ProgramFolder& folder);

// program folder + "log" + n + ".kvr" for the first n whose file is missing or shorter than 10 bytes.
QString secondCopyLogPath(const ProgramFolder& folder);
QString secondCopyMessage(const QString& logPath);
QString folderNotWritableMessage(const QString& folder, const QString& reason);
inline constexpr const char* kSecondCopyCaption = "KVR_Log  [kopia]";

struct LogChoice {
    QString logPath;
    bool secondCopy = false;
    int temporaryBackupNumber = 1;
};

// Which log this copy works on, with a word about a settings file that cannot be read, the removal of
// temporaries a killed rewrite left, the start-up backups of a first copy (made with the time shown in the
// entry window) and the temporary-backup number. A second copy is told so through the dialog seam.
LogChoice chooseLog(const ProgramFolder& folder,
                    const IniFile& settings,
                    bool firstCopy,
                    const QDateTime& shown,
                    UserDialogs& dialogs,
                    const QString& folderProblem = {});

// Reads the operator data, the analysis options and the entry options into the session, loads the county
// list and the log; a log file that does not exist yet is created empty. A saved serial that the log has
// overtaken follows the log.
LoadResult loadSession(LogSession& session,
                       const IniFile& settings,
                       EntryOptions& options,
                       const std::function<void()>& beforeLoad = {});
// The sent serial field once the log is open, its newest contact given: the one the log calls for when none is
// saved, a saved one the log has overtaken following the log, padded to the serial format.
QString serialAtOpen(const EntryOptions& options, const std::optional<Qso>& newest);

} // namespace EntryStartup
