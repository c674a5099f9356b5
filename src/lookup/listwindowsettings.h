#pragma once

#include "platform/userdialogs.h"
#include "settings/settingskeys.h"

#include <QString>

class IniFile;

// The settings section of an auxiliary list window: position and size, the list font and the background.
// Every read takes the current value as its default, so missing keys leave the window as it was.
struct ListWindowSettings {
    int x = SettingsKeys::Window::x.defaultValue;
    int y = SettingsKeys::Window::y.defaultValue;
    int width = SettingsKeys::Window::width.defaultValue;
    int height = SettingsKeys::Window::height.defaultValue;
    FontSpec font;
    int background = SettingsKeys::Window::background.defaultValue;

    bool hasWidth = true;      // the worked-calls windows keep no width
    bool hasFontColour = true; // … and no font colour (they use the prefix colours)

    void read(const IniFile& settings, SettingsKeys::WindowSection section);
    void write(IniFile& settings, SettingsKeys::WindowSection section) const;

    // "pogrubienie,kursywa" and so on; empty for a regular font.
    static QString styleText(const FontSpec& font);
    static void applyStyle(const QString& text, FontSpec& font);
};
