#include "entry/entrysession.h"

#include "core/bands.h"
#include "core/logfile.h"
#include "core/modes.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "platform/userdialogs.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"

#include <QFileInfo>

EntrySession::EntrySession(LogSession& session) : m_session(session) {
    m_reloaded = QObject::connect(&m_session, &LogSession::logReloaded, &m_session,
                                  [this] { m_index.rebuild(m_session.log()); });
}

EntrySession::~EntrySession() {
    QObject::disconnect(m_reloaded);
}

EntrySession::Start EntrySession::start(const QDateTime& shown) {
    const ProgramFolder& folder = m_session.folder();
    if (!EntryStartup::countyListPresent(folder)) {
        m_session.dialogs().error(EntryStartup::countyListMissingMessage(m_session.folder()));
        return Start::CountyListMissing;
    }
    m_instance = std::make_unique<SingleInstance>(folder);
    // The window holds its log's lock for as long as the log is open; a command-line writer holds it for
    // milliseconds, so a short wait is enough.
    m_session.holdLogLock(kWindowLockWaitMs);
    const IniFile& settings = m_session.settings().file();
    const EntryStartup::LogChoice choice = EntryStartup::chooseLog(folder, settings, m_instance->isFirst(), shown,
                                                                   m_session.dialogs(), m_instance->folderProblem());
    m_secondCopy = choice.secondCopy;
    m_backups.setNumber(choice.temporaryBackupNumber);
    m_session.setLogPath(choice.logPath);
    EntryStartup::loadSession(m_session, settings, m_options, m_beforeLoad);
    computeUtcOffset(m_session.clock().now());
    return Start::Ready;
}

LoadResult EntrySession::loadFor(const QString& logPath) {
    const IniFile& settings = m_session.settings().file();
    LogFile::removeLeftoverTemporaries(
        {m_session.folder().path(), m_session.folder().backupFolder(), QFileInfo(logPath).absolutePath()});
    m_session.setLogPath(logPath);
    const LoadResult result = EntryStartup::loadSession(m_session, settings, m_options);
    m_backups.setNumber(TemporaryBackups::firstFreeNumber(m_session.folder()));
    computeUtcOffset(m_session.clock().now());
    return result;
}

AddQsoResult EntrySession::addQso(const EntryForm& form) {
    return AddQso(m_session, m_options, m_backups, m_index).run(form);
}

WorkedBeforeResult EntrySession::checkCall(QStringView call) {
    const WorkedBeforeResult result = checkWorkedBefore(m_session.log(), m_index, m_session.currentBand(),
                                                        m_session.currentMode(), call, m_session.oneQsoPerBand);
    if (result.row >= 0)
        emit m_session.rowSelectionRequested(result.row);
    return result;
}

QStringList EntrySession::loggedCallSuggestions(QStringView call) {
    if (call.size() < 2)
        return {};
    return m_index.suggestions(m_session.log(), m_session.currentBand(), m_session.currentMode(), call);
}

std::optional<QString> EntrySession::crossModeExchange(QStringView call) {
    return ::crossModeExchange(m_session.log(), m_index, m_session.currentBand(), m_session.currentMode(), call,
                               m_session.oneQsoPerBand);
}

EntrySession::BandSwitch EntrySession::changeBand(const QString& band, const QString& serialField) {
    BandSwitch change;
    m_session.setBand(band);
    m_options.band = band;
    if (m_session.currentBand().isVhf())
        change.analysis = AnalysisHandlers::VhfBandChosen(m_session);
    AnalysisHandlers::BandOrModeChanged(m_session);
    change.serial =
        serialAfterBandSwitch(m_session.log(), m_session.currentBand(), serialField, m_options.separateVhfSerials,
                              m_options.autoIncrement, m_options.serialFormat);
    return change;
}

void EntrySession::changeMode(const QString& mode) {
    m_session.setMode(mode);
    m_options.mode = mode;
    AnalysisHandlers::BandOrModeChanged(m_session);
}

void EntrySession::setOneQsoPerBand(bool on) {
    m_options.oneQsoPerBand = on;
    if (m_session.oneQsoPerBand == on)
        return;
    m_session.oneQsoPerBand = on;
    m_session.reload();
}

void EntrySession::computeUtcOffset(const QDateTime& localNow) {
    m_utcOffset = EntryClock::ComputeUtcOffset(m_options.manualUtc, m_options.utcOffsetHours, localNow);
}

QDateTime EntrySession::utcNow() const {
    return EntryClock::utcFromLocal(m_session.clock().now(), m_utcOffset);
}

void EntrySession::saveSettings(IniFile& settings) const {
    IniFile::Batch batch(settings);
    settings.setValue(SettingsKeys::Program::logPath, m_session.logPath());
    m_options.write(settings);
    AnalysisHandlers::writeSettings(settings, m_session.analysis);
}
