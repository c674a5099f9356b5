#pragma once

#include <QString>

#include <optional>

class UserDialogs;

// "Pomoc" of the main menu.
namespace HelpFile {

// The help page beside the program's executable, else in the installed shared data.
QString path();
// The help page's text (UTF-8) for the help window; a page that is missing or cannot be read is reported.
std::optional<QString> read(UserDialogs& dialogs, const QString& file = path());
// "O programie": what the program is and its version.
void about(UserDialogs& dialogs);

} // namespace HelpFile
