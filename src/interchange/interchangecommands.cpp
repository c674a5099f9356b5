#include "interchange/interchangecommands.h"

#include "contest/contestsession.h"
#include "core/logfile.h"
#include "core/qso.h"
#include "interchange/adifimport.h"
#include "interchange/cabrilloimport.h"
#include "interchange/csvexport.h"
#include "interchange/exportfile.h"
#include "log/logedit.h"
#include "log/loglifecycle.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "platform/userdialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace InterchangeCommands {

namespace {

QString importStoppedMessage(const QString& reason) {
    return reason + QStringLiteral("\n\nImport danych został przerwany.");
}

} // namespace

QString noteList(const QStringList& notes) {
    constexpr qsizetype kShown = 20;
    QString text = QStringList(notes.mid(0, kShown)).join(QLatin1Char('\n'));
    if (notes.size() > kShown)
        text += QStringLiteral("\n… i %1 innych").arg(notes.size() - kShown);
    return text;
}

QString importedMessage(const ImportOutcome& outcome) {
    QString text = QStringLiteral("Zaimportowano łączności: ") + QString::number(outcome.imported);
    if (outcome.skipped > 0)
        text += QStringLiteral("\nPominięto: ") + QString::number(outcome.skipped);
    if (!outcome.notes.isEmpty())
        text += QStringLiteral("\n\n") + noteList(outcome.notes);
    return text;
}

QString nothingToImportMessage(const QStringList& notes) {
    return importStoppedMessage(QStringLiteral("Plik nie zawiera żadnej łączności, którą można zaimportować:\n") +
                                noteList(notes));
}

QString noCabrilloLinesMessage() {
    return importStoppedMessage(
        QStringLiteral("Wybrany plik nie zawiera żadnej linii \"QSO:\" i prawdopodobnie nie jest plikiem Cabrillo."));
}

QString cabrilloValidation(const CabrilloHeader& header, const QString& logPath) {
    if (header.callsign.isEmpty())
        return QStringLiteral(
            "Proszę wprowadzić znak używany podczas zawodów!\nWszystkie niebieskie pola muszą być wypełnione!");
    if (header.name.isEmpty())
        return QStringLiteral("Proszę wprowadzić imię i nazwisko!\nWszystkie niebieskie pola muszą być wypełnione!");
    if (header.address1.isEmpty())
        return QStringLiteral("Proszę wprowadzić adres!\nWszystkie szare pola muszą być wypełnione!");
    if (!QFileInfo::exists(logPath))
        return QStringLiteral("Plik \"") + logPath + QStringLiteral("\" nie istnieje!");
    return {};
}

QString cabrilloTownLine(const OperatorData& data) {
    const QString town = data.postcode + data.town;
    if (town.isEmpty())
        return QStringLiteral("Poland");
    return data.postcode + QLatin1Char(' ') + data.town + QStringLiteral(", Poland");
}

std::optional<CabrilloContestValues> cabrilloContestValues(const ContestSession& contest) {
    const ContestDefinition* definition = contest.definition();
    if (!definition || !contest.score())
        return std::nullopt;
    return CabrilloContestValues{definition->cabrilloName, QString::number(contest.score()->totals().claimed)};
}

std::optional<QString>
exportCabrillo(LogSession& session, CabrilloHeader header, int contestIndex, const QString& proposedName) {
    UserDialogs& dialogs = session.dialogs();
    const ExportFile::Kind kind = ExportFile::cabrillo();
    while (true) {
        const QString problem = cabrilloValidation(header, session.logPath());
        if (!problem.isEmpty()) {
            dialogs.error(problem);
            return std::nullopt;
        }
        if (header.version3 && contestIndex == 0) {
            header.contestName = dialogs
                                     .inputText(QStringLiteral("Wprowadzanie nazwy zawodów"),
                                                QStringLiteral("Nazwa zawodów:"), proposedName)
                                     .value_or(QString());
        }
        const std::optional<QString> chosen =
            session.saveFile({QString(), QString(), kind.filter, ExportFile::proposedName(header.callsign)});
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        const QString path = ExportFile::withDefaultExtension(*chosen, kind.extension);
        if (QFileInfo::exists(path) &&
            dialogs.warningYesNo(ExportFile::overwriteQuestion(kind, path)) != DialogButton::Yes)
            continue;
        const TextFile::Status written = CabrilloExport::write(path, header, session.log().records());
        if (!written) {
            dialogs.error(written.error);
            return std::nullopt;
        }
        dialogs.information(ExportFile::savedMessage(kind, path));
        return path;
    }
}

