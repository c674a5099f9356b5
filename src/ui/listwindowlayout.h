#pragma once

#include "platform/userdialogs.h"
#include "settings/settingskeys.h"

#include <QString>

class IniFile;
class QWidget;

// An auxiliary window with one list: its settings section (geometry, list font, background colour), and the
// font and colour commands of the main menu, shared by the windows that have nothing more to keep.
class ListWindowLayout {
public:
    ListWindowLayout(QWidget* window, QWidget* list, SettingsKeys::WindowSection section);

    FontSpec listFont() const;
    void setListFont(const FontSpec& font);
    int backgroundColour() const;
    void setBackgroundColour(int colour);

    void readSettings(const IniFile& settings);
    void writeSettings(IniFile& settings) const;

    // The menu commands: the chooser preset to the current value; a cancelled chooser changes nothing.
    void chooseFont(UserDialogs& dialogs);
    void chooseBackground(UserDialogs& dialogs);

private:
    QWidget* m_window;
    QWidget* m_list;
    SettingsKeys::WindowSection m_section;
    // The list font as stored: read back from the widget it would lose its character set and a face this
    // system lacks.
    FontSpec m_font;
};
