#pragma once

#include <QString>

#include <concepts>

// The kinds of value the settings file holds. Each is written in its own form: a bool as "0" or "1", an int in
// decimal, a double with up to 15 significant digits, a text as it is.
template <typename T>
concept SettingsValue =
    std::same_as<T, bool> || std::same_as<T, int> || std::same_as<T, double> || std::same_as<T, QString>;

// One key of kvr_log.ini: its section, its name and what it reads as when it is missing. The program's keys
// are in settings/settingskeys.h.
template <SettingsValue T> struct SettingsKey {
    QString section;
    QString name;
    T defaultValue;
};
