#include "analysis/operatordata.h"

#include "settings/inifile.h"

namespace {
const QString kSection = QStringLiteral("Operator");
}

OperatorData OperatorData::read(const IniFile& s) {
    OperatorData d;
    d.contestCall = s.readString(kSection, QStringLiteral("Uzywany znak"), QString());
    d.name = s.readString(kSection, QStringLiteral("Name"), QString());
    d.email = s.readString(kSection, QStringLiteral("E-mail"), QString());
    d.address1 = s.readString(kSection, QStringLiteral("Adres1"), QString());
    d.address2 = s.readString(kSection, QStringLiteral("Adres2"), QString());
    d.town = s.readString(kSection, QStringLiteral("Miejscowosc"), QString());
    d.postcode = s.readString(kSection, QStringLiteral("Kod"), QString());
    d.locator = s.readString(kSection, QStringLiteral("Lokator"), QString());
    d.operatorCall = s.readString(kSection, QStringLiteral("Znak operatora"), QString());
    return d;
}

void OperatorData::write(IniFile& s) const {
    IniFile::Batch batch(s);
    s.writeString(kSection, QStringLiteral("Uzywany znak"), contestCall);
    s.writeString(kSection, QStringLiteral("Name"), name);
    s.writeString(kSection, QStringLiteral("E-mail"), email);
    s.writeString(kSection, QStringLiteral("Adres1"), address1);
    s.writeString(kSection, QStringLiteral("Adres2"), address2);
    s.writeString(kSection, QStringLiteral("Miejscowosc"), town);
    s.writeString(kSection, QStringLiteral("Kod"), postcode);
    s.writeString(kSection, QStringLiteral("Lokator"), locator);
    s.writeString(kSection, QStringLiteral("Znak operatora"), operatorCall);
}
