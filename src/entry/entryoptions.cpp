#include "entry/entryoptions.h"

#include "core/bands.h"
#include "core/modes.h"
#include "settings/inifile.h"

namespace Keys = SettingsKeys::Program;

namespace {

// "Pasmo" and "Emisja" hold the selector text; an older file may hold the item index instead.
QString readChoice(const IniFile& settings,
                   const SettingsKey<QString>& key,
                   const QStringList& choices,
                   const QString& fallback) {
    const QString value = settings.value(key, fallback).trimmed().toUpper();
    if (choices.contains(value))
        return value;
    bool ok = false;
    const int index = value.toInt(&ok);
    if (ok && index >= 0 && index < choices.size())
        return choices.at(index);
    return fallback;
}

} // namespace

EntryOptions EntryOptions::read(const IniFile& settings) {
    EntryOptions o;
    o.autoIncrement = settings.value(Keys::autoIncrement);
    o.stx = settings.value(Keys::stx);
    o.serialFollowsLog = !settings.contains(Keys::stx);
    o.stxFixed = settings.value(Keys::stxFixed);
    o.withoutExchange = settings.value(Keys::withoutExchange);
    o.oneQsoPerBand = settings.value(Keys::oneQsoPerBand);
    o.warcBands = settings.value(Keys::warcBands);
    o.digitalModes = settings.value(Keys::digitalModes);
    o.band = readChoice(settings, Keys::band, Bands::selectorList(o.warcBands), o.band);
    o.mode = readChoice(settings, Keys::mode, Modes::selectorList(o.digitalModes), o.mode);
    o.separateVhfSerials = settings.value(Keys::separateVhfSerials);
    o.manualUtc = settings.value(Keys::manualUtc);
    o.utcOffsetHours = std::clamp(settings.value(Keys::utcOffsetHours), -12, 12);
    o.serialFormat = SerialNumber::formatFromIndex(settings.value(SettingsKeys::Keyer::serialFormat));
    // The sent exchange never holds a blank; a hand-edited file must not smuggle one into the line.
    o.stxFixed.remove(QLatin1Char(' '));
    o.stxFixed = o.stxFixed.left(11);
    return o;
}

void EntryOptions::write(IniFile& settings) const {
    IniFile::Batch batch(settings);
    settings.setValue(Keys::autoIncrement, autoIncrement);
    settings.setValue(Keys::stx, stx);
    settings.setValue(Keys::stxFixed, stxFixed);
    settings.setValue(Keys::withoutExchange, withoutExchange);
    settings.setValue(Keys::oneQsoPerBand, oneQsoPerBand);
    settings.setValue(Keys::warcBands, warcBands);
    settings.setValue(Keys::digitalModes, digitalModes);
    settings.setValue(Keys::band, band);
    settings.setValue(Keys::mode, mode);
    settings.setValue(Keys::separateVhfSerials, separateVhfSerials);
    settings.setValue(Keys::manualUtc, manualUtc);
    settings.setValue(Keys::utcOffsetHours, utcOffsetHours);
}
