#pragma once

#include "entry/serialnumber.h"
#include "settings/settingskeys.h"

#include <QString>

class IniFile;

// The entry window's options kept in the settings file; defaults are the window's design values.
struct EntryOptions {
    bool autoIncrement = SettingsKeys::Program::autoIncrement.defaultValue; // "Zwiększ automatycznie"
    QString stx = SettingsKeys::Program::stx.defaultValue;                  // sentSerialEdit
    // No "STX" saved yet: the serial is the one the log calls for, as when the log is opened.
    bool serialFollowsLog = true;
    QString stxFixed = SettingsKeys::Program::stxFixed.defaultValue; // sentFixedPartEdit
    // actionWithoutExchange: logging with no exchange
    bool withoutExchange = SettingsKeys::Program::withoutExchange.defaultValue;
    bool oneQsoPerBand = SettingsKeys::Program::oneQsoPerBand.defaultValue;
    bool warcBands = SettingsKeys::Program::warcBands.defaultValue;
    bool digitalModes = SettingsKeys::Program::digitalModes.defaultValue;
    QString band = SettingsKeys::Program::band.defaultValue;
    QString mode = SettingsKeys::Program::mode.defaultValue;
    bool separateVhfSerials = SettingsKeys::Program::separateVhfSerials.defaultValue;
    bool manualUtc = SettingsKeys::Program::manualUtc.defaultValue;
    int utcOffsetHours = SettingsKeys::Program::utcOffsetHours.defaultValue; // local minus UTC, -12…12
    // Kept by the keyer configuration.
    SerialFormat serialFormat = SerialNumber::formatFromIndex(SettingsKeys::Keyer::serialFormat.defaultValue);

    static EntryOptions read(const IniFile& settings);
    // Writes the entry window's own keys; the serial format belongs to the keyer configuration.
    void write(IniFile& settings) const;
};
