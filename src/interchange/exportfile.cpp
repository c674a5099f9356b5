#include "interchange/exportfile.h"

#include "log/logsession.h"
#include "platform/userdialogs.h"

#include <QFileInfo>

namespace ExportFile {

QString proposedName(const QString& contestCall) {
    QString name = contestCall.toLower();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return name;
}

QString withDefaultExtension(const QString& path, const QString& extension) {
    if (QFileInfo(path).suffix().isEmpty() && !QFileInfo(path).fileName().endsWith(QLatin1Char('.')))
        return path + QLatin1Char('.') + extension;
    return path;
}

Kind cabrillo() {
    return {QStringLiteral("Cabrillo"), QStringLiteral("Pliki Cabrillo (*.cbr);;Wszystkie pliki (*)"),
            QStringLiteral("cbr")};
}

Kind adif() {
    return {QStringLiteral("ADIF"), QStringLiteral("Pliki ADIF (*.adi);;Wszystkie pliki (*)"), QStringLiteral("adi")};
}

Kind csv() {
    return {QStringLiteral("CSV"), QStringLiteral("Pliki CSV (*.csv);;Wszystkie pliki (*)"), QStringLiteral("csv")};
}

QString overwriteQuestion(const Kind& kind, const QString& path) {
    return QStringLiteral("Plik ") + kind.label + QStringLiteral(":\n") + path +
           QStringLiteral("\nistnieje.\nCzy zastąpić ten plik ?");
}

QString savedMessage(const Kind& kind, const QString& path) {
    return QStringLiteral("Plik ") + kind.label + QStringLiteral(": \n") + path + QStringLiteral("\nzostał zapisany!");
}

std::optional<QString> choose(LogSession& session, const Kind& kind, const QString& contestCall) {
    UserDialogs& dialogs = session.dialogs();
    while (true) {
        const std::optional<QString> chosen =
            session.saveFile({QString(), QString(), kind.filter, proposedName(contestCall)});
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        const QString path = withDefaultExtension(*chosen, kind.extension);
        if (!QFileInfo::exists(path) || dialogs.warningYesNo(overwriteQuestion(kind, path)) == DialogButton::Yes)
            return path;
    }
}

} // namespace ExportFile
