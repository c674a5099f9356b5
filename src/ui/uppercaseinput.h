#pragma once

class QLineEdit;

// Fields marked for upper-case input turn every typed letter into a capital, as the operator types.
void forceUpperCase(QLineEdit* edit);
// Fields that take only the digits 0–9 from the keyboard.
void acceptDigitsOnly(QLineEdit* edit);
