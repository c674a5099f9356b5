#pragma once

#include "keyer/textkeyer.h"
#include "settings/settingskeys.h"

#include <QString>
#include <QStringList>

class IniFile;

enum class KeyingPort { None, Com, Lpt };
// Who times and sends the CW: our own timing on the port's lines, a Winkeyer, cwdaemon, or the radio's own keyer
// (timed by us, each character handed to the radio).
enum class KeyerKind { Lines, Winkeyer, Cwdaemon, Rig };

// Every setting of the keyer, with the configuration window's design values as defaults.
struct KeyerConfig {
    KeyerKind kind = KeyerKind::Lines;
    KeyingPort port = KeyingPort::None;
    QString comPort;                            // "COM1", a device name on Linux
    QString lptChoice = QStringLiteral("LPT1"); // "LPT1", "LPT2", "LPT3" or "USER"
    QString lptUserAddress;                     // hexadecimal text without "$"
    bool keyingOnRts = false;                   // "Kluczowanie": PTT uses the other line
    int speed = SettingsKeys::Keyer::speed.defaultValue;
    int dashRatio = SettingsKeys::Keyer::dashRatio.defaultValue;       // tenths
    int gapRatio = SettingsKeys::Keyer::gapRatio.defaultValue;         // tenths
    int longGapRatio = SettingsKeys::Keyer::longGapRatio.defaultValue; // tenths
    bool sidetone = SettingsKeys::Keyer::sidetone.defaultValue;
    int toneHz = SettingsKeys::Keyer::toneHz.defaultValue;
    int volume = SettingsKeys::Keyer::volume.defaultValue;
    int loopDelaySeconds = SettingsKeys::Keyer::loopDelaySeconds.defaultValue;
    int pttDelayMs = SettingsKeys::Keyer::pttDelayMs.defaultValue;
    int serialFormat = SettingsKeys::Keyer::serialFormat.defaultValue; // index of "1", "01", "001"
    bool cutNumbers = SettingsKeys::Keyer::cutNumbers.defaultValue;
    bool ptt = SettingsKeys::Keyer::ptt.defaultValue;
    bool multithreaded = SettingsKeys::Keyer::multithreaded.defaultValue;
    bool extraGap = SettingsKeys::Keyer::extraGap.defaultValue;
    bool mapDownAsInsert = SettingsKeys::Keyer::mapDownAsInsert.defaultValue;
    bool mapUpAsPlus = SettingsKeys::Keyer::mapUpAsPlus.defaultValue;
    double calibrationFactor = SettingsKeys::Keyer::calibrationFactor.defaultValue;
    // "Priorytet", kept in the "Program" section: one of priorityNames(), or empty for none chosen.
    QString priority;
    QString winkeyerPort;
    bool winkeyerSpeedPot = false;
    QString cwdaemonAddress = SettingsKeys::Keyer::cwdaemonAddress.defaultValue;

    // "Port szeregowy / LPT", "Winkeyer", "cwdaemon", "Klucz radia (CAT)", in the order of KeyerKind.
    static QStringList kindNames();
    // A keyer that times the Morse itself (Winkeyer, cwdaemon): calibration and our own timing do not apply.
    bool timedByKeyer() const { return timedByKeyer(kind); }
    static bool timedByKeyer(KeyerKind k) { return k == KeyerKind::Winkeyer || k == KeyerKind::Cwdaemon; }
    // What a keyer cannot do: each text is the hint on the greyed control, empty where the control applies.
    struct Limits {
        QString lines;         // the port's keying and PTT lines
        QString longGap;       // the word-space ratio
        QString volume;        // the sidetone's volume
        QString multithreaded; // "Wielowątkowa obsługa CW"
        QString calibration;
    };
    static Limits limits(KeyerKind kind);
    // What the Winkeyer or cwdaemon is told (its port or address goes to the keyer when it is made).
    TextKeyerSettings textKeyerSettings() const;

    static QStringList priorityNames(); // "Bardzo wysoki", "Wysoki", "Normalny", "Niski"
    // A ratio in tenths as the configuration window shows it: "3.0" for 30, "0.5" for 5.
    static QString ratioText(int tenths);

    // The base I/O address of the chosen parallel port; 0 when the user address is not valid hexadecimal.
    int lptBase() const;
    // "Port LPT [$378]"
    QString lptLabel() const;

    // Out-of-range values are brought into the controls' ranges, as the controls would do.
    static KeyerConfig read(const IniFile& ini);
    void write(IniFile& ini) const;
};
