#include "log/logedit.h"

#include "core/bands.h"
#include "core/logfile.h"
#include "core/qsoline.h"
#include "log/loglifecycle.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "platform/userdialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

EditedQso EditedQso::fromLine(const QString& line) {
    EditedQso f;
    f.date = QsoLine::column(line, QsoColumns::Date).toString();
    f.time = QsoLine::column(line, QsoColumns::Time).toString();
    f.band = QsoLine::trimmedColumn(line, QsoColumns::Band).toString();
    f.modeCode = QsoLine::column(line, QsoColumns::Mode).toString();
    f.rstSent = QsoLine::trimmedColumn(line, QsoColumns::RstSent).toString();
    f.stx = QsoLine::trimmedColumn(line, QsoColumns::Stx).toString();
    f.call = QsoLine::trimmedColumn(line, QsoColumns::Call).toString();
    f.rstRcvd = QsoLine::trimmedColumn(line, QsoColumns::RstRcvd).toString();
    f.srx = QsoLine::trimmedColumn(line, QsoColumns::Srx).toString();
    return f;
}

QString EditedQso::compose() const {
    return QsoLine::compose(StoredQso{date, time, band, modeCode, rstSent.left(QsoColumns::RstSent.width), stx,
                                      call.left(QsoColumns::Call.width), rstRcvd.left(QsoColumns::RstRcvd.width), srx});
}

std::optional<QString> EditedQso::validationError() const {
    if (date.size() != 10)
        return QStringLiteral("Została wprowadzona niewłaściwa data!\n\nZmiany nie została wprowadzone.");
    if (time.size() != 6)
        return QStringLiteral("Został wprowadzony niewłaściwy czas!\n\nZmiany nie została wprowadzone.");
    if (modeCode.size() != 2)
        return QStringLiteral("Została wprowadzona niewłaściwa emisja!\n\nZmiany nie została wprowadzone.");
    // A band outside the table would stop every later load at this line and hide the contacts after it.
    if (!Bands::find(QsoLine::upperAscii(band.trimmed())))
        return QStringLiteral("Zostało wprowadzone niewłaściwe pasmo!\n\nZmiany nie została wprowadzone.");
    return std::nullopt;
}

namespace LogEdit {

QString editBackupName(const QDateTime& now) {
    return QStringLiteral("edit_") + now.toString(QStringLiteral("yyyy_MM_dd_HHmmss")) + QStringLiteral(".kvr");
}

namespace {

QStringList logLines(const LogSession& session) {
    const auto& lines = session.log().lines();
    return QStringList(lines.begin(), lines.end());
}

// The row of the line whose body is body, after a reload added suffixes.
qsizetype rowOfBody(const LogSession& session, const QString& body) {
    const auto& lines = session.log().lines();
    auto it = std::lower_bound(lines.begin(), lines.end(), body);
    for (; it != lines.end() && it->startsWith(body); ++it) {
        if (QsoLine::body(*it) == body)
            return it - lines.begin();
    }
    return -1;
}

} // namespace

TextFile::Status writeEditBackup(LogSession& session) {
    const QString folder = session.folder().backupFolder();
    if (!QDir().mkpath(folder))
        return TextFile::Status::failure(
            TextFile::writeFailure(folder, QStringLiteral("Nie można utworzyć katalogu.")));
    QString name = editBackupName(session.clock().now());
    name.chop(4);
    const QString path = LogFile::freeBackupBase(folder, name, {QStringLiteral(".kvr")}) + QStringLiteral(".kvr");
    const TextFile::Status written = LogFile::writeBackup(path, logLines(session));
    // The name was taken by an empty file; a backup that failed leaves nothing behind.
    if (!written)
        QFile::remove(path);
    return written;
}

TextFile::Status rewriteLogFile(LogSession& session, const QStringList& lines) {
    return LogFile(session.logPath()).replace(lines);
}

QString incompleteLogMessage() {
    return QStringLiteral("Log nie został wczytany w całości (plik ma niewłaściwy format).\n"
                          "Zmiany nie zostały wprowadzone, aby nie utracić łączności zapisanych za błędną linią.\n\n"
                          "Popraw plik logu i otwórz go ponownie.");
}

QString changedOnDiskMessage() {
    return QStringLiteral("Plik logu został zmieniony przez inny program, więc log został wczytany ponownie.\n"
                          "Zmiany nie zostały wprowadzone: sprawdź zaznaczoną łączność i spróbuj jeszcze raz.");
}

// A rewrite from memory is refused when memory is not the whole file: the log did not load whole, another
// program holds it, or the file changed under us (then it is read again, and the operator looks again).
std::optional<QString> rewriteRefusal(LogSession& session) {
    if (session.reloadIfChangedOnDisk())
        return changedOnDiskMessage();
    if (!session.logComplete())
        return incompleteLogMessage();
    return session.writeRefusal();
}

EditResult SaveEditedQso(LogSession& session, qsizetype row, const EditedQso& fields) {
    UserDialogs& dialogs = session.dialogs();
    if (const std::optional<QString> refusal = rewriteRefusal(session)) {
        dialogs.error(*refusal);
        return {EditOutcome::Refused, row};
    }
    if (const std::optional<QString> refusal = fields.validationError()) {
        dialogs.error(*refusal);
        return {EditOutcome::Refused, row};
    }
    LogBook& log = session.log();
    if (row < 0 || row >= log.size())
        return {EditOutcome::Refused, row};
    const QString selected = log.line(row);
    const QString edited = fields.compose();
    if (edited == selected)
        return {EditOutcome::Unchanged, row};

    // The file is written from a changed copy; memory follows through the reload, or stays as the file is.
    QStringList lines = logLines(session);
    lines.removeAt(row);
    lines.insert(std::upper_bound(lines.begin(), lines.end(), edited) - lines.begin(), edited);
    if (const TextFile::Status written = rewriteLogFile(session, lines); !written) {
        dialogs.error(written.error);
        return {EditOutcome::Failed, -1};
    }
    session.reload();
    const qsizetype newRow = rowOfBody(session, edited);
    if (newRow >= 0)
        emit session.rowSelectionRequested(newRow);
    return {EditOutcome::Saved, newRow};
}

DeleteResult DeleteQso(LogSession& session, qsizetype row) {
    UserDialogs& dialogs = session.dialogs();
    LogBook& log = session.log();
    if (row < 0 || row >= log.size()) {
        dialogs.error(QStringLiteral("Należy najpierw zaznaczyć łączność do usunięcia!"));
        return {};
    }
    if (const std::optional<QString> refusal = rewriteRefusal(session)) {
        dialogs.error(*refusal);
        return {};
    }
    // No is the default: Enter pressed by habit must not remove a contact.
    if (dialogs.confirmYesNo(QStringLiteral("Czy na pewno usunąć zaznaczoną łączność?"), DialogButton::No) !=
        DialogButton::Yes)
        return {};
    const bool newest = row == log.size() - 1;
    QStringList lines = logLines(session);
    lines.removeAt(row);
    if (const TextFile::Status written = rewriteLogFile(session, lines); !written) {
        dialogs.error(written.error);
        return {};
    }
    session.reload();
    return {true, newest};
}

std::optional<QString> serialAfterDeletingNewest(const QString& serialText, int serialDigits) {
    bool ok = false;
    const int serial = serialText.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return formatSerial(serial - 1, serialDigits);
}

} // namespace LogEdit
