#pragma once

#include "analysis/exchangeanalysis.h"

#include <QString>

class LogBook;
class UserDialogs;

// What a load depends on besides the file: the one-QSO-per-band option and the analysis settings.
struct LogContext {
    bool oneQsoPerBand = false; // "Jedno QSO na paśmie (bez względu na emisję)"
    AnalysisContext analysis;
};

struct LoadResult {
    enum class Status {
        Loaded,  // the whole file was read
        Missing, // no file at the path: the in-memory log is left as it was
        // Stopped at a line whose band is not a band of the table, or at a last line cut short while it was
        // written (no line break and shorter than a contact); earlier lines stay loaded.
        FormatError,
        ReadError, // the file could not be read
    };
    Status status = Status::Loaded;
    QString message; // for FormatError and ReadError: the operator's message
    QString badLine; // for FormatError: the offending line cut to 74 characters, or the cut last line

    bool complete() const { return status == Status::Loaded; }
};

// Reads the log at log.path into memory and rebuilds every index from it.
LoadResult LoadLog(LogBook& log, const LogContext& context);

// Shows the message of a failed load through the dialog seam (title "Błąd", error icon).
void reportLoadFailure(const LoadResult& result, UserDialogs& dialogs);

QString logFormatErrorMessage(const QString& badLine);
QString cutLastLineMessage(const QString& cutLine);