AdifExportOptions adifOptions(const LogSession& session) {
    AdifExportOptions options;
    options.analysis = session.analysis;
    if (session.analysis.mode == AnalysisMode::County) {
        CountyList provinces;
        provinces.LoadCountyList(session.folder().countyFile(), AnalysisMode::ProvinceCounty);
        options.provinceCountyEntries = provinces.entries();
    }
    return options;
}

std::optional<QString> exportAdif(LogSession& session, const AdifExportOptions& options) {
    const ExportFile::Kind kind = ExportFile::adif();
    const std::optional<QString> path = ExportFile::choose(session, kind, session.operatorData.contestCall);
    if (!path)
        return std::nullopt;
    const TextFile::Status written = AdifExport(options).write(*path, session.log().records());
    if (!written) {
        session.dialogs().error(written.error);
        return std::nullopt;
    }
    session.dialogs().information(ExportFile::savedMessage(kind, *path));
    return path;
}

std::optional<QString> exportCsv(LogSession& session) {
    const ExportFile::Kind kind = ExportFile::csv();
    const std::optional<QString> path = ExportFile::choose(session, kind, session.operatorData.contestCall);
    if (!path)
        return std::nullopt;
    const TextFile::Status written = CsvExport::write(*path, session.analysis, session.log().records());
    if (!written) {
        session.dialogs().error(written.error);
        return std::nullopt;
    }
    session.dialogs().information(ExportFile::savedMessage(kind, *path));
    return path;
}

std::optional<QString> exportEdi(LogSession& session, const EdiRequest& request) {
    UserDialogs& dialogs = session.dialogs();
    const QString problem = Edi::validate(request.header);
    if (!problem.isEmpty()) {
        dialogs.error(problem);
        return std::nullopt;
    }
    const bool all = request.band == QLatin1String("wszystkie");
    const int only = Edi::bandIndex(request.band);
    if (!all && only < 0) {
        // Typed text that names no band: nothing could be written.
        dialogs.error(QStringLiteral("Nieznane pasmo: ") + request.band);
        return std::nullopt;
    }
    const std::optional<QString> folder = session.chooseFolder(QStringLiteral("Katalog plików EDI"));
    if (!folder || folder->isEmpty())
        return std::nullopt;
    const std::span<const QsoRecord> log = session.log().records();
    for (int band = 0; band < Edi::kBandCount; ++band) {
        if (!all && band != only)
            continue;
        const TextFile::Status written =
            Edi::writeBand(Edi::fileName(*folder, request.header.PCall, band), request.header, band,
                           request.bands[size_t(band)], request.claimed[size_t(band)], request.statistics, log);
        if (!written) {
            dialogs.error(written.error);
            return std::nullopt;
        }
    }
    // The files go where the operator chose, so the message says where that was.
    dialogs.information((all ? QStringLiteral("Pliki zostały zapisane.") : QStringLiteral("Plik(i) został zapisany.")) +
                        QStringLiteral("\n\nKatalog:\n") + *folder);
    return folder;
}

QString adifReplaceQuestion() {
    return QStringLiteral("W logu znajdują się łączności. Wybierz:\n\nTak - aby zapisać dotychczasowe łączności i "
                          "zaimportować plik ADIF\n\nNie - aby zaimportować plik ADIF bez zapisywania łączności,\n\n"
                          "Anuluj - aby powrócić do programu");
}

QString adifNotSavedQuestion() {
    return QStringLiteral("Czy na pewno chcesz zaimportować plik ADIF\nnie zapisując dotychczasowych łączności z "
                          "logu?\nJeśli nie zapisałeś dotychczas tych łączności,\nzostaną one utracone!!");
}

QString adifNoSaveQuestion() {
    return QStringLiteral("Czy na pewno chcesz zaimportować plik ADIF,\nnie zapisując aktualnych łączności ?\nJeśli "
                          "nie zapisałeś dotychczas tych łączności, \nzostaną one utracone!!");
}

