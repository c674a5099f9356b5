#pragma once

#include <QString>

class IniFile;

// The station's identity, section "Operator" of the settings file.
struct OperatorData {
    QString contestCall;  // "Uzywany znak"
    QString name;         // "Name"
    QString email;        // "E-mail"
    QString address1;     // "Adres1"
    QString address2;     // "Adres2"
    QString town;         // "Miejscowosc"
    QString postcode;     // "Kod"
    QString locator;      // "Lokator"
    QString operatorCall; // "Znak operatora"

    static OperatorData read(const IniFile& settings);
    // Writes the nine keys in the program's order.
    void write(IniFile& settings) const;
};
