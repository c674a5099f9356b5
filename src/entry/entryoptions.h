#pragma once

#include "entry/serialnumber.h"

#include <QString>

class IniFile;

// The entry window's options kept in the settings file ("Program" section, and "Klucz CW" / "Format").
// Defaults are the window's design values.
struct EntryOptions {
    bool autoIncrement = true;                   // "Autonumber" (autoIncrementCheck "Zwiększ automatycznie")
    QString stx = QStringLiteral("0");           // "STX" (sentSerialEdit)
    QString stxFixed = QStringLiteral("KO88WW"); // "Grupa" (sentFixedPartEdit)
    bool withoutExchange = false;                // "Logowanie grupy" (actionWithoutExchange): logging with no exchange
    bool oneQsoPerBand = false;                  // "Jedno QSO"
    bool warcBands = false;                      // "Pasma WARC"
    bool digitalModes = false;                   // "Emisje cyfrowe"
    QString band = QStringLiteral("80M");        // "Pasmo"
    QString mode = QStringLiteral("CW");         // "Emisja"
    bool separateVhfSerials = false;             // "Osobna numeracja na UKF"
    bool manualUtc = false;                      // "Czas UTC manualny"
    int utcOffsetHours = 0;                      // "Offset", local minus UTC, -12…12
    SerialFormat serialFormat = SerialFormat::Three; // "Klucz CW" / "Format"

    static EntryOptions read(const IniFile& settings);
    // Writes the "Program" keys of the entry window (the keyer configuration owns "Klucz CW").
    void write(IniFile& settings) const;
};
