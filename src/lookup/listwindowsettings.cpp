#include "lookup/listwindowsettings.h"

#include "settings/inifile.h"
#include "settings/windowsettings.h"

QString ListWindowSettings::styleText(const FontSpec& font) {
    return fontStyleText(font);
}

void ListWindowSettings::applyStyle(const QString& text, FontSpec& font) {
    applyFontStyle(font, text);
}

void ListWindowSettings::read(const IniFile& settings, const QString& section) {
    x = settings.readInteger(section, QStringLiteral("X"), x);
    y = settings.readInteger(section, QStringLiteral("Y"), y);
    if (hasWidth)
        width = settings.readInteger(section, QStringLiteral("Szerokość"), width);
    height = settings.readInteger(section, QStringLiteral("Wysokość"), height);
    font.face = settings.readString(section, QStringLiteral("Czcionka"), font.face);
    font.pointSize = settings.readInteger(section, QStringLiteral("Rozmiar czcionki"), font.pointSize);
    if (hasFontColour)
        font.colour = settings.readInteger(section, QStringLiteral("Kolor czcionki"), font.colour);
    font.charset = settings.readInteger(section, QStringLiteral("Skrypt"), font.charset);
    applyStyle(settings.readString(section, QStringLiteral("Styl czcionki"), styleText(font)), font);
    background = settings.readInteger(section, QStringLiteral("Kolor tła"), background);
}

void ListWindowSettings::write(IniFile& settings, const QString& section) const {
    IniFile::Batch batch(settings);
    settings.writeInteger(section, QStringLiteral("X"), x);
    settings.writeInteger(section, QStringLiteral("Y"), y);
    if (hasWidth)
        settings.writeInteger(section, QStringLiteral("Szerokość"), width);
    settings.writeInteger(section, QStringLiteral("Wysokość"), height);
    settings.writeString(section, QStringLiteral("Czcionka"), font.face);
    settings.writeInteger(section, QStringLiteral("Rozmiar czcionki"), font.pointSize);
    if (hasFontColour)
        settings.writeInteger(section, QStringLiteral("Kolor czcionki"), font.colour);
    settings.writeInteger(section, QStringLiteral("Skrypt"), font.charset);
    settings.writeString(section, QStringLiteral("Styl czcionki"), styleText(font));
    settings.writeInteger(section, QStringLiteral("Kolor tła"), background);
}
