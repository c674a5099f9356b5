#pragma once

#include <QString>

class QLineEdit;

// Fields marked for upper-case input turn every typed letter into a capital, as the operator types.
void forceUpperCase(QLineEdit* edit);
// The same for the entry fields, which also never take the given characters, however the text arrives (typed,
// pasted or set by the program).
void forceUpperCase(QLineEdit* edit, const QString& refused);
// Fields that take only the digits 0–9 from the keyboard.
void acceptDigitsOnly(QLineEdit* edit);
