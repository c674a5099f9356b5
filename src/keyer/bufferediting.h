#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The buffer editor's rules: the macros it offers and where one may go.
namespace BufferEditing {
// The entries of "Dostępne makra", as shown.
QStringList macroEntries();
// The token an entry inserts: the entry up to and including its first ">".
QString tokenOf(const QString& entry);
// False when the caret lies inside a macro whose "<" is not closed before it.
bool canInsertAt(const QString& text, int caret);

struct Insertion {
    QString text;
    int caret = 0; // right after the inserted token
};
// The token at the caret; nullopt when the caret lies inside an unclosed macro.
std::optional<Insertion> insertToken(const QString& text, int caret, const QString& token);

QString insertRefusedMessage();                           // "Nie można wstawić makro w tym miejscu !!"
QString myCallWarning(const QString& operatorWindowName); // "<MYCALL>" without a contest callsign
// "Bufor F1".."Bufor F10", "Bufor INSERT", "Bufor +" back to 1..12; 0 for anything else.
int bufferNumberFromCaption(const QString& caption);

// "Nagraj": the name chosen for a recording, with ".wav" added when it has another ending.
QString recordingPath(const QString& chosen);
// True when recording into path would replace a file the operator has not chosen for this buffer: the buffer's own
// WAV file is recorded over without a question.
bool recordingReplacesAnotherFile(const QString& path, const QString& buffersWavFile);
QString recordingOverwriteQuestion(const QString& path);
} // namespace BufferEditing
