#include "keyer/keyerconfig.h"

#include "keyer/morsetiming.h"
#include "settings/settingsbinding.h"

#include <algorithm>
#include <functional>

namespace Keys = SettingsKeys::Keyer;

namespace {

int clampStep(int value, int low, int high, int step) {
    value = std::clamp(value, low, high);
    return low + (value - low) / step * step;
}

} // namespace

int KeyerConfig::lptBase() const {
    if (lptChoice == QLatin1String("LPT2"))
        return 0x3BC;
    if (lptChoice == QLatin1String("LPT3"))
        return 0x278;
    if (lptChoice == QLatin1String("USER")) {
        bool ok = false;
        const int value = QString(lptUserAddress).remove(u'$').toInt(&ok, 16);
        return ok ? value : 0;
    }
    return 0x378;
}

QString KeyerConfig::lptLabel() const {
    if (lptChoice == QLatin1String("USER"))
        return QStringLiteral("Port LPT [$") + lptUserAddress + u']';
    return QStringLiteral("Port LPT [$") + QString::number(lptBase(), 16).toUpper() + u']';
}

QStringList KeyerConfig::priorityNames() {
    return {QStringLiteral("Bardzo wysoki"), QStringLiteral("Wysoki"), QStringLiteral("Normalny"),
            QStringLiteral("Niski")};
}

QStringList KeyerConfig::kindNames() {
    return {QStringLiteral("Port szeregowy / LPT"), QStringLiteral("Winkeyer"), QStringLiteral("cwdaemon"),
            QStringLiteral("Klucz radia (CAT)")};
}

KeyerConfig::Limits KeyerConfig::limits(KeyerKind kind) {
    Limits l;
    if (!timedByKeyer(kind))
        return l;
    const QString name = kindNames().at(int(kind));
    l.lines = QStringLiteral("%1 kluczuje sam: linie portu COM/LPT nie są używane.").arg(name);
    l.longGap = QStringLiteral("%1 odmierza odstęp między wyrazami sam (7 kropek).").arg(name);
    l.volume = kind == KeyerKind::Winkeyer ? QStringLiteral("Głośność podsłuchu Winkeyera ustawia się w urządzeniu.")
                                           : QStringLiteral("Głośność podsłuchu cwdaemon ustawia się w systemie.");
    l.multithreaded = QStringLiteral("%1 jest obsługiwany zawsze w osobnym wątku.").arg(name);
    l.calibration = QStringLiteral("Kalibracja dotyczy tylko kluczowania przez port szeregowy lub LPT. %1 sam "
                                   "odmierza czas znaków, więc nie ma czego kalibrować.")
                        .arg(name);
    return l;
}

TextKeyerSettings KeyerConfig::textKeyerSettings() const {
    TextKeyerSettings s;
    s.wpm = speed;
    s.dashRatio = dashRatio;
    s.gapRatio = gapRatio;
    s.ptt = ptt;
    s.pttLeadMs = pttDelayMs;
    s.sidetone = sidetone;
    s.toneHz = toneHz;
    s.followSpeedPot = winkeyerSpeedPot;
    return s;
}

QString KeyerConfig::ratioText(int tenths) {
    return QString::number(tenths / 10) + u'.' + QString::number(tenths % 10);
}

