#include "log/logloader.h"

#include "core/bands.h"
#include "core/modes.h"
#include "core/qso.h"
#include "core/qsoline.h"
#include "core/textfile.h"
#include "log/logbook.h"
#include "platform/userdialogs.h"

#include <QFile>
#include <QFileInfo>

QString logFormatErrorMessage(const QString& badLine) {
    return QStringLiteral("Wybrany plik ma niewłaściwy format i prawdopodobnie nie\njest logiem wygenerowanym przez "
                          "program KVR_Log  !\nBłąd został znaleziony w linii:\n") +
           QsoLine::visibleControls(badLine) + QStringLiteral("\n\nWczytywanie zostało przerwane.");
}

QString cutLastLineMessage(const QString& cutLine) {
    return QStringLiteral("Ostatnia linia logu jest niepełna: ma tylko %1 z %2 znaków łączności i nie kończy się "
                          "znakiem końca linii,\nwięc jej zapis został prawdopodobnie przerwany.\nNiepełna linia:\n")
               .arg(cutLine.size())
               .arg(QsoLayout::kBodyLength) +
           QsoLine::visibleControls(cutLine) + QStringLiteral("\n\nWczytywanie zostało przerwane na tej linii.");
}

namespace {

bool endsWithLineBreak(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || !file.seek(file.size() - 1))
        return false;
    const QByteArray last = file.read(1);
    return last == "\n" || last == "\r";
}

// A VHF contact's sent exchange ends with the own locator; the serial in front of it advances that band's
// counter.
void noteVhfSerial(LogBook& log, const QsoRecord& qso) {
    const int band = qso.band().vhfIndex();
    if (band < 0)
        return;
    const QByteArrayView stx = qso.field(QsoField::Stx);
    if (stx.size() <= QsoLayout::kLocatorWidth)
        return;
    bool ok = false;
    const int serial = stx.first(stx.size() - QsoLayout::kLocatorWidth).trimmed().toInt(&ok);
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
    auto take = [&](QByteArrayView raw) {
        const QsoRecord* qso = log.addFromFile(raw, context.oneQsoPerBand, context.analysis);
        if (!qso) {
            result.status = LoadResult::Status::FormatError;
            result.badLine = TextFile::decode(raw.first(std::min<qsizetype>(raw.size(), QsoLayout::kBodyLength)));
            result.message = logFormatErrorMessage(result.badLine);
            return false;
        }
        noteVhfSerial(log, *qso);
        return true;
    };
    // Each line waits for the next one: only the last line of the file is checked for being cut short.
    QByteArray pending;
    bool stopped = false;
    const TextFile::Status read = TextFile::forEachLineBytes(log.path(), [&](QByteArrayView raw) {
        if (raw.isEmpty())
            return true;
        if (!pending.isEmpty() && !take(pending)) {
            stopped = true;
            return false;
        }
        pending.truncate(0);
        pending.append(raw.data(), raw.size());
        return true;
    });
    if (read && !stopped && !pending.isEmpty()) {
        // Every writer ends a contact with its line break, and a contact is 74 characters; a last line with
        // neither was cut while it was being written.
        if (pending.size() < QsoLayout::kBodyLength && !endsWithLineBreak(log.path())) {
            result.status = LoadResult::Status::FormatError;
            result.badLine = TextFile::decode(pending);
            result.message = cutLastLineMessage(result.badLine);
        } else {
            take(pending);
        }
    }
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
