#pragma once

class QCoreApplication;

// Qt's own Polish texts for the standard dialogs and buttons ("Tak", "Nie", "Anuluj", the file, colour and
// font choosers). Returns false when Qt's translations are not installed; the program then works in English
// there.
bool installPolishTranslations(QCoreApplication& application);
