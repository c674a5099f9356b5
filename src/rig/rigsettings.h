#pragma once

#include <QString>

#include <optional>

class IniFile;

// How the radio is reached and what goes through it, as the "Radio" section keeps it.
struct RigSettings {
    enum class Connection { None = 0, Serial = 1, Rigctld = 2 };
    static constexpr int kMinPollMs = 100;
    static constexpr int kMaxPollMs = 10000;

    Connection connection = Connection::None;
    int model = 0; // hamlib's model number, for a radio on a serial port
    QString port;
    int speed = 0; // baud; 0 keeps the model's own
    QString rigctldAddress = QStringLiteral("localhost:4532");
    int pollMs = 500;
    bool bothWays = false;      // the operator's band and mode changes set the radio too
    bool pttThroughRig = false; // PTT by CAT command

    bool enabled() const { return connection != Connection::None; }
    // Why this cannot connect (no model, no port, an address that is not host:port); nullopt when it can.
    std::optional<QString> problem() const;
    // "localhost:4532" as host and port; nullopt unless the port is a number 1…65535 after a non-empty host.
    struct Address {
        QString host;
        int port = 0;
    };
    static std::optional<Address> parseAddress(const QString& text);

    // Out-of-range values are brought into range as the dialog would.
    static RigSettings read(const IniFile& ini);
    void write(IniFile& ini) const;
};
