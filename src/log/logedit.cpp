#include "log/logedit.h"

#include "core/bands.h"
#include "core/logfile.h"
#include "core/qso.h"
#include "core/qsoline.h"
#include "log/loglifecycle.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "platform/userdialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

EditedQso EditedQso::fromQso(const Qso& qso) {
    return {qso.date, qso.time, qso.band.name(), qso.mode.code(), qso.rstSent, qso.stx, qso.call, qso.rstRcvd, qso.srx};
}

QString EditedQso::compose() const {
    Qso qso;
    qso.date = date;
    qso.time = time;
    qso.band = Band::fromName(band.trimmed());
    qso.mode = Mode::fromCode(QsoLine::upperAscii(modeCode));
    qso.rstSent = rstSent.left(QsoLayout::valueWidth(QsoField::RstSent));
    qso.stx = stx;
    qso.call = call.left(QsoLayout::valueWidth(QsoField::Call));
    qso.rstRcvd = rstRcvd.left(QsoLayout::valueWidth(QsoField::RstRcvd));
    qso.srx = srx;
    return qso.body();
}

std::optional<QString> EditedQso::validationError() const {
    if (date.size() != 10)
        return QStringLiteral("Została wprowadzona niewłaściwa data!\n\nZmiany nie została wprowadzone.");
    if (time.size() != 6)
        return QStringLiteral("Został wprowadzony niewłaściwy czas!\n\nZmiany nie została wprowadzone.");
    if (modeCode.size() != 2)
        return QStringLiteral("Została wprowadzona niewłaściwa emisja!\n\nZmiany nie została wprowadzone.");
    // A band outside the table would stop every later load at this line and hide the contacts after it.
    if (!Band::fromName(band.trimmed()).isValid())
        return QStringLiteral("Zostało wprowadzone niewłaściwe pasmo!\n\nZmiany nie została wprowadzone.");
    return std::nullopt;
}

namespace LogEdit {

QString editBackupName(const QDateTime& now) {
    return QStringLiteral("edit_") + now.toString(QStringLiteral("yyyy_MM_dd_HHmmss")) + QStringLiteral(".kvr");
}

namespace {

QStringList logLines(const LogSession& session) {
    return session.log().lineTexts();
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
    const qsizetype newRow = session.log().rowOfBody(edited);
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
