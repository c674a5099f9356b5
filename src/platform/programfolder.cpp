#include "platform/programfolder.h"

#include <QDir>

ProgramFolder::ProgramFolder(QString path) : m_path(QDir::cleanPath(QDir(path).absolutePath())) {}

ProgramFolder ProgramFolder::resolve(QStringList& args, const QString& executableDir) {
    QString home;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--home") && i + 1 < args.size()) {
            home = args.at(i + 1);
            args.remove(i, 2);
            break;
        }
        if (arg.startsWith(QLatin1String("--home="))) {
            home = arg.mid(7);
            args.remove(i);
            break;
        }
    }
    return resolve(home, executableDir);
}

ProgramFolder ProgramFolder::resolve(const QString& home, const QString& executableDir) {
    if (!home.isEmpty())
        return ProgramFolder(home);
    const QString fromEnvironment = qEnvironmentVariable("KVRLOG_HOME");
    return ProgramFolder(fromEnvironment.isEmpty() ? executableDir : fromEnvironment);
}

QString ProgramFolder::file(const QString& name) const {
    return QDir(m_path).filePath(name);
}
