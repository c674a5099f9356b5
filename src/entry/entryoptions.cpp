#include "entry/entryoptions.h"

#include "core/bands.h"
#include "core/modes.h"
#include "settings/settingsbinding.h"

#include <algorithm>
#include <functional>

namespace Keys = SettingsKeys::Program;

namespace {

// "Pasmo" and "Emisja" hold the selector text; an older file may hold the item index instead.
QString readChoice(const QString& text, const QStringList& choices, const QString& fallback) {
    const QString value = text.trimmed().toUpper();
    if (choices.contains(value))
        return value;
    bool ok = false;
    const int index = value.toInt(&ok);
    if (ok && index >= 0 && index < choices.size())
        return choices.at(index);
    return fallback;
}

// The band and mode are read after the WARC and digital switches, whose lists they are chosen from.
const SettingsBindings<EntryOptions>& bindings() {
    using O = EntryOptions;
    const std::identity same;
    static const SettingsBindings<EntryOptions> table{
        Bind::field(Keys::autoIncrement, &O::autoIncrement),
        Bind::field(Keys::stx, &O::stx),
        // The sent exchange never holds a blank; a hand-edited file must not smuggle one into the line.
        Bind::field(
            Keys::stxFixed, &O::stxFixed, [](QString text) { return text.remove(QLatin1Char(' ')).left(11); }, same),
        Bind::field(Keys::withoutExchange, &O::withoutExchange),
        Bind::field(Keys::oneQsoPerBand, &O::oneQsoPerBand),
        Bind::field(Keys::warcBands, &O::warcBands),
        Bind::field(Keys::digitalModes, &O::digitalModes),
        Bind::whole<O>(
            Keys::band,
            [](O& o, const QString& text) { o.band = readChoice(text, Bands::selectorList(o.warcBands), o.band); },
            [](const O& o) { return o.band; }),
        Bind::whole<O>(
            Keys::mode,
            [](O& o, const QString& text) { o.mode = readChoice(text, Modes::selectorList(o.digitalModes), o.mode); },
            [](const O& o) { return o.mode; }),
        Bind::field(Keys::separateVhfSerials, &O::separateVhfSerials),
        Bind::field(Keys::manualUtc, &O::manualUtc),
        Bind::field(
            Keys::utcOffsetHours, &O::utcOffsetHours, [](int hours) { return std::clamp(hours, -12, 12); }, same),
    };
    return table;
}

} // namespace

EntryOptions EntryOptions::read(const IniFile& settings) {
    EntryOptions o;
    readSettings(settings, o, bindings());
    o.serialFollowsLog = !settings.contains(Keys::stx);
    o.serialFormat = SerialNumber::formatFromIndex(settings.value(SettingsKeys::Keyer::serialFormat));
    return o;
}

void EntryOptions::write(IniFile& settings) const {
    writeSettings(settings, *this, bindings());
}
