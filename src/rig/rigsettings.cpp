#include "rig/rigsettings.h"

#include "settings/inifile.h"
#include "settings/settingskeys.h"

#include <algorithm>

namespace Keys = SettingsKeys::Radio;

std::optional<QString> RigSettings::problem() const {
    switch (connection) {
    case Connection::None:
        return QStringLiteral("Radio nie jest ustawione");
    case Connection::Serial:
        if (model <= 0)
            return QStringLiteral("Nie wybrano modelu radia");
        if (port.trimmed().isEmpty())
            return QStringLiteral("Nie podano portu radia");
        return std::nullopt;
    case Connection::Rigctld:
        if (!parseAddress(rigctldAddress))
            return QStringLiteral("Adres rigctld ma postać host:port, np. localhost:4532");
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<RigSettings::Address> RigSettings::parseAddress(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(u':');
    if (colon <= 0)
        return std::nullopt;
    bool ok = false;
    const int port = trimmed.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return Address{trimmed.left(colon), port};
}

RigSettings RigSettings::read(const IniFile& ini) {
    RigSettings s;
    const int connection = ini.value(Keys::connection);
    s.connection = connection == 1 ? Connection::Serial : connection == 2 ? Connection::Rigctld : Connection::None;
    s.model = std::max(0, ini.value(Keys::model));
    s.port = ini.value(Keys::port).trimmed();
    s.speed = std::max(0, ini.value(Keys::speed));
    s.rigctldAddress = ini.value(Keys::rigctld).trimmed();
    s.pollMs = std::clamp(ini.value(Keys::pollMs), kMinPollMs, kMaxPollMs);
    s.bothWays = ini.value(Keys::direction) == 1;
    s.pttThroughRig = ini.value(Keys::ptt);
    s.cwThroughRig = ini.value(Keys::cwKeyer);
    return s;
}

void RigSettings::write(IniFile& ini) const {
    IniFile::Batch batch(ini);
    ini.setValue(Keys::connection, int(connection));
    ini.setValue(Keys::model, model);
    ini.setValue(Keys::port, port);
    ini.setValue(Keys::speed, speed);
    ini.setValue(Keys::rigctld, rigctldAddress);
    ini.setValue(Keys::pollMs, pollMs);
    ini.setValue(Keys::direction, bothWays ? 1 : 0);
    ini.setValue(Keys::ptt, pttThroughRig);
    ini.setValue(Keys::cwKeyer, cwThroughRig);
}
