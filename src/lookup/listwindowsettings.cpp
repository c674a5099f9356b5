#include "lookup/listwindowsettings.h"

#include "settings/inifile.h"
#include "settings/windowsettings.h"

namespace WindowKeys = SettingsKeys::Window;

QString ListWindowSettings::styleText(const FontSpec& font) {
    return fontStyleText(font);
}

void ListWindowSettings::applyStyle(const QString& text, FontSpec& font) {
    applyFontStyle(font, text);
}

void ListWindowSettings::read(const IniFile& settings, SettingsKeys::WindowSection section) {
    x = settings.value(WindowKeys::x(section), x);
    y = settings.value(WindowKeys::y(section), y);
    if (hasWidth)
        width = settings.value(WindowKeys::width(section), width);
    height = settings.value(WindowKeys::height(section), height);
    font.face = settings.value(WindowKeys::fontFace(section), font.face);
    font.pointSize = settings.value(WindowKeys::fontSize(section), font.pointSize);
    if (hasFontColour)
        font.colour = settings.value(WindowKeys::fontColour(section), font.colour);
    font.charset = settings.value(WindowKeys::fontCharset(section), font.charset);
    applyStyle(settings.value(WindowKeys::fontStyle(section), styleText(font)), font);
    background = settings.value(WindowKeys::background(section), background);
}

void ListWindowSettings::write(IniFile& settings, SettingsKeys::WindowSection section) const {
    IniFile::Batch batch(settings);
    settings.setValue(WindowKeys::x(section), x);
    settings.setValue(WindowKeys::y(section), y);
    if (hasWidth)
        settings.setValue(WindowKeys::width(section), width);
    settings.setValue(WindowKeys::height(section), height);
    settings.setValue(WindowKeys::fontFace(section), font.face);
    settings.setValue(WindowKeys::fontSize(section), font.pointSize);
    if (hasFontColour)
        settings.setValue(WindowKeys::fontColour(section), font.colour);
    settings.setValue(WindowKeys::fontCharset(section), font.charset);
    settings.setValue(WindowKeys::fontStyle(section), styleText(font));
    settings.setValue(WindowKeys::background(section), background);
}
