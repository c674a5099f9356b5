#pragma once

#include "core/qso.h"

#include "analysis/countylist.h"
#include "analysis/operatordata.h"
#include "log/logbook.h"
#include "log/logloader.h"
#include "platform/programfolder.h"
#include "platform/userdialogs.h"

#include <QObject>

#include <memory>
#include <optional>
#include <utility>

class Clock;
class LogLock;

// The contest's working state that every window shares: the open log with its indexes, the county list, the
// analysis and entry options that decide how the log is read, the current band and mode, and the seams.
// The main window owns one; the other windows and kvrlog-cli work on it. After a structural change the log
// is rebuilt with reload() rather than patched.
class LogSession : public QObject {
    Q_OBJECT
public:
    LogSession(ProgramFolder folder, UserDialogs& dialogs, Clock& clock, QObject* parent = nullptr);
    ~LogSession() override;

    const ProgramFolder& folder() const { return m_folder; }
    UserDialogs& dialogs() const { return m_dialogs; }
    Clock& clock() const { return m_clock; }
    QString settingsPath() const { return m_folder.settingsFile(); }

    LogBook& log() { return m_log; }
    const LogBook& log() const { return m_log; }
    const QString& logPath() const { return m_log.path(); }
    void setLogPath(const QString& path);

    // The folder every file chooser of the log and its exports opens in: the last folder the operator chose
    // during this run, else the log's folder, else the program folder.
    QString chooserFolder() const;
    // The choosers through the dialog seam, opened in chooserFolder(); a choice becomes the folder remembered.
    std::optional<QString> openFile(FileRequest request);
    std::optional<QString> saveFile(FileRequest request);
    std::optional<QString> chooseFolder(const QString& title);

    CountyList& counties() { return m_counties; }
    const CountyList& counties() const { return m_counties; }
    // Reads powiaty.txt of the program folder in the form the analysis mode needs.
    TextFile::Status LoadCountyList();

    // Options that decide how lines are analysed and keyed.
    AnalysisOptions analysis;
    bool oneQsoPerBand = false;
    OperatorData operatorData;

    // The band and mode the operator works now: dupes, the analysis and the lists follow them.
    const QString& band() const { return m_band; }
    const QString& mode() const { return m_mode; }
    Band currentBand() const { return Band::fromName(m_band); }
    Mode currentMode() const { return Mode::fromName(m_mode); }
    void setBand(const QString& band);
    void setMode(const QString& mode);

    AnalysisContext analysisContext() const;
    LogContext logContext() const;

    // LoadLog on the current path; a failure is shown through the dialog seam. Emits logReloaded().
    LoadResult reload();
    // False after a load that stopped at a bad line: the lines after it are in the file but not in memory,
    // so the log must not be rewritten from memory.
    bool logComplete() const { return m_logComplete; }

    // From now on every log this session opens is locked against other writers (the window for as long as the
    // log is open; kvrlog-cli's writing commands for their whole run), waiting up to waitMs for a writer to finish.
    void holdLogLock(int waitMs);
    // Why no contact may be written to the open log now: it did not load whole, or another program holds its
    // lock. Nothing when the log may be changed.
    // A lock that was held by another program is tried again here.
    std::optional<QString> writeRefusal();
    // Only the lock's part of it: why another program keeps this session from writing the log.
    std::optional<QString> lockRefusal();
    // True the first time it is asked after the log was opened or read again: the refusal is told in a box once.
    bool refusalNotYetTold() { return !std::exchange(m_refusalTold, true); }
    // Reloads the log when another program changed the file since this session last read or wrote it, so a
    // change made here never writes over contacts it has not seen. True when it reloaded.
    bool reloadIfChangedOnDisk();
    // After a change made here without a reload (an appended contact): the file as it is now is what memory holds.
    void noteLogWritten();
    QString scoreSummary() const;
    QString loggedCountiesCaption() const;

signals:
    void bandChanged(const QString& band);
    void modeChanged(const QString& mode);
    void logReloaded();
    void logPathChanged(const QString& path);
    // A QSO line went into the log at row (after the file append).
    void qsoAdded(qsizetype row);
    // The logged counties changed without a reload (band or mode change, an added QSO).
    void loggedCountiesChanged();
    // The entry window asks the log window to select (and show) this row, e.g. the earlier QSO of a dupe.
    void rowSelectionRequested(qsizetype row);

private:
    // Keeps the folder of a chosen file (or the chosen folder) for the next chooser.
    std::optional<QString> rememberFolder(const std::optional<QString>& chosen, bool isFolder);

    ProgramFolder m_folder;
    UserDialogs& m_dialogs;
    Clock& m_clock;
    LogBook m_log;
    CountyList m_counties;
    bool m_logComplete = true;

    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        qint64 modified = 0;
        qint64 statusChanged = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const QString& path);
    FileStamp m_stamp;
    std::optional<int> m_lockWaitMs;
    std::unique_ptr<LogLock> m_lock;
    QString m_lockRefusal;
    bool m_refusalTold = false;
    // Kept for the run only: the next start opens the choosers in the folder of the log it opens.
    QString m_lastChosenFolder;
    QString m_band = QStringLiteral("80M");
    QString m_mode = QStringLiteral("CW");
};
