#pragma once

#include "core/qso.h"

#include <QString>

#include <optional>

class LogSession;
struct OperatorData;

// The serial field's zero-padding: "1", "01" or "001" is 1, 2 or 3 digits.
QString formatSerial(int value, int digits);

// Logs that get their name from the program: the first of prefix + n + suffix in the folder, n from 1 to
// limit, that does not exist or is shorter than 10 bytes (an empty log may be reused).
std::optional<QString> firstFreeLogName(const QString& folder, const QString& prefix, const QString& suffix, int limit);

// "Nowy log", "Otwórz log", "Zapisz log jako ..." and the save-a-copy service. Each command asks its questions
// through the session's dialog seam and returns what the entry window has to show.
class LogLifecycle {
public:
    explicit LogLifecycle(LogSession& session) : m_session(session) {}

    static constexpr int kAutomaticNames = 65000;

    struct NewLogResult {
        QString serialText; // the serial field starts again at 1
    };
    // shownDate is the entry window's date (yyyy-mm-dd); it names the log when no file is chosen.
    // nullopt: nothing changed (no free automatic name, or the file could not be created; the operator was told).
    std::optional<NewLogResult> NewLog(const QString& shownDate, int serialDigits);

    struct OpenLogResult {
        std::optional<QString> serialText; // only with auto-increment on
    };
    // nullopt when the chooser was cancelled.
    std::optional<OpenLogResult> OpenLog(bool autoIncrement, int serialDigits);

    // True when the log was written under a new name, which is now the current log.
    bool SaveLogAs(const OperatorData& operatorData);

    // Copies the log file to a chosen file; the current log stays. True when the copy was written.
    bool SaveLogCopy(const QString& proposedName = QString());
    // Set while a copy is asked for and cleared only once it has been written: a cancelled copy leaves it set.
    bool copyPending() const { return m_copyPending; }

    // The serial to show after opening a log: the last QSO's serial + 1, or 1 for an empty log.
    static QString serialAfterOpen(const std::optional<Qso>& newest, int serialDigits);

    void setAutomaticNameLimit(int limit) { m_automaticNameLimit = limit; }

    static QString logFilter();
    static QString replaceQuestion(const QString& path);
    static QString automaticNamesExhaustedMessage(const QString& pattern);

private:
    // The operator's choice of a new log file; nullopt when cancelled.
    std::optional<QString> chooseNewLogFile();
    void startEmptyLog(const QString& path);

    LogSession& m_session;
    bool m_copyPending = false;
    int m_automaticNameLimit = kAutomaticNames;
};

// The log name as the program keeps it: ".kvr" appended when the name has no extension.
QString withLogExtension(const QString& path);
