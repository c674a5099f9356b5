#include "keyer/keyerconfig.h"

#include "keyer/morsetiming.h"
#include "settings/inifile.h"

#include <algorithm>

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

QString KeyerConfig::ratioText(int tenths) {
    return QString::number(tenths / 10) + u'.' + QString::number(tenths % 10);
}

KeyerConfig KeyerConfig::read(const IniFile& ini) {
    KeyerConfig c;
    const QString port = ini.value(Keys::port).trimmed();
    if (port.startsWith(QLatin1String("LPT")) || port == QLatin1String("USER")) {
        c.port = KeyingPort::Lpt;
        c.lptChoice = port;
    } else if (!port.isEmpty() && port != QLatin1String("brak")) {
        c.port = KeyingPort::Com;
        c.comPort = port;
    }
    c.lptUserAddress = ini.value(Keys::lptUserAddress).remove(u'$');
    c.keyingOnRts = ini.value(Keys::keyingLine) == QLatin1String("RTS");
    c.speed = Morse::clampSpeed(ini.value(Keys::speed));
    c.toneHz = clampStep(ini.value(Keys::toneHz), 400, 1000, 50);
    c.volume = clampStep(ini.value(Keys::volume), 0, 100, 5);
    c.dashRatio = std::clamp(ini.value(Keys::dashRatio), 10, 50);
    c.gapRatio = std::clamp(ini.value(Keys::gapRatio), 3, 17);
    c.longGapRatio = std::clamp(ini.value(Keys::longGapRatio), 10, 50);
    c.sidetone = ini.value(Keys::sidetone);
    c.loopDelaySeconds = std::clamp(ini.value(Keys::loopDelaySeconds), 1, 20);
    c.pttDelayMs = clampStep(ini.value(Keys::pttDelayMs), 0, 500, 10);
    c.serialFormat = std::clamp(ini.value(Keys::serialFormat), 0, 2);
    c.cutNumbers = ini.value(Keys::cutNumbers);
    c.ptt = ini.value(Keys::ptt);
    c.multithreaded = ini.value(Keys::multithreaded);
    c.extraGap = ini.value(Keys::extraGap);
    c.mapDownAsInsert = ini.value(Keys::mapDownAsInsert);
    c.mapUpAsPlus = ini.value(Keys::mapUpAsPlus);
    c.calibrationFactor = ini.value(Keys::calibrationFactor);
    if (!(c.calibrationFactor > 0.0))
        c.calibrationFactor = Keys::calibrationFactor.defaultValue;
    c.priority = ini.value(SettingsKeys::Program::priority);
    if (!priorityNames().contains(c.priority))
        c.priority.clear();
    return c;
}

void KeyerConfig::write(IniFile& ini) const {
    IniFile::Batch batch(ini);
    QString portText = QStringLiteral("brak");
    if (port == KeyingPort::Com)
        portText = comPort;
    else if (port == KeyingPort::Lpt)
        portText = lptChoice;
    ini.setValue(Keys::port, portText);
    ini.setValue(Keys::lptUserAddress,
                 port == KeyingPort::Lpt && lptChoice == QLatin1String("USER") ? lptUserAddress : QString());
    ini.setValue(Keys::keyingLine, keyingOnRts ? QStringLiteral("RTS") : QStringLiteral("DTR"));
    ini.setValue(Keys::speed, speed);
    ini.setValue(Keys::toneHz, toneHz);
    ini.setValue(Keys::volume, volume);
    ini.setValue(Keys::dashRatio, dashRatio);
    ini.setValue(Keys::gapRatio, gapRatio);
    ini.setValue(Keys::longGapRatio, longGapRatio);
    ini.setValue(Keys::sidetone, sidetone);
    ini.setValue(Keys::loopDelaySeconds, loopDelaySeconds);
    ini.setValue(Keys::pttDelayMs, pttDelayMs);
    ini.setValue(Keys::serialFormat, serialFormat);
    ini.setValue(Keys::cutNumbers, cutNumbers);
    ini.setValue(Keys::ptt, ptt);
    ini.setValue(Keys::multithreaded, multithreaded);
    ini.setValue(Keys::extraGap, extraGap);
    ini.setValue(Keys::mapDownAsInsert, mapDownAsInsert);
    ini.setValue(Keys::mapUpAsPlus, mapUpAsPlus);
    ini.setValue(Keys::calibrationFactor, calibrationFactor);
    ini.setValue(SettingsKeys::Program::priority, priority);
}
