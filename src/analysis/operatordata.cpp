#include "analysis/operatordata.h"

#include "settings/settingsbinding.h"
#include "settings/settingskeys.h"

namespace Keys = SettingsKeys::Operator;

namespace {

const SettingsBindings<OperatorData>& bindings() {
    static const SettingsBindings<OperatorData> table{
        Bind::field(Keys::contestCall, &OperatorData::contestCall),
        Bind::field(Keys::name, &OperatorData::name),
        Bind::field(Keys::email, &OperatorData::email),
        Bind::field(Keys::address1, &OperatorData::address1),
        Bind::field(Keys::address2, &OperatorData::address2),
        Bind::field(Keys::town, &OperatorData::town),
        Bind::field(Keys::postcode, &OperatorData::postcode),
        Bind::field(Keys::locator, &OperatorData::locator),
        Bind::field(Keys::operatorCall, &OperatorData::operatorCall),
    };
    return table;
}

} // namespace

OperatorData OperatorData::read(const IniFile& s) {
    OperatorData d;
    readSettings(s, d, bindings());
    return d;
}

void OperatorData::write(IniFile& s) const {
    writeSettings(s, *this, bindings());
}