namespace {

bool confirmLoss(UserDialogs& dialogs, const QString& text) {
    return dialogs.message(QStringLiteral("Ostrzeżenie"), text, MessageIcon::Warning,
                           DialogButton::Ok | DialogButton::Cancel, DialogButton::Cancel) == DialogButton::Ok;
}

} // namespace

ImportOutcome importAdif(LogSession& session, const SaveLogCopy& saveLogCopy) {
    UserDialogs& dialogs = session.dialogs();
    if (!session.log().isEmpty()) {
        const DialogButton answer =
            dialogs.message(QStringLiteral("Ostrzeżenie"), adifReplaceQuestion(), MessageIcon::Warning,
                            (DialogButton::Yes | DialogButton::No) | unsigned(DialogButton::Cancel), DialogButton::Yes);
        if (answer == DialogButton::Yes) {
            const QString proposed =
                ExportFile::proposedName(session.operatorData.contestCall) + QStringLiteral(".kvr");
            const bool saved = saveLogCopy && saveLogCopy(proposed);
            if (!saved && !confirmLoss(dialogs, adifNotSavedQuestion()))
                return {};
        } else if (answer == DialogButton::No) {
            if (!confirmLoss(dialogs, adifNoSaveQuestion()))
                return {};
        } else {
            return {};
        }
    }
    const std::optional<QString> path = session.openFile({QString(), QString(), ExportFile::adif().filter, QString()});
    if (!path || path->isEmpty())
        return {};
    const ImportOutcome outcome = importAdifFile(session, *path);
    if (outcome.changed)
        dialogs.information(importedMessage(outcome));
    return outcome;
}

namespace {

QString importNotLoadedMessage() {
    return QStringLiteral("Log po imporcie nie daje się wczytać, więc przywrócono jego poprzednią zawartość.\n\n"
                          "Import danych został przerwany.");
}

// Writes the imported contacts with change(), reloads, and puts the old log back when the result does not load
// whole: an import must never leave a log that stops every later start at a bad line.
ImportOutcome changeLog(LogSession& session, const std::function<TextFile::Status(const LogFile&)>& change) {
    ImportOutcome outcome;
    UserDialogs& dialogs = session.dialogs();
    // Another program holds the log: nothing is written to it.
    if (const std::optional<QString> refusal = session.lockRefusal()) {
        outcome.error = *refusal;
        dialogs.error(outcome.error);
        return outcome;
    }
    const LogFile file(session.logPath());
    QString unreadable;
    const std::optional<QByteArray> before = file.snapshot(&unreadable);
    TextFile::Status status = before ? change(file) : TextFile::Status::failure(unreadable);
    if (!status) {
        outcome.error = status.error;
        dialogs.error(outcome.error);
        return outcome;
    }
    session.log().clearContacts();
    if (session.reload().complete()) {
        outcome.changed = true;
        return outcome;
    }
    outcome.error = importNotLoadedMessage();
    if (const TextFile::Status restored = file.restore(*before); !restored)
        outcome.error += QStringLiteral("\n\n") + restored.error;
    dialogs.error(outcome.error);
    session.log().clearContacts();
    session.reload();
    return outcome;
}

} // namespace

ImportOutcome importAdifFile(LogSession& session, const QString& path) {
    ImportOutcome outcome;
    UserDialogs& dialogs = session.dialogs();
    const AdifImport::Result read = AdifImport::readFile(path);
    if (!read.status) {
        outcome.error = read.status.error;
    } else if (read.records == 0) {
        outcome.error = AdifImport::noRecordMessage();
    } else if (read.lines.isEmpty()) {
        // No record can become a contact: replacing the log with nothing would only lose contacts.
        outcome.skipped = read.skipped;
        outcome.notes = read.notes;
        outcome.error = nothingToImportMessage(read.notes);
    }
    if (!outcome.error.isEmpty()) {
        dialogs.error(outcome.error);
        return outcome;
    }
    // The new content replaces the log in one step: a crash leaves the old log or the imported one.
    outcome = changeLog(session, [&read](const LogFile& file) { return file.replace(read.lines); });
    if (!outcome.changed)
        return outcome;
    outcome.imported = int(read.lines.size());
    outcome.skipped = read.skipped;
    outcome.notes = read.notes;
    return outcome;
}

