#include "helpfile.h"

#include "platform/programversion.h"
#include "platform/userdialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace HelpFile {

QString path() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("KVR_Log.html"));
}

bool open(UserDialogs& dialogs) {
    const QString file = path();
    if (!QFileInfo::exists(file)) {
        dialogs.error(QStringLiteral("Plik pomocy:\n") + file + QStringLiteral("\nnie został znaleziony."));
        return false;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        dialogs.error(QStringLiteral("Nie można otworzyć pliku pomocy:\n") + file);
        return false;
    }
    return true;
}

void about(UserDialogs& dialogs) {
    const QString text = QStringLiteral("Uniwersalny program do logowania w zawodach.\n\nWersja ") + programVersion();
    dialogs.message(QStringLiteral("O programie..."), text, MessageIcon::Information, unsigned(DialogButton::Ok),
                    DialogButton::Ok);
}

} // namespace HelpFile
