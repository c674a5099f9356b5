#include "keyer/keyerstartup.h"

#include "keyer/keyinginterface.h"
#include "platform/userdialogs.h"

#include "keyer/keyertime.h"

namespace {
const PortStatus kNoPorts{QStringLiteral("Brak ustawionych portów"), QStringLiteral("navy")};
const PortStatus kComInactive{QStringLiteral("Port COM nieaktywny"), QStringLiteral("red")};
} // namespace

namespace KeyerStartup {

PortStatus noPortsStatus() {
    return kNoPorts;
}

PortStatus comInactiveStatus() {
    return kComInactive;
}

QString serialMissingMessage(const QString& name) {
    return QStringLiteral("Brak portu szeregowego ") + name + QStringLiteral("\nlub port jest zajęty !");
}

PortStatus openPort(KeyerConfig& config, KeyingInterface& keying, SerialLines* serial, UserDialogs& dialogs) {
    PortStatus status;
    // A Winkeyer or cwdaemon keys instead of the lines; it is opened by the keyer's set-up.
    if (config.timedByKeyer()) {
        keying.configure(config);
        return status;
    }
    if (config.port == KeyingPort::Com) {
        // A port saved as a path (/dev/serial/by-id/…, a pseudo-terminal) is not among the names the system
        // enumerates; it is opened as given, and reported like any port that does not open.
        const bool byPath = config.comPort.startsWith(u'/');
        if (!serial || (!byPath && !serial->enumerate().contains(config.comPort))) {
            config.port = KeyingPort::None;
            keying.configure(config);
            return kComInactive;
        }
        keying.configure(config);
        if (!serial->open(config.comPort).ok) {
            dialogs.error(serialMissingMessage(config.comPort));
            return kComInactive;
        }
        return status;
    }
    keying.configure(config);
    if (config.port == KeyingPort::Lpt) {
        keying.lptChosen();
        return status;
    }
    return kNoPorts;
}

PortStatus reopenSerial(const QString& name, SerialLines& serial, UserDialogs& dialogs, KeyerTime& time) {
    serial.close();
    time.sleepUntil(time.now() + std::chrono::milliseconds(50));
    if (!serial.open(name).ok) {
        dialogs.error(serialMissingMessage(name));
        return kComInactive;
    }
    return {};
}

} // namespace KeyerStartup
