#include "lookup/masterselection.h"

#include "lookup/textmasterfile.h"
#include "platform/userdialogs.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"

#include <QFileInfo>

namespace {

bool readable(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.isReadable();
}

} // namespace

QString MasterSelection::missingFileMessage(const QString& path) {
    return QStringLiteral("Plik MASTER:\n") + path + QStringLiteral("\n") +
           QStringLiteral("Nie istnieje lub nie daje się czytać !");
}

bool MasterSelection::pathNamesDta(const QString& path) {
    return path.contains(QLatin1String(".dta"), Qt::CaseInsensitive);
}

bool MasterSelection::extensionIsDta(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("dta"), Qt::CaseInsensitive) == 0;
}

QString MasterSelection::captionFromLabel(const QString& label) {
    if (label.isEmpty())
        return QStringLiteral("Podpowiedzi znaków  [0]");
    if (label.startsWith(QLatin1Char('[')))
        return QStringLiteral("Podpowiedzi znaków  ") + label;
    return QStringLiteral("Podpowiedzi znaków [") + label + QStringLiteral("]");
}

bool MasterSelection::loadDta(UserDialogs& dialogs) {
    const MasterCallDatabase::LoadResult result = m_db.LoadDatabase(m_path);
    m_loaded = result.ok;
    if (!result.ok) {
        dialogs.error(result.error);
        return false;
    }
    m_countLabel = QStringLiteral("[%1 bitów]").arg(m_db.fileSize());
    return true;
}

void MasterSelection::readText(WorkedCalls& calls, UserDialogs& dialogs) {
    const TextMasterFile::ReadResult result = TextMasterFile::read(m_path, calls);
    if (!result.status)
        dialogs.error(result.status.error);
    m_countLabel = QString::number(result.count);
}

void MasterSelection::loadAtStartup(IniFile& settings, UserDialogs& dialogs, WorkedCalls& calls) {
    m_path = settings.value(SettingsKeys::Master::file, m_path);
    if (m_path.isEmpty())
        return;
    if (!readable(m_path)) {
        dialogs.error(missingFileMessage(m_path));
        m_path.clear();
        settings.setValue(SettingsKeys::Master::file, QString());
        return;
    }
    if (pathNamesDta(m_path)) {
        m_isDta = true;
        if (loadDta(dialogs))
            m_caption = QStringLiteral("Podpowiedzi znaków ") + m_countLabel;
        return;
    }
    m_isDta = false;
    m_db.clear();
    m_loaded = false;
    readText(calls, dialogs);
    m_caption = QStringLiteral("Podpowiedzi znaków  [") + m_countLabel + QStringLiteral("]");
}

MasterSelection::ChooseOutcome MasterSelection::choose(const QString& path, UserDialogs& dialogs, WorkedCalls& calls) {
    if (path.isEmpty())
        return ChooseOutcome::Unchanged;
    if (!readable(path)) {
        dialogs.error(missingFileMessage(path));
        return ChooseOutcome::Missing;
    }
    m_path = path;
    m_isDta = extensionIsDta(path);
    if (m_isDta) {
        if (!loadDta(dialogs))
            return ChooseOutcome::Failed;
        dialogs.message(QStringLiteral("Informacja o pliku MASTER"),
                        QStringLiteral("Plik : ") + m_db.fileName() + QStringLiteral("\nData : ") +
                            m_db.fileDateText() + QStringLiteral("\nWielkość: ") + QString::number(m_db.fileSize()) +
                            QStringLiteral(" bitów"),
                        MessageIcon::Information, unsigned(DialogButton::Ok), DialogButton::Ok);
        return ChooseOutcome::Loaded;
    }
    m_db.clear();
    m_loaded = false;
    readText(calls, dialogs);
    return ChooseOutcome::Loaded;
}

void MasterSelection::save(IniFile& settings) const {
    settings.setValue(SettingsKeys::Master::file, m_path);
}
