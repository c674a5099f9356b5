#pragma once

#include <QString>

class IniFile;

enum class KeyingPort { None, Com, Lpt };

// Every "Klucz CW" setting of the keyer, with the configuration window's design values as defaults.
struct KeyerConfig {
    KeyingPort port = KeyingPort::None;
    QString comPort;                            // "COM1", a device name on Linux
    QString lptChoice = QStringLiteral("LPT1"); // "LPT1", "LPT2", "LPT3" or "USER"
    QString lptUserAddress;                     // hexadecimal text without "$"
    bool keyingOnRts = false;                   // "Kluczowanie": PTT uses the other line
    int speed = 30;
    int dashRatio = 30;    // tenths
    int gapRatio = 10;     // tenths
    int longGapRatio = 30; // tenths
    bool sidetone = true;
    int toneHz = 800;
    int volume = 20;
    int loopDelaySeconds = 1;
    int pttDelayMs = 100;
    int serialFormat = 2; // index of "1", "01", "001"
    bool cutNumbers = true;
    bool ptt = false;
    bool multithreaded = true;
    bool extraGap = true;
    bool mapDownAsInsert = false;
    bool mapUpAsPlus = false;
    double calibrationFactor = 1.0;

    // The base I/O address of the chosen parallel port; 0 when the user address is not valid hexadecimal.
    int lptBase() const;
    // "Port LPT [$378]"
    QString lptLabel() const;

    // Out-of-range values are brought into the controls' ranges, as the controls would do.
    static KeyerConfig read(const IniFile& ini);
    void write(IniFile& ini) const;
};

namespace KeyerSettings {
inline const QString kSection = QStringLiteral("Klucz CW");
}
