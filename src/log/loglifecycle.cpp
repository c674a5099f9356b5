#include "log/loglifecycle.h"

#include "analysis/operatordata.h"
#include "core/logfile.h"
#include "core/qsoline.h"
#include "core/textfile.h"
#include "log/logsession.h"
#include "platform/userdialogs.h"

#include <QDir>
#include <QFileInfo>

QString formatSerial(int value, int digits) {
    return QString::number(value).rightJustified(digits, QLatin1Char('0'));
}

std::optional<QString>
firstFreeLogName(const QString& folder, const QString& prefix, const QString& suffix, int limit) {
    const QDir dir(folder);
    for (int n = 1; n <= limit; ++n) {
        const QString path = dir.filePath(prefix + QString::number(n) + suffix);
        const QFileInfo info(path);
        if (!info.exists() || (info.isFile() && info.size() < 10))
            return path;
    }
    return std::nullopt;
}

QString withLogExtension(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".kvr") : path;
}

namespace {

// Only the file name is lower-cased: the folders of the path are matched exactly on this file system.
QString lowerFileName(const QString& path) {
    const QFileInfo info(path);
    return QDir(info.path()).filePath(info.fileName().toLower());
}

bool samePath(const QString& a, const QString& b) {
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

QStringList logLines(const LogSession& session) {
    return session.log().lineTexts();
}

// Asks whether an existing file may be replaced: Yes goes on, No asks for another name, Cancel ends.
DialogButton askReplace(UserDialogs& dialogs, const QString& path) {
    return dialogs.message(QStringLiteral("Ostrzeżenie"), LogLifecycle::replaceQuestion(path), MessageIcon::Warning,
                           (DialogButton::Yes | DialogButton::No) | unsigned(DialogButton::Cancel),
                           DialogButton::Cancel);
}

} // namespace

QString LogLifecycle::logFilter() {
    return QStringLiteral("Pliki logu (*.kvr);;Wszystkie pliki (*)");
}

QString LogLifecycle::replaceQuestion(const QString& path) {
    return QStringLiteral("Plik ") + path + QStringLiteral(" istnieje.") + QStringLiteral("\n") +
           QStringLiteral("Czy zastąpić istniejący plik?");
}

QString LogLifecycle::automaticNamesExhaustedMessage(const QString& pattern) {
    return QStringLiteral("Wszystkie automatyczne nazwy logu (") + pattern +
           QStringLiteral(") są już zajęte.\nNowy log nie został utworzony.\n\n"
                          "Wybierz nazwę pliku nowego logu samodzielnie.");
}

std::optional<QString> LogLifecycle::chooseNewLogFile() {
    UserDialogs& dialogs = m_session.dialogs();
    for (;;) {
        const std::optional<QString> chosen =
            m_session.saveFile({QStringLiteral("Nowy log"), QString(), logFilter(), QString()});
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        const QString path = lowerFileName(withLogExtension(*chosen));
        if (!QFileInfo::exists(path))
            return path;
        const QString question = QStringLiteral("Plik ") + path + QStringLiteral(" istnieje!") + QStringLiteral("\n") +
                                 QStringLiteral("\n") + QStringLiteral("Wybierz:") + QStringLiteral("\n") +
                                 QStringLiteral("TAK - aby zastąpić istniejący plik") + QStringLiteral("\n") +
                                 QStringLiteral("NIE  - aby ponownie wybrać nazwę pliku");
        if (dialogs.warningYesNo(question, DialogButton::No) == DialogButton::Yes)
            return path;
    }
}

void LogLifecycle::startEmptyLog(const QString& path) {
    m_session.log().clearContacts();
    const bool samePathAsBefore = m_session.logPath() == path;
    emit m_session.logReloaded();
    m_session.setLogPath(path);
    // The log window shows just the new name until the first QSO is added.
    if (samePathAsBefore)
        emit m_session.logPathChanged(path);
}

std::optional<LogLifecycle::NewLogResult> LogLifecycle::NewLog(const QString& shownDate, int serialDigits) {
    UserDialogs& dialogs = m_session.dialogs();
    QString path;
    bool automatic = false;
    if (const std::optional<QString> chosen = chooseNewLogFile()) {
        path = *chosen;
    } else {
        const QString date = QString(shownDate).remove(QLatin1Char('-'));
        const QString suffix = QStringLiteral("_") + date + QStringLiteral(".kvr");
        const std::optional<QString> name =
            firstFreeLogName(m_session.folder().path(), QStringLiteral("log"), suffix, m_automaticNameLimit);
        if (!name) {
            // Every name is a log with contacts: none of them may be overwritten, so the current log stays.
            dialogs.error(automaticNamesExhaustedMessage(QStringLiteral("log1") + suffix + QStringLiteral(" … log") +
                                                         QString::number(m_automaticNameLimit) + suffix));
            return std::nullopt;
        }
        path = *name;
        automatic = true;
    }

    const TextFile::Status created = LogFile(path).create();
    if (!created) {
        dialogs.error(created.error);
        return std::nullopt;
    }
    startEmptyLog(path);
    if (automatic) {
        dialogs.information(
            QStringLiteral(
                "Ponieważ nie został wybrany plik nowego logu,\nprogramautomatycznie utworzył log o nazwie:\n\n") +
            path + QStringLiteral("\n") + QStringLiteral("\n") +
            QStringLiteral("Skorzystaj z funkcji ZAPISZ LOG JAKO.. w celu zmiany nazwy logu."));
    }
    return NewLogResult{formatSerial(1, serialDigits)};
}

QString LogLifecycle::serialAfterOpen(const std::optional<Qso>& newest, int serialDigits) {
    if (!newest)
        return formatSerial(1, serialDigits);
    QStringView stx = newest->stx;
    if (stx.size() > 6)
        stx = stx.left(stx.size() - 6).trimmed();
    bool ok = false;
    const int serial = stx.toInt(&ok);
    return ok ? formatSerial(serial + 1, serialDigits) : QStringLiteral("1");
}

std::optional<LogLifecycle::OpenLogResult> LogLifecycle::OpenLog(bool autoIncrement, int serialDigits) {
    const std::optional<QString> chosen =
        m_session.openFile({QStringLiteral("Otwórz log"), QString(), logFilter(), QString()});
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    m_session.log().clearContacts();
    m_session.setLogPath(QFileInfo(withLogExtension(*chosen)).absoluteFilePath());
    m_session.reload();
    OpenLogResult result;
    if (autoIncrement)
        result.serialText = serialAfterOpen(m_session.log().lastQso(), serialDigits);
    return result;
}

bool LogLifecycle::SaveLogAs(const OperatorData& operatorData) {
    UserDialogs& dialogs = m_session.dialogs();
    QString proposed;
    if (!operatorData.contestCall.isEmpty())
        proposed =
            operatorData.contestCall.toLower().replace(QLatin1Char('/'), QLatin1Char('_')) + QStringLiteral(".kvr");
    const QString current = m_session.logPath();
    for (;;) {
        const std::optional<QString> chosen =
            m_session.saveFile({QStringLiteral("Zapisz log jako"), QString(),
                                QStringLiteral("Pliki logów (*.kvr);;Wszystkie pliki (*)"), proposed});
        if (!chosen || chosen->isEmpty())
            return false;
        // The name is checked with and without the extension: "log" would otherwise overwrite log.kvr itself.
        if (samePath(*chosen, current) || samePath(withLogExtension(*chosen), current)) {
            dialogs.error(QStringLiteral("Log o tej nazwie jest właśnie używany.\nUżyj innej nazwy logu."));
            continue;
        }
        const QString path = QFileInfo(withLogExtension(*chosen)).absoluteFilePath();
        if (QFileInfo::exists(path)) {
            const DialogButton answer = askReplace(dialogs, path);
            if (answer == DialogButton::No)
                continue;
            if (answer != DialogButton::Yes)
                return false;
        }
        if (const TextFile::Status copied = LogFile(current).keepPrevious(); !copied) {
            dialogs.error(copied.error);
            return false;
        }
        // The new file is complete before the program switches to it, so appends never go to a torn file.
        const TextFile::Status written = LogFile(path).rewrite(logLines(m_session));
        if (!written) {
            dialogs.error(written.error);
            return false;
        }
        m_session.setLogPath(path);
        m_session.noteLogWritten();
        return true;
    }
}

bool LogLifecycle::SaveLogCopy(const QString& proposedName) {
    UserDialogs& dialogs = m_session.dialogs();
    m_copyPending = true;
    for (;;) {
        const std::optional<QString> chosen = m_session.saveFile(
            {QStringLiteral("Zapisz kopię logu"), QString(), QStringLiteral("Wszystkie pliki (*)"), proposedName});
        if (!chosen || chosen->isEmpty())
            return false;
        const QString path = QFileInfo(*chosen).absoluteFilePath();
        if (QFileInfo::exists(path)) {
            const DialogButton answer = askReplace(dialogs, path);
            if (answer == DialogButton::No)
                continue;
            if (answer != DialogButton::Yes)
                return false;
        }
        const TextFile::Status copied = TextFile::copyFile(m_session.logPath(), path);
        if (!copied) {
            dialogs.error(copied.error);
            return false;
        }
        dialogs.information(QStringLiteral("Log został zapisany."));
        m_copyPending = false;
        return true;
    }
}
