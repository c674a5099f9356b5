#include "rig/rigsettings.h"

#include "settings/settingsbinding.h"
#include "settings/settingskeys.h"

#include <algorithm>
#include <functional>

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

namespace {

const SettingsBindings<RigSettings>& bindings() {
    using Connection = RigSettings::Connection;
    static const SettingsBindings<RigSettings> table{
        Bind::field(
            Keys::connection, &RigSettings::connection,
            [](int n) { return n == 1   ? Connection::Serial
                               : n == 2 ? Connection::Rigctld
                                        : Connection::None; },
            [](Connection c) { return int(c); }),
        Bind::field(
            Keys::model, &RigSettings::model, [](int n) { return std::max(0, n); }, std::identity()),
        Bind::field(
            Keys::port, &RigSettings::port, [](const QString& t) { return t.trimmed(); }, std::identity()),
        Bind::field(
            Keys::speed, &RigSettings::speed, [](int n) { return std::max(0, n); }, std::identity()),
        Bind::field(
            Keys::rigctld, &RigSettings::rigctldAddress, [](const QString& t) { return t.trimmed(); }, std::identity()),
        Bind::field(
            Keys::pollMs, &RigSettings::pollMs,
            [](int ms) { return std::clamp(ms, RigSettings::kMinPollMs, RigSettings::kMaxPollMs); }, std::identity()),
        Bind::field(
            Keys::direction, &RigSettings::bothWays, [](int n) { return n == 1; }, [](bool on) { return on ? 1 : 0; }),
        Bind::field(Keys::ptt, &RigSettings::pttThroughRig),
    };
    return table;
}

} // namespace

RigSettings RigSettings::read(const IniFile& ini) {
    RigSettings s;
    readSettings(ini, s, bindings());
    return s;
}

void RigSettings::write(IniFile& ini) const {
    writeSettings(ini, *this, bindings());
}
