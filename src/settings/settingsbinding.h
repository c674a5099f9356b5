#pragma once

#include "settings/inifile.h"

#include <functional>
#include <vector>

// An options struct kept in kvr_log.ini as one table of rows, each binding a settings key to a member of the
// struct; readSettings() and writeSettings() go over the table, so a new option is one new row. The rows are
// written in the table's order, which is the order new keys appear in the file.
template <typename S> struct SettingsBinding {
    // A missing key reads as the key's default (ReadsDefault) or leaves the member as it is (KeepsMember),
    // where the struct arrives holding a window's current state.
    enum class Missing { ReadsDefault, KeepsMember };
    std::function<void(const IniFile&, S&, Missing)> read;
    std::function<void(IniFile&, const S&)> write;
};

template <typename S> using SettingsBindings = std::vector<SettingsBinding<S>>;

namespace Bind {

// The member holds the key's own type.
template <typename S, SettingsValue T> SettingsBinding<S> field(SettingsKey<T> key, T S::*member) {
    using Missing = typename SettingsBinding<S>::Missing;
    return {[key, member](const IniFile& ini, S& s, Missing missing) {
                s.*member = missing == Missing::KeepsMember ? ini.value(key, s.*member) : ini.value(key);
            },
            [key, member](IniFile& ini, const S& s) { ini.setValue(key, s.*member); }};
}

// The member holds its own form of the value: fromStored brings the key's value into it (an enum, a clamped
// number, a cleaned text) and toStored gives the key's value back.
template <typename S, SettingsValue T, typename M, typename FromStored, typename ToStored>
SettingsBinding<S> field(SettingsKey<T> key, M S::*member, FromStored fromStored, ToStored toStored) {
    using Missing = typename SettingsBinding<S>::Missing;
    return {[key, member, fromStored, toStored](const IniFile& ini, S& s, Missing missing) {
                s.*member = fromStored(missing == Missing::KeepsMember ? ini.value(key, T(toStored(s.*member)))
                                                                       : ini.value(key));
            },
            [key, member, toStored](IniFile& ini, const S& s) { ini.setValue(key, T(toStored(s.*member))); }};
}

// A key whose value depends on or stands for several members (a port kind and its name in one text, a band
// chosen from the list a switch gives): read and write get the whole struct.
template <typename S, SettingsValue T, typename Read, typename Write>
SettingsBinding<S> whole(SettingsKey<T> key, Read read, Write write) {
    using Missing = typename SettingsBinding<S>::Missing;
    return {[key, read, write](const IniFile& ini, S& s, Missing missing) {
                read(s, missing == Missing::KeepsMember ? ini.value(key, T(write(s))) : ini.value(key));
            },
            [key, write](IniFile& ini, const S& s) { ini.setValue(key, T(write(s))); }};
}

} // namespace Bind

template <typename S>
void readSettings(const IniFile& ini,
                  S& s,
                  const SettingsBindings<S>& bindings,
                  typename SettingsBinding<S>::Missing missing = SettingsBinding<S>::Missing::ReadsDefault) {
    for (const SettingsBinding<S>& binding : bindings)
        binding.read(ini, s, missing);
}

// One rewrite of the file for the whole struct.
template <typename S> void writeSettings(IniFile& ini, const S& s, const SettingsBindings<S>& bindings) {
    IniFile::Batch batch(ini);
    for (const SettingsBinding<S>& binding : bindings)
        binding.write(ini, s);
}
