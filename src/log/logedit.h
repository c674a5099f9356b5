#pragma once

#include "core/textfile.h"

#include <QDateTime>
#include <QString>

#include <optional>

class LogSession;
struct Qso;

// The nine fields of the edit dialog, as the dialog shows them.
struct EditedQso {
    QString date;     // yyyy-mm-dd
    QString time;     // hhmmss
    QString band;     // "20M"
    QString modeCode; // "CW"
    QString rstSent;
    QString stx;
    QString call;
    QString rstRcvd;
    QString srx;

    static EditedQso fromQso(const Qso& qso);
    // The 74-character line body; the exchanges are kept as typed.
    QString compose() const;
    // The refusal message for a field the log cannot hold, or nullopt when the QSO can be saved.
    std::optional<QString> validationError() const;
};

// Correcting and removing contacts in the log window. Each change copies the log file to its "~" copy,
// rewrites the whole file from the in-memory log and reloads it.
namespace LogEdit {

// Backup_logs/edit_yyyy_mm_dd_hhmmss.kvr with the whole in-memory log, stamped with the local time now.
TextFile::Status writeEditBackup(LogSession& session);
QString editBackupName(const QDateTime& now);

enum class EditOutcome {
    Refused,   // a field was refused; the operator was told and nothing changed
    Unchanged, // the fields give the line that was selected
    Saved,     // the log was rewritten and reloaded
    Failed,    // the file could not be written; the log on disk is as before
};
struct EditResult {
    EditOutcome outcome = EditOutcome::Refused;
    qsizetype row = -1; // the edited QSO's row after the reload
};
// Saves the edited fields over the line at row (taken afresh from the log).
EditResult SaveEditedQso(LogSession& session, qsizetype row, const EditedQso& fields);

struct DeleteResult {
    bool deleted = false;
    bool newestDeleted = false; // the last line of the log was removed
};
// Asks for confirmation and removes the line at row; row < 0 means nothing is selected.
DeleteResult DeleteQso(LogSession& session, qsizetype row);

// Refusal shown when the log stopped loading at a bad line: rewriting it from memory would drop the rest.
QString incompleteLogMessage();
QString changedOnDiskMessage();
// Why the log must not be rewritten from memory now, or nothing; a file changed by another program is read again.
std::optional<QString> rewriteRefusal(LogSession& session);

// The serial field after the newest QSO was deleted: one less, padded; nullopt when it is not a number.
std::optional<QString> serialAfterDeletingNewest(const QString& serialText, int serialDigits);

// Writes the lines over the log file, keeping the previous file as the "~" copy.
TextFile::Status rewriteLogFile(LogSession& session, const QStringList& lines);

} // namespace LogEdit
