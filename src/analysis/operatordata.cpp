#include "analysis/operatordata.h"

#include "settings/inifile.h"
#include "settings/settingskeys.h"

namespace Keys = SettingsKeys::Operator;

OperatorData OperatorData::read(const IniFile& s) {
    OperatorData d;
    d.contestCall = s.value(Keys::contestCall);
    d.name = s.value(Keys::name);
    d.email = s.value(Keys::email);
    d.address1 = s.value(Keys::address1);
    d.address2 = s.value(Keys::address2);
    d.town = s.value(Keys::town);
    d.postcode = s.value(Keys::postcode);
    d.locator = s.value(Keys::locator);
    d.operatorCall = s.value(Keys::operatorCall);
    return d;
}

void OperatorData::write(IniFile& s) const {
    IniFile::Batch batch(s);
    s.setValue(Keys::contestCall, contestCall);
    s.setValue(Keys::name, name);
    s.setValue(Keys::email, email);
    s.setValue(Keys::address1, address1);
    s.setValue(Keys::address2, address2);
    s.setValue(Keys::town, town);
    s.setValue(Keys::postcode, postcode);
    s.setValue(Keys::locator, locator);
    s.setValue(Keys::operatorCall, operatorCall);
}
