#include "entry/addqso.h"

#include "analysis/exchangeanalysis.h"
#include "core/bands.h"
#include "core/logfile.h"
#include "core/modes.h"
#include "core/qsoline.h"
#include "entry/entryindex.h"
#include "entry/logbackups.h"
#include "entry/workedbefore.h"
#include "log/logsession.h"
#include "lookup/mastercalldb.h"
#include "platform/userdialogs.h"

AddQso::AddQso(LogSession& session, const EntryOptions& options, TemporaryBackups& backups, EntryIndex& index)
    : m_session(session), m_options(options), m_backups(backups), m_index(index) {}

AddQsoResult AddQso::run(const EntryForm& form) {
    using Outcome = AddQsoResult::Outcome;
    AddQsoResult result;
    result.stx = form.stx;
    result.rstSent = form.rstSent;
    result.rstRcvd = form.rstRcvd;
    result.offline = form.offline;
    UserDialogs& dialogs = m_session.dialogs();
    LogBook& log = m_session.log();

    if (form.call.isEmpty() && form.srx.isEmpty())
        return result;
    if (form.call.isEmpty()) {
        dialogs.error(QStringLiteral("Brak znaku stacji!"));
        result.outcome = Outcome::MissingCall;
        return result;
    }
    if (MasterCallDatabase::isPattern(form.call)) {
        dialogs.error(QStringLiteral("Znak zawiera „?” – to wzorzec wyszukiwania, nie znak stacji. Popraw znak "
                                     "przed zapisaniem."));
        result.outcome = Outcome::PatternCall;
        return result;
    }
    if (form.srx.isEmpty() && !m_options.withoutExchange &&
        dialogs.warningYesNo(QStringLiteral("Brak odebranej grupy kontrolnej !\nCzy na pewno zalogować ?")) !=
            DialogButton::Yes) {
        result.outcome = Outcome::Declined;
        return result;
    }

    // Memory must hold what the file holds before anything is added to it: a contact another program wrote
    // would otherwise be missing from the dupe check, and from the log after the next rewrite.
    m_session.reloadIfChangedOnDisk();
    if (const std::optional<QString> refusal = m_session.writeRefusal()) {
        result.outcome = Outcome::Refused;
        result.refusal = *refusal;
        // Told in a box the first time; after that the entry window shows it in its status line.
        if (m_session.refusalNotYetTold()) {
            dialogs.error(*refusal);
            result.refusalShown = true;
        }
        return result;
    }

    QString date = form.date;
    QString time = form.time;
    if (form.offline) {
        const EntryClock::ManualTime manual = EntryClock::resolveOfflineCollision(*form.offline, log.records());
        result.offline = manual;
        date = EntryClock::formatDate(manual.date);
        time = manual.time;
    }

    const Band band = m_session.currentBand();
    const QString stx = form.stx.trimmed();
    result.stx = stx;

    QString line = QsoLine::compose({date, time, band, m_session.currentMode(), form.rstSent, stx, form.stxFixed,
                                     form.call, form.rstRcvd, form.srx});
    // A contact logged without an exchange is never a dupe and takes no key.
    const std::optional<PreparedQso> prepared =
        log.prepare(line, m_session.oneQsoPerBand, m_session.analysisContext(), !form.srx.isEmpty());
    if (!prepared) {
        dialogs.error(logFormatErrorMessage(line));
        result.outcome = Outcome::WriteFailed;
        return result;
    }
    line = prepared->line();

    // The "~" copy holds the log as it was; only when the new line is on the disk does memory follow.
    const LogFile file(m_session.logPath());
    if (const TextFile::Status copied = file.keepPrevious(); !copied) {
        dialogs.error(copied.error);
        result.outcome = Outcome::WriteFailed;
        return result;
    }
    const TextFile::Status appended = file.append({line});
    m_session.noteLogWritten();
    if (!appended) {
        dialogs.error(appended.error);
        result.outcome = Outcome::WriteFailed;
        return result;
    }

    const int vhf = band.vhfIndex();
    if (m_options.separateVhfSerials && m_options.autoIncrement && vhf >= 0) {
        bool ok = false;
        const int serial = stx.toInt(&ok);
        if (ok)
            log.setNextVhfSerial(vhf, serial + 1);
    }
    const auto countiesBefore = log.loggedCounties().size();
    result.row = log.add(*prepared, LogBook::Placement::Sorted);
    result.countiesChanged = log.loggedCounties().size() != countiesBefore;
    m_index.noteAdded(log, prepared->record);
    result.line = line;
    result.outcome = Outcome::Added;

    if (const TextFile::Status backup = m_backups.write(m_session.folder(), log.fileBytes()); !backup)
        dialogs.error(backup.error);

    if (m_options.autoIncrement) {
        // A serial field that holds no number stays as it is; the contact is already stored.
        if (const auto next = SerialNumber::next(stx, m_options.serialFormat))
            result.stx = *next;
    }
    result.rstSent = Modes::defaultReport(m_session.currentMode().info(), form.rstSent, Modes::ReportReset::AfterQso);
    result.rstRcvd = Modes::defaultReport(m_session.currentMode().info(), form.rstRcvd, Modes::ReportReset::AfterQso);

    emit m_session.qsoAdded(result.row);
    if (result.countiesChanged)
        emit m_session.loggedCountiesChanged();
    return result;
}
