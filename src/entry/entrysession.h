#pragma once

#include "entry/addqso.h"
#include "entry/entryindex.h"
#include "entry/entryoptions.h"
#include "entry/entrystartup.h"
#include "entry/logbackups.h"
#include "entry/workedbefore.h"

#include <QDateTime>
#include <QMetaObject>

#include "log/analysishandlers.h"

#include <functional>
#include <memory>

class IniFile;
class LogSession;

// The entry window's working state on top of the shared log session: its options, the temporary-backup
// number, the keystroke indexes and the UTC offset, with the operations the window and kvrlog-cli run.
class EntrySession {
public:
    explicit EntrySession(LogSession& session);
    ~EntrySession();
    EntrySession(const EntrySession&) = delete;
    EntrySession& operator=(const EntrySession&) = delete;

    LogSession& session() { return m_session; }
    EntryOptions& options() { return m_options; }
    const EntryOptions& options() const { return m_options; }
    TemporaryBackups& backups() { return m_backups; }
    EntryIndex& index() { return m_index; }

    static constexpr int kWindowLockWaitMs = 2000;
    enum class Start { Ready, CountyListMissing };
    // Start-up of a window: county list check, single instance, the log path, the start-up backups, the
    // temporary-backup number and the load. A missing county list has been reported when this returns.
    Start start(const QDateTime& shown);
    bool isSecondCopy() const { return m_secondCopy; }
    // Runs after the entry settings are chosen and before the log is loaded at start-up (the MASTER file, whose
    // callsigns come before the log's in the worked-calls lists).
    void setBeforeLoad(std::function<void()> beforeLoad) { m_beforeLoad = std::move(beforeLoad); }

    // The same load as start() for a given log, without the single-instance lock or backups (kvrlog-cli).
    LoadResult loadFor(const QString& logPath);

    AddQsoResult addQso(const EntryForm& form);

    // Worked-before check of the callsign on the current band and mode; asks the log window to select the row.
    WorkedBeforeResult checkCall(QStringView call);
    QStringList loggedCallSuggestions(QStringView call);
    std::optional<QString> crossModeExchange(QStringView call);

    struct BandSwitch {
        QString serial; // the serial field afterwards
        // A VHF band chose the locator analysis as the analysis dialog's handlers do (with the own-locator
        // prompt); what the entry window has to change.
        AnalysisHandlers::Effect analysis;
    };
    BandSwitch changeBand(const QString& band, const QString& serialField);
    void changeMode(const QString& mode);
    // Toggling one QSO per band re-reads the log so every key and dupe mark follows the rule.
    void setOneQsoPerBand(bool on);

    int utcOffsetHours() const { return m_utcOffset; }
    void computeUtcOffset(const QDateTime& localNow);
    QDateTime utcNow() const;

    // "Program" keys and "Analiza grupy" as the main window writes them when it closes.
    void saveSettings(IniFile& settings) const;

private:
    LogSession& m_session;
    EntryOptions m_options;
    TemporaryBackups m_backups;
    EntryIndex m_index;
    std::unique_ptr<SingleInstance> m_instance;
    bool m_secondCopy = false;
    int m_utcOffset = 0;
    QMetaObject::Connection m_reloaded;
    std::function<void()> m_beforeLoad;
};
