#pragma once

#include "entry/entryclock.h"
#include "entry/entryoptions.h"

#include <QString>

#include <optional>

class EntryIndex;
class LogSession;
class TemporaryBackups;

// What the entry fields hold when a QSO is added.
struct EntryForm {
    QString call;                                  // callsignEdit
    QString srx;                                   // receivedExchangeEdit
    QString rstSent;                               // rstSentEdit
    QString rstRcvd;                               // rstReceivedEdit
    QString stx;                                   // sentSerialEdit
    QString stxFixed;                              // sentFixedPartEdit
    QString date;                                  // dateEdit, the UTC date shown
    QString time;                                  // utcTimeEdit, the UTC time shown
    std::optional<EntryClock::ManualTime> offline; // offline entry: the picked date and the manual time
};

struct AddQsoResult {
    enum class Outcome {
        NothingTyped, // callsign and exchange empty: back to the callsign field
        MissingCall,  // "Brak znaku stacji!" was shown
        PatternCall,  // the callsign holds the search wildcard "?": refused, the contact stays in the fields
        Declined,     // the operator chose not to log without an exchange
        WriteFailed,  // the log file could not be written: nothing changed, the contact stays in the fields
        Refused,      // the log did not load whole or another program holds it: the contact stays in the fields
        Added,
    };
    Outcome outcome = Outcome::NothingTyped;
    QString line;       // the line as written
    qsizetype row = -1; // its row in the sorted log
    QString stx;        // the serial field afterwards
    QString rstSent;    // the report fields afterwards
    QString rstRcvd;
    std::optional<EntryClock::ManualTime> offline; // the manual time after an offline collision
    bool countiesChanged = false;
    QString refusal;           // for Refused: why
    bool refusalShown = false; // for Refused: told in a box this time

    bool added() const { return outcome == Outcome::Added; }
};

// Adding a QSO: validation, the line with its dupe mark and analysis, the "~" copy and the durable append,
// then the in-memory log, the indexes, the temporary backup, the next serial and the reports. The log file is
// written before memory changes, so a failed write leaves memory equal to the file.
class AddQso {
public:
    AddQso(LogSession& session, const EntryOptions& options, TemporaryBackups& backups, EntryIndex& index);
    AddQsoResult run(const EntryForm& form);

private:
    LogSession& m_session;
    const EntryOptions& m_options;
    TemporaryBackups& m_backups;
    EntryIndex& m_index;
};