ImportOutcome importCabrillo(LogSession& session) {
    const std::optional<QString> path = session.openFile(
        {QString(), QString(), QStringLiteral("Pliki Cabrillo (*.log *.cbr);;Wszystkie pliki (*)"), QString()});
    if (!path || path->isEmpty())
        return {};
    const ImportOutcome outcome = importCabrilloFile(session, *path);
    if (outcome.changed)
        session.dialogs().information(importedMessage(outcome));
    return outcome;
}

std::optional<QString> serialAfterImport(const LogSession& session, bool autoIncrement, int serialDigits) {
    if (!autoIncrement)
        return std::nullopt;
    // Contacts without a serial (a record without STX) do not restart the count: the serial follows the last
    // contact that carries one.
    const std::span<const QsoRecord> records = session.log().records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (const std::optional<int> serial = sentSerial(it->qso()))
            return formatSerial(*serial + 1, serialDigits);
    }
    return formatSerial(1, serialDigits);
}

std::optional<int> sentSerial(const Qso& qso) {
    QStringView stx = qso.stx;
    // A VHF exchange ends with the own locator after the serial.
    if (stx.size() > QsoLayout::kLocatorWidth)
        stx = stx.left(stx.size() - QsoLayout::kLocatorWidth).trimmed();
    bool ok = false;
    const int serial = stx.toInt(&ok);
    if (!ok || serial < 0)
        return std::nullopt;
    return serial;
}

ImportOutcome importCabrilloFile(LogSession& session, const QString& path) {
    UserDialogs& dialogs = session.dialogs();
    ImportOutcome outcome;
    // The dupe marks of the new contacts are found against the log as it is on the disk now.
    session.reloadIfChangedOnDisk();
    if (!session.logComplete()) {
        // The contacts after the line the loader stopped at are not in memory; the import must not bury them.
        outcome.error = LogEdit::incompleteLogMessage();
        dialogs.error(outcome.error);
        return outcome;
    }
    CabrilloImport import(session.log().records());
    const CabrilloImport::Result read = import.readFile(path);
    if (!read.status)
        outcome.error = read.status.error;
    else if (read.qsoLines == 0)
        outcome.error = noCabrilloLinesMessage();
    else if (read.lines.isEmpty())
        outcome.error = nothingToImportMessage(read.notes);
    if (!outcome.error.isEmpty()) {
        outcome.skipped = read.skipped;
        outcome.notes = read.notes;
        dialogs.error(outcome.error);
        return outcome;
    }
    // The log and the new contacts are written as one new file: a crash leaves the old log or the whole
    // import, never part of it or a contact cut short.
    outcome = changeLog(session, [&read](const LogFile& file) {
        QStringList lines;
        if (QFileInfo::exists(file.path())) {
            if (const TextFile::Status loaded = TextFile::readLines(file.path(), lines); !loaded)
                return loaded;
        }
        lines += read.lines;
        return file.replace(lines);
    });
    if (!outcome.changed)
        return outcome;
    outcome.imported = int(read.lines.size());
    outcome.skipped = read.skipped;
    outcome.notes = read.notes;
    return outcome;
}

BackupResult backupCurrentLog(LogSession& session) {
    BackupResult result;
    const QString logPath = session.logPath();
    if (!QFileInfo::exists(logPath))
        return result;
    const QString folder = session.folder().backupFolder();
    QDir().mkpath(folder);
    const QString stamp = session.clock().now().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    // Two imports in one second keep both copies: the second one adds a number to the name.
    result.path = LogFile::freeBackupBase(folder, QFileInfo(logPath).completeBaseName() + QLatin1Char('_') + stamp,
                                          {QStringLiteral(".txt")}) +
                  QStringLiteral(".txt");
    result.status = LogFile::copyToBackup(logPath, result.path);
    // The name was taken by an empty file; a copy that failed leaves nothing behind.
    if (!result.status)
        QFile::remove(result.path);
    return result;
}

} // namespace InterchangeCommands
