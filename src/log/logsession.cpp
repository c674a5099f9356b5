#include "log/logsession.h"

#include "analysis/scoresummary.h"

#include <QFileInfo>

LogSession::LogSession(ProgramFolder folder, UserDialogs& dialogs, Clock& clock, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_dialogs(dialogs), m_clock(clock) {}

void LogSession::setLogPath(const QString& path) {
    if (m_log.path() == path)
        return;
    m_log.setPath(path);
    emit logPathChanged(path);
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
    return {analysis, &m_counties, operatorData.locator, m_band, m_mode};
}

LogContext LogSession::logContext() const {
    return {oneQsoPerBand, analysisContext()};
}

LoadResult LogSession::reload() {
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
