#pragma once

#include <QString>

class UserDialogs;

// "Pomoc" of the main menu.
namespace HelpFile {

// The help page beside the program's executable.
QString path();
// "Plik pomocy": opens the help page with the desktop's viewer; a missing page is reported.
bool open(UserDialogs& dialogs);
// "O programie": what the program is and its version.
void about(UserDialogs& dialogs);

} // namespace HelpFile
