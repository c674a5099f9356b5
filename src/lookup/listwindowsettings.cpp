#include "lookup/listwindowsettings.h"

#include "settings/inifile.h"
#include "settings/settingsbinding.h"
#include "settings/windowsettings.h"

namespace WindowKeys = SettingsKeys::Window;

QString ListWindowSettings::styleText(const FontSpec& font) {
    return fontStyleText(font);
}

void ListWindowSettings::applyStyle(const QString& text, FontSpec& font) {
    applyFontStyle(font, text);
}

namespace {

// In the order the keys are written.
SettingsBindings<ListWindowSettings>
listWindowBindings(SettingsKeys::WindowSection section, bool hasWidth, bool hasFontColour) {
    using S = ListWindowSettings;
    auto fontField = []<SettingsValue T>(const SettingsKey<T>& key, T FontSpec::*member) {
        return Bind::whole<S>(
            key, [member](S& s, const T& value) { s.font.*member = value; },
            [member](const S& s) { return s.font.*member; });
    };
    SettingsBindings<S> bindings{Bind::field(WindowKeys::x(section), &S::x),
                                 Bind::field(WindowKeys::y(section), &S::y)};
    if (hasWidth)
        bindings.push_back(Bind::field(WindowKeys::width(section), &S::width));
    bindings.push_back(Bind::field(WindowKeys::height(section), &S::height));
    bindings.push_back(fontField(WindowKeys::fontFace(section), &FontSpec::face));
    bindings.push_back(fontField(WindowKeys::fontSize(section), &FontSpec::pointSize));
    if (hasFontColour)
        bindings.push_back(fontField(WindowKeys::fontColour(section), &FontSpec::colour));
    bindings.push_back(fontField(WindowKeys::fontCharset(section), &FontSpec::charset));
    bindings.push_back(Bind::whole<S>(
        WindowKeys::fontStyle(section), [](S& s, const QString& text) { ListWindowSettings::applyStyle(text, s.font); },
        [](const S& s) { return ListWindowSettings::styleText(s.font); }));
    bindings.push_back(Bind::field(WindowKeys::background(section), &S::background));
    return bindings;
}

} // namespace

void ListWindowSettings::read(const IniFile& settings, SettingsKeys::WindowSection section) {
    readSettings(settings, *this, listWindowBindings(section, hasWidth, hasFontColour),
                 SettingsBinding<ListWindowSettings>::Missing::KeepsMember);
}

void ListWindowSettings::write(IniFile& settings, SettingsKeys::WindowSection section) const {
    writeSettings(settings, *this, listWindowBindings(section, hasWidth, hasFontColour));
}
