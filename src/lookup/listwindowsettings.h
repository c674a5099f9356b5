#pragma once

#include "platform/userdialogs.h"

#include <QString>

class IniFile;

// The settings section of an auxiliary list window: position and size, the list font and the background.
// Every read takes the current value as its default, so missing keys leave the window as it was.
struct ListWindowSettings {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    FontSpec font;
    int background = 0xFFFFFF;

    bool hasWidth = true;      // the worked-calls windows keep no width
    bool hasFontColour = true; // … and no font colour (they use the prefix colours)

    void read(const IniFile& settings, const QString& section);
    void write(IniFile& settings, const QString& section) const;

    // "pogrubienie,kursywa" and so on; empty for a regular font.
    static QString styleText(const FontSpec& font);
    static void applyStyle(const QString& text, FontSpec& font);
};
