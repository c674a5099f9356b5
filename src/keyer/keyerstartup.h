#pragma once

#include "keyer/keyerconfig.h"

#include <QString>

class KeyerTime;
class KeyingInterface;
class SerialLines;
class UserDialogs;

// What the main window's port status label (portStatusLabel) shows; hidden when the text is empty.
struct PortStatus {
    QString text;
    QString colour; // "navy" or "red"
};

namespace KeyerStartup {
PortStatus noPortsStatus();                        // "Brak ustawionych portów" in navy
PortStatus comInactiveStatus();                    // "Port COM nieaktywny" in red
QString serialMissingMessage(const QString& name); // "Brak portu szeregowego COM1\nlub port jest zajęty !"
// Opens the saved keying port at start-up: a COM port that is not listed now falls back to none, one that
// fails to open is reported; the parallel port is set to 8. config.port may change.
PortStatus openPort(KeyerConfig& config, KeyingInterface& keying, SerialLines* serial, UserDialogs& dialogs);
// Another COM entry chosen (and the main window's 5 s reopen): close, wait 50 ms, open; failures reported.
PortStatus reopenSerial(const QString& name, SerialLines& serial, UserDialogs& dialogs, KeyerTime& time);
} // namespace KeyerStartup
