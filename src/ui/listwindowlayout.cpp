#include "listwindowlayout.h"

#include "settings/inifile.h"
#include "settings/windowsettings.h"
#include "widgetdialogs.h"
#include "windowplacement.h"

#include <QWidget>

ListWindowLayout::ListWindowLayout(QWidget* window, QWidget* list, SettingsKeys::WindowSection section)
    : m_window(window), m_list(list), m_section(section), m_font(specFromFont(list->font(), 0)) {}

FontSpec ListWindowLayout::listFont() const {
    return m_font;
}

void ListWindowLayout::setListFont(const FontSpec& font) {
    m_list->setFont(fontFromSpec(font));
    m_font = font;
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Text, colourFromWindows(font.colour));
    m_list->setPalette(palette);
}

int ListWindowLayout::backgroundColour() const {
    return colourToWindows(m_list->palette().color(QPalette::Base));
}

void ListWindowLayout::setBackgroundColour(int colour) {
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, colourFromWindows(colour));
    m_list->setPalette(palette);
}

void ListWindowLayout::readSettings(const IniFile& settings) {
    const WindowSettings w = WindowSettings::read(settings, m_section, {});
    placeWindow(m_window, {w.x.value_or(m_window->geometry().x()), w.y.value_or(m_window->geometry().y())},
                {w.width.value_or(m_window->width()), w.height.value_or(m_window->height())});
    if (w.font)
        setListFont(*w.font);
    if (w.background)
        setBackgroundColour(*w.background);
}

void ListWindowLayout::writeSettings(IniFile& settings) const {
    WindowSettings w;
    w.x = m_window->geometry().x();
    w.y = m_window->geometry().y();
    w.width = m_window->width();
    w.height = m_window->height();
    w.font = listFont();
    w.background = backgroundColour();
    w.write(settings, m_section);
}

void ListWindowLayout::chooseFont(UserDialogs& dialogs) {
    if (const auto font = dialogs.chooseFont(listFont()))
        setListFont(*font);
}

void ListWindowLayout::chooseBackground(UserDialogs& dialogs) {
    if (const auto colour = dialogs.chooseColour(backgroundColour()))
        setBackgroundColour(*colour);
}
