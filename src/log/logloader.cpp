#include "log/logloader.h"

#include "core/bands.h"
#include "core/modes.h"
#include "core/qsoline.h"
#include "core/textfile.h"
#include "log/logbook.h"
#include "platform/userdialogs.h"

#include <QFileInfo>

QString logFormatErrorMessage(const QString& badLine) {
    return QStringLiteral("Wybrany plik ma niewłaściwy format i prawdopodobnie nie\njest logiem wygenerowanym przez "
                          "program KVR_Log  !\nBłąd został znaleziony w linii:\n") +
           QsoLine::visibleControls(badLine) + QStringLiteral("\n\nWczytywanie zostało przerwane.");
}

namespace {

// A VHF line's sent exchange ends with the own locator; the serial in front of it advances that band's counter.
void noteVhfSerial(LogBook& log, QStringView line) {
    const QStringView stx = QsoLine::trimmedColumn(line, QsoColumns::Stx);
    if (stx.size() <= 6)
        return;
    const int band = Bands::vhfIndex(QsoLine::trimmedColumn(line, QsoColumns::Band));
    if (band < 0)
        return;
    bool ok = false;
    const int serial = stx.left(stx.size() - 6).trimmed().toInt(&ok);
    if (ok && serial >= log.nextVhfSerial(band))
        log.setNextVhfSerial(band, serial + 1);
}

} // namespace

LoadResult LoadLog(LogBook& log, const LogContext& context) {
    LoadResult result;
    const QFileInfo info(log.path());
    if (!info.exists()) {
        result.status = LoadResult::Status::Missing;
        return result;
    }
    if (info.isDir()) {
        result.status = LoadResult::Status::ReadError;
        result.message = TextFile::openFailure(log.path(), QStringLiteral("To jest katalog, nie plik logu."));
        return result;
    }

    log.clearContacts();
    // A line of the log is about 76 bytes with its line end.
    log.reserve(qsizetype(std::min<qint64>(info.size() / 70, 50'000'000)) + 16);
    bool stopped = false;
    const TextFile::Status read = TextFile::forEachLine(log.path(), [&](QString&& raw) {
        if (raw.isEmpty())
            return true;
        // Everything after column 74 is recomputed.
        raw.truncate(QsoColumns::kBodyLength);
        noteVhfSerial(log, raw);

        std::optional<PreparedQso> qso = log.prepare(raw, context.oneQsoPerBand, context.analysis);
        if (!qso) {
            result.status = LoadResult::Status::FormatError;
            result.badLine = raw;
            result.message = logFormatErrorMessage(raw);
            stopped = true;
            return false;
        }
        log.add(*qso, LogBook::Placement::Unsorted);
        return true;
    });
    log.sortLines();
    if (!read) {
        result.status = LoadResult::Status::ReadError;
        result.message = read.error;
        return result;
    }
    return result;
}

void reportLoadFailure(const LoadResult& result, UserDialogs& dialogs) {
    if (result.status == LoadResult::Status::FormatError || result.status == LoadResult::Status::ReadError)
        dialogs.error(result.message);
}
