#pragma once

#include <QString>

#include <functional>

class QLineEdit;

// Fields marked for upper-case input turn every typed letter into a capital, as the operator types.
void forceUpperCase(QLineEdit* edit);
// The same for the entry fields, which also take only the characters accepted (tested in upper case), however
// the text arrives (typed, pasted or set by the program).
void forceUpperCase(QLineEdit* edit, std::function<bool(QChar)> accepted);
// Fields that take only the digits 0–9 from the keyboard.
void acceptDigitsOnly(QLineEdit* edit);
