#include "log/logsession.h"

#include "analysis/scoresummary.h"
#include "core/loglock.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"

#include <QDir>
#include <QFileInfo>

LogSession::LogSession(ProgramFolder folder, UserDialogs& dialogs, Clock& clock, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_dialogs(dialogs), m_clock(clock) {}

LogSession::~LogSession() = default;

ProgramSettings& LogSession::settings() {
    if (!m_settings) {
        m_settings = std::make_unique<ProgramSettings>(settingsPath());
        // The own locator the distances and azimuths are measured from follows the file, also when another
        // program or a hand edit changed it.
        connect(m_settings.get(), &ProgramSettings::changed, this, [this](const QString& section, const QString& key) {
            if (ProgramSettings::concerns(SettingsKeys::Operator::locator, section, key))
                operatorData.locator = m_settings->value(SettingsKeys::Operator::locator);
        });
    }
    return *m_settings;
}

void LogSession::setLogPath(const QString& path) {
    if (m_log.path() == path)
        return;
    m_log.setPath(path);
    m_stamp = {};
    m_lock.reset();
    m_lockRefusal.clear();
    m_refusalTold = false;
    if (m_lockWaitMs && !path.isEmpty()) {
        m_lock = std::make_unique<LogLock>(path);
        if (const LogLock::Result locked = m_lock->acquire(*m_lockWaitMs); !locked)
            m_lockRefusal = locked.message;
    }
    emit logPathChanged(path);
}

void LogSession::holdLogLock(int waitMs) {
    m_lockWaitMs = waitMs;
}

std::optional<QString> LogSession::lockRefusal() {
    if (m_lockRefusal.isEmpty())
        return std::nullopt;
    const LogLock::Result locked = m_lock->acquire(0);
    m_lockRefusal = locked ? QString() : locked.message;
    if (!locked)
        return m_lockRefusal;
    // Whoever held the log may have changed it.
    reloadIfChangedOnDisk();
    return std::nullopt;
}

std::optional<QString> LogSession::writeRefusal() {
    if (std::optional<QString> refusal = lockRefusal())
        return refusal;
    if (!m_logComplete)
        return QStringLiteral("Log %1 nie został wczytany w całości, więc nic nie jest do niego zapisywane: "
                              "łączność dopisana za błędną linią byłaby niewidoczna i przepadłaby.\n\n"
                              "Łączność pozostaje w polach. Otwórz inny log („Otwórz log”) albo załóż nowy "
                              "(„Nowy log”).")
            .arg(QDir::toNativeSeparators(m_log.path()));
    return std::nullopt;
}

LogSession::FileStamp LogSession::stampOf(const QString& path) {
    QFileInfo info(path);
    info.setCaching(false);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified().toMSecsSinceEpoch(), info.metadataChangeTime().toMSecsSinceEpoch()};
}

bool LogSession::reloadIfChangedOnDisk() {
    if (m_log.path().isEmpty() || stampOf(m_log.path()) == m_stamp)
        return false;
    reload();
    return true;
}

void LogSession::noteLogWritten() {
    m_stamp = stampOf(m_log.path());
}

QString LogSession::chooserFolder() const {
    if (!m_lastChosenFolder.isEmpty())
        return m_lastChosenFolder;
    if (!m_log.path().isEmpty())
        return QFileInfo(m_log.path()).absolutePath();
    return m_folder.path();
}

std::optional<QString> LogSession::rememberFolder(const std::optional<QString>& chosen, bool isFolder) {
    if (chosen && !chosen->isEmpty())
        m_lastChosenFolder = isFolder ? QFileInfo(*chosen).absoluteFilePath() : QFileInfo(*chosen).absolutePath();
    return chosen;
}

std::optional<QString> LogSession::openFile(FileRequest request) {
    request.directory = chooserFolder();
    return rememberFolder(m_dialogs.openFile(request), false);
}

std::optional<QString> LogSession::saveFile(FileRequest request) {
    request.directory = chooserFolder();
    return rememberFolder(m_dialogs.saveFile(request), false);
}

std::optional<QString> LogSession::chooseFolder(const QString& title) {
    return rememberFolder(m_dialogs.chooseFolder({title, chooserFolder()}), true);
}

TextFile::Status LogSession::LoadCountyList() {
    return m_counties.LoadCountyList(m_folder.countyFile(), analysis.mode);
}

void LogSession::setBand(const QString& band) {
    if (band == m_band)
        return;
    m_band = band;
    emit bandChanged(band);
}

void LogSession::setMode(const QString& mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    emit modeChanged(mode);
}

AnalysisContext LogSession::analysisContext() const {
    return {analysis, &m_counties, operatorData.locator, currentBand(), currentMode()};
}

LogContext LogSession::logContext() const {
    return {oneQsoPerBand, analysisContext()};
}

LoadResult LogSession::reload() {
    // Taken before the read: a change made while the file is read shows as a change at the next write.
    m_stamp = stampOf(m_log.path());
    m_refusalTold = false;
    const LoadResult result = LoadLog(m_log, logContext());
    m_logComplete = result.status != LoadResult::Status::FormatError && result.status != LoadResult::Status::ReadError;
    reportLoadFailure(result, m_dialogs);
    emit logReloaded();
    return result;
}

QString LogSession::scoreSummary() const {
    return BuildScoreSummary(m_log.path(), m_log.scoreFigures(analysis));
}

QString LogSession::loggedCountiesCaption() const {
    return ::loggedCountiesCaption(qsizetype(m_log.loggedCounties().size()));
}
