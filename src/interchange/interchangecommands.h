#pragma once

#include "analysis/operatordata.h"
#include "interchange/adifexport.h"
#include "interchange/cabrilloexport.h"
#include "interchange/ediexport.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ContestSession;
class LogSession;

// The export and import commands of the "Plik" menu as the windows and kvrlog-cli run them: every question
// and message goes through the session's dialog seam.
namespace InterchangeCommands {

// Cabrillo
// The validation message of the "OK" action, or empty.
QString cabrilloValidation(const CabrilloHeader& header, const QString& logPath);
inline QString warcSkippedMessage() {
    return QStringLiteral("Ponieważ wybrana jest opcja logowania na pasmach WARC,\na podczas zawodów nie można "
                          "pracować  na tych pasmach,\nwszystkie QSO z  pasm  WARC zostaną   pominięte  w  pliku "
                          "\nCabrillo.");
}
// The third address line: postal code, town and "Poland", or "Poland" alone.
QString cabrilloTownLine(const OperatorData& data);
// What the chosen contest proposes for the header: CONTEST: (its Cabrillo name) and CLAIMED-SCORE: (its claimed
// score). Nothing without a contest: the header keeps its own values.
struct CabrilloContestValues {
    QString contestName;
    QString claimed;
};
std::optional<CabrilloContestValues> cabrilloContestValues(const ContestSession& contest);
// The "OK" action: validation, the contest name (asked for the first list entry, proposedName offered), the
// file, writing. An overwrite declined starts the action again. Returns the file written, nullopt when the
// dialog stays open.
std::optional<QString>
exportCabrillo(LogSession& session, CabrilloHeader header, int contestIndex, const QString& proposedName = {});

// ADIF
// The options of a record besides the window's fields: analysis options and, in the county mode, the
// county list in its province-and-county form.
AdifExportOptions adifOptions(const LogSession& session);
std::optional<QString> exportAdif(LogSession& session, const AdifExportOptions& options);

// CSV
std::optional<QString> exportCsv(LogSession& session);

// EDI
struct EdiRequest {
    Edi::Header header;
    QString band; // "wszystkie" or a band of the list
    std::array<Edi::BandSettings, Edi::kBandCount> bands;
    std::array<Edi::ClaimedScore, Edi::kBandCount> claimed; // as the score fields hold them when writing
    Edi::Statistics statistics;
};
// "Zapisz plik EDI": validation, the folder (the choosers' folder is proposed), one file for every chosen band
// with contacts, and the message naming the folder. Returns the folder; nullopt when the header is refused,
// the folder chooser is cancelled or a file cannot be written (the operator was told).
std::optional<QString> exportEdi(LogSession& session, const EdiRequest& request);

// imports
struct ImportOutcome {
    bool changed = false; // the log file was changed and reloaded
    int imported = 0;
    int skipped = 0;
    // Records or lines left out or changed on the way in, one line each ("Rekord 3: …", "Linia 7 pominięta: …").
    // The menu commands show them with the count; kvrlog-cli prints them on stderr.
    QStringList notes;
    QString error; // shown already through the seam
};

// The message that ends an import: the count, then the notes, at most 20 of them.
QString importedMessage(const ImportOutcome& outcome);
// Notes for a message box: the first 20, then how many more there were.
QString noteList(const QStringList& notes);
// A file none of whose records or lines can become a contact; the log stays as it was.
QString nothingToImportMessage(const QStringList& notes);
QString noCabrilloLinesMessage();

// Copies the current log and reports whether the copy was written (false: the operator cancelled).
using SaveLogCopy = std::function<bool(const QString& proposedName)>;

// The menu command: questions, the copy, the open dialog, then importAdifFile().
ImportOutcome importAdif(LogSession& session, const SaveLogCopy& saveLogCopy);
// Replaces the current log with the records of the file and reloads it. Only a refusal is shown here.
ImportOutcome importAdifFile(LogSession& session, const QString& path);

// The menu command: the open dialog, then importCabrilloFile(). Both menu commands end by telling the operator
// how many contacts came in.
ImportOutcome importCabrillo(LogSession& session);
// Adds the contacts of the file to the current log and reloads it; the log and the new contacts are written
// in one atomic rewrite. A log that did not load whole is refused. Only a refusal is shown here.
ImportOutcome importCabrilloFile(LogSession& session, const QString& path);

// The serial field after an import: with auto-increment on, the serial after the last contact of the log that
// carries one, padded to the serial's digits; nullopt leaves the field.
std::optional<QString> serialAfterImport(const LogSession& session, bool autoIncrement, int serialDigits);
// The serial of a contact's sent exchange (in front of the own locator on VHF); nothing when it holds none.
std::optional<int> sentSerial(const Qso& qso);

// A copy of the current log in Backup_logs (logname_yyyymmdd_hhmmss.txt), made before an import replaces it.
struct BackupResult {
    QString path; // empty when there was no log file to copy
    TextFile::Status status;
};
BackupResult backupCurrentLog(LogSession& session);

QString adifReplaceQuestion();
QString adifNotSavedQuestion();
QString adifNoSaveQuestion();

} // namespace InterchangeCommands
