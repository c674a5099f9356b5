#include "helpfile.h"

#include "platform/programfolder.h"
#include "platform/programversion.h"
#include "platform/userdialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace HelpFile {

QString path() {
    return ProgramPlaces::forExecutable(QCoreApplication::applicationDirPath())
        .dataFile(QStringLiteral("KVR_Log.html"));
}

std::optional<QString> read(UserDialogs& dialogs, const QString& file) {
    if (!QFileInfo::exists(file)) {
        dialogs.error(QStringLiteral("Plik pomocy:\n") + file + QStringLiteral("\nnie został znaleziony."));
        return std::nullopt;
    }
    QFile page(file);
    const bool opened = page.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? page.readAll() : QByteArray();
    // A read cut short would show part of the page as if it were all of it.
    if (!opened || page.error() != QFileDevice::NoError) {
        dialogs.error(QStringLiteral("Nie można otworzyć pliku pomocy:\n") + file);
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

void about(UserDialogs& dialogs) {
    const QString text = QStringLiteral("Uniwersalny program do logowania w zawodach.\n\nWersja ") + programVersion();
    dialogs.message(QStringLiteral("O programie..."), text, MessageIcon::Information, unsigned(DialogButton::Ok),
                    DialogButton::Ok);
}

} // namespace HelpFile
