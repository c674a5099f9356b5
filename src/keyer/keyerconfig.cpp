#include "keyer/keyerconfig.h"

#include "keyer/morsetiming.h"
#include "settings/inifile.h"

#include <algorithm>

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

KeyerConfig KeyerConfig::read(const IniFile& ini) {
    const QString& s = KeyerSettings::kSection;
    KeyerConfig c;
    const QString port = ini.readString(s, QStringLiteral("Port"), QStringLiteral("brak")).trimmed();
    if (port.startsWith(QLatin1String("LPT")) || port == QLatin1String("USER")) {
        c.port = KeyingPort::Lpt;
        c.lptChoice = port;
    } else if (!port.isEmpty() && port != QLatin1String("brak")) {
        c.port = KeyingPort::Com;
        c.comPort = port;
    }
    c.lptUserAddress = ini.readString(s, QStringLiteral("Port LPT użytkownika"), QString()).remove(u'$');
    c.keyingOnRts = ini.readString(s, QStringLiteral("Kluczowanie"), QStringLiteral("DTR")) == QLatin1String("RTS");
    c.speed = Morse::clampSpeed(ini.readInteger(s, QStringLiteral("Predkosc"), c.speed));
    c.toneHz = clampStep(ini.readInteger(s, QStringLiteral("Ton"), c.toneHz), 400, 1000, 50);
    c.volume = clampStep(ini.readInteger(s, QStringLiteral("Głośność"), c.volume), 0, 100, 5);
    c.dashRatio = std::clamp(ini.readInteger(s, QStringLiteral("Kreska"), c.dashRatio), 10, 50);
    c.gapRatio = std::clamp(ini.readInteger(s, QStringLiteral("Odstęp"), c.gapRatio), 3, 17);
    c.longGapRatio = std::clamp(ini.readInteger(s, QStringLiteral("Długi odstęp"), c.longGapRatio), 10, 50);
    c.sidetone = ini.readBool(s, QStringLiteral("Podsłuch"), c.sidetone);
    c.loopDelaySeconds = std::clamp(ini.readInteger(s, QStringLiteral("Pętla"), c.loopDelaySeconds), 1, 20);
    c.pttDelayMs = clampStep(ini.readInteger(s, QStringLiteral("Opóźnienie PTT"), c.pttDelayMs), 0, 500, 10);
    c.serialFormat = std::clamp(ini.readInteger(s, QStringLiteral("Format"), c.serialFormat), 0, 2);
    c.cutNumbers = ini.readBool(s, QStringLiteral("Cyfry"), c.cutNumbers);
    c.ptt = ini.readBool(s, QStringLiteral("PTT"), c.ptt);
    c.multithreaded = ini.readBool(s, QStringLiteral("Wielowątkowość"), c.multithreaded);
    c.extraGap = ini.readBool(s, QStringLiteral("Dodatkowy_odstep"), c.extraGap);
    c.mapDownAsInsert = ini.readBool(s, QStringLiteral("Mapowanie_INSERT"), c.mapDownAsInsert);
    c.mapUpAsPlus = ini.readBool(s, QStringLiteral("Mapowanie_PLUS"), c.mapUpAsPlus);
    c.calibrationFactor = ini.readFloat(s, QStringLiteral("Wsp. kalibracji"), c.calibrationFactor);
    if (!(c.calibrationFactor > 0.0))
        c.calibrationFactor = 1.0;
    return c;
}

void KeyerConfig::write(IniFile& ini) const {
    const QString& s = KeyerSettings::kSection;
    IniFile::Batch batch(ini);
    QString portText = QStringLiteral("brak");
    if (port == KeyingPort::Com)
        portText = comPort;
    else if (port == KeyingPort::Lpt)
        portText = lptChoice;
    ini.writeString(s, QStringLiteral("Port"), portText);
    ini.writeString(s, QStringLiteral("Port LPT użytkownika"),
                    port == KeyingPort::Lpt && lptChoice == QLatin1String("USER") ? lptUserAddress : QString());
    ini.writeString(s, QStringLiteral("Kluczowanie"), keyingOnRts ? QStringLiteral("RTS") : QStringLiteral("DTR"));
    ini.writeInteger(s, QStringLiteral("Predkosc"), speed);
    ini.writeInteger(s, QStringLiteral("Ton"), toneHz);
    ini.writeInteger(s, QStringLiteral("Głośność"), volume);
    ini.writeInteger(s, QStringLiteral("Kreska"), dashRatio);
    ini.writeInteger(s, QStringLiteral("Odstęp"), gapRatio);
    ini.writeInteger(s, QStringLiteral("Długi odstęp"), longGapRatio);
    ini.writeBool(s, QStringLiteral("Podsłuch"), sidetone);
    ini.writeInteger(s, QStringLiteral("Pętla"), loopDelaySeconds);
    ini.writeInteger(s, QStringLiteral("Opóźnienie PTT"), pttDelayMs);
    ini.writeInteger(s, QStringLiteral("Format"), serialFormat);
    ini.writeBool(s, QStringLiteral("Cyfry"), cutNumbers);
    ini.writeBool(s, QStringLiteral("PTT"), ptt);
    ini.writeBool(s, QStringLiteral("Wielowątkowość"), multithreaded);
    ini.writeBool(s, QStringLiteral("Dodatkowy_odstep"), extraGap);
    ini.writeBool(s, QStringLiteral("Mapowanie_INSERT"), mapDownAsInsert);
    ini.writeBool(s, QStringLiteral("Mapowanie_PLUS"), mapUpAsPlus);
    ini.writeFloat(s, QStringLiteral("Wsp. kalibracji"), calibrationFactor);
}