namespace {

// A control's range and step: what the configuration window would make of the value.
auto steps(int low, int high, int step) {
    return [=](int value) { return clampStep(value, low, high, step); };
}
auto range(int low, int high) {
    return [=](int value) { return std::clamp(value, low, high); };
}

QString portText(const KeyerConfig& c) {
    if (c.port == KeyingPort::Com)
        return c.comPort;
    if (c.port == KeyingPort::Lpt)
        return c.lptChoice;
    return QStringLiteral("brak");
}

void readPort(KeyerConfig& c, const QString& stored) {
    const QString port = stored.trimmed();
    if (port.startsWith(QLatin1String("LPT")) || port == QLatin1String("USER")) {
        c.port = KeyingPort::Lpt;
        c.lptChoice = port;
    } else if (!port.isEmpty() && port != QLatin1String("brak")) {
        c.port = KeyingPort::Com;
        c.comPort = port;
    }
}

// The stored names of KeyerKind, in its order.
const QStringList& storedKinds() {
    static const QStringList names{QStringLiteral("Port"), QStringLiteral("Winkeyer"), QStringLiteral("cwdaemon"),
                                   QStringLiteral("Radio")};
    return names;
}

const SettingsBindings<KeyerConfig>& bindings() {
    using C = KeyerConfig;
    const std::identity same;
    static const SettingsBindings<KeyerConfig> table{
        Bind::whole<C>(Keys::port, readPort, portText),
        // The user's address is kept only while the user's port is the one chosen.
        Bind::whole<C>(
            Keys::lptUserAddress, [](C& c, const QString& text) { c.lptUserAddress = QString(text).remove(u'$'); },
            [](const C& c) {
                return c.port == KeyingPort::Lpt && c.lptChoice == QLatin1String("USER") ? c.lptUserAddress : QString();
            }),
        Bind::field(
            Keys::keyingLine, &C::keyingOnRts, [](const QString& line) { return line == QLatin1String("RTS"); },
            [](bool rts) { return rts ? QStringLiteral("RTS") : QStringLiteral("DTR"); }),
        Bind::field(Keys::speed, &C::speed, Morse::clampSpeed, same),
        Bind::field(Keys::toneHz, &C::toneHz, steps(400, 1000, 50), same),
        Bind::field(Keys::volume, &C::volume, steps(0, 100, 5), same),
        Bind::field(Keys::dashRatio, &C::dashRatio, range(10, 50), same),
        Bind::field(Keys::gapRatio, &C::gapRatio, range(3, 17), same),
        Bind::field(Keys::longGapRatio, &C::longGapRatio, range(10, 50), same),
        Bind::field(Keys::sidetone, &C::sidetone),
        Bind::field(Keys::loopDelaySeconds, &C::loopDelaySeconds, range(1, 20), same),
        Bind::field(Keys::pttDelayMs, &C::pttDelayMs, steps(0, 500, 10), same),
        Bind::field(Keys::serialFormat, &C::serialFormat, range(0, 2), same),
        Bind::field(Keys::cutNumbers, &C::cutNumbers),
        Bind::field(Keys::ptt, &C::ptt),
        Bind::field(Keys::multithreaded, &C::multithreaded),
        Bind::field(Keys::extraGap, &C::extraGap),
        Bind::field(Keys::mapDownAsInsert, &C::mapDownAsInsert),
        Bind::field(Keys::mapUpAsPlus, &C::mapUpAsPlus),
        Bind::field(
            Keys::calibrationFactor, &C::calibrationFactor,
            [](double factor) { return factor > 0.0 ? factor : Keys::calibrationFactor.defaultValue; }, same),
        Bind::field(
            Keys::kind, &C::kind,
            [](const QString& text) {
                const qsizetype index = storedKinds().indexOf(text.trimmed());
                return index >= 0 ? KeyerKind(index) : KeyerKind::Lines;
            },
            [](KeyerKind kind) { return storedKinds().at(int(kind)); }),
        Bind::field(
            Keys::winkeyerPort, &C::winkeyerPort, [](const QString& t) { return t.trimmed(); }, same),
        Bind::field(Keys::winkeyerSpeedPot, &C::winkeyerSpeedPot),
        Bind::field(
            Keys::cwdaemonAddress, &C::cwdaemonAddress,
            [](const QString& t) { return t.trimmed().isEmpty() ? Keys::cwdaemonAddress.defaultValue : t.trimmed(); },
            same),
        // Older versions keep only this; it is written for them from the keyer choice.
        Bind::whole<C>(
            SettingsKeys::Radio::cwKeyer, [](C&, bool) {}, [](const C& c) { return c.kind == KeyerKind::Rig; }),
        Bind::field(
            SettingsKeys::Program::priority, &C::priority,
            [](const QString& name) { return KeyerConfig::priorityNames().contains(name) ? name : QString(); }, same),
    };
    return table;
}

} // namespace

KeyerConfig KeyerConfig::read(const IniFile& ini) {
    KeyerConfig c;
    readSettings(ini, c, bindings());
    if (!ini.contains(Keys::kind) && ini.value(SettingsKeys::Radio::cwKeyer))
        c.kind = KeyerKind::Rig;
    return c;
}

void KeyerConfig::write(IniFile& ini) const {
    writeSettings(ini, *this, bindings());
}
