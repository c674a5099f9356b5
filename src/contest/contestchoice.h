#pragma once

#include "contest/contestdefinition.h"

#include <QString>
#include <QStringList>

// Where the contest definitions come from and how one is picked: by its name (the file name without ".ini") from
// the definition folders, or by the path of a file.
namespace ContestChoice {
// The shipped definitions beside the executable or in the installation's shared data, then the program folder's
// "contests", whose files win by name. Only folders that exist.
QStringList definitionFolders(const QString& executableDir, const QString& sharedDataDir, const QString& programFolder);
// "brak" and an empty name choose no contest.
bool isNone(const QString& name);
ContestDefinitionRead find(const QString& nameOrFile, const QStringList& folders);
QString unknownContestMessage(const QString& name);
} // namespace ContestChoice
