#include "contest/contestchoice.h"

#include <QDir>
#include <QFileInfo>

namespace ContestChoice {

QStringList
definitionFolders(const QString& executableDir, const QString& sharedDataDir, const QString& programFolder) {
    QStringList folders;
    for (const QString& base : {executableDir, sharedDataDir, programFolder}) {
        if (base.isEmpty())
            continue;
        const QString folder = QDir::cleanPath(QDir(base).filePath(QStringLiteral("contests")));
        if (QFileInfo(folder).isDir() && !folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

bool isNone(const QString& name) {
    return name.trimmed().isEmpty() || name.trimmed().compare(QLatin1String("brak"), Qt::CaseInsensitive) == 0;
}

QString unknownContestMessage(const QString& name) {
    return QStringLiteral("Nie ma definicji zawodów \"%1\".").arg(name);
}

ContestDefinitionRead find(const QString& nameOrFile, const QStringList& folders) {
    const QFileInfo file(nameOrFile);
    if (nameOrFile.contains(QLatin1Char('/')) || nameOrFile.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
        return readContestDefinition(file.absoluteFilePath());
    // A later folder's file wins, as in the catalogue.
    for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder) {
        const QString path = QDir(*folder).filePath(nameOrFile + QStringLiteral(".ini"));
        if (QFileInfo::exists(path))
            return readContestDefinition(path);
    }
    return {std::nullopt, unknownContestMessage(nameOrFile)};
}

} // namespace ContestChoice
