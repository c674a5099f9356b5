#include "interchange/cabrilloexport.h"

#include "core/qsoline.h"
#include "interchange/contactloop.h"
#include "platform/programversion.h"
#include "settings/inifile.h"
#include "settings/settingsbinding.h"

namespace Keys = SettingsKeys::Cabrillo;

namespace {

struct Frequency {
    Band band;
    const char* frequency;
};

// The frequency field of a band, in kHz or as the designator of the VHF and UHF bands; nullptr for a WARC band,
// on which no contest is held.
const char* frequencyOf(Band band) {
    static const Frequency kRows[] = {
        {Band::fromName(u"160M"), " 1800"}, {Band::fromName(u"80M"), " 3500"}, {Band::fromName(u"40M"), " 7000"},
        {Band::fromName(u"20M"), "14000"},  {Band::fromName(u"15M"), "21000"}, {Band::fromName(u"10M"), "28000"},
        {Band::fromName(u"6M"), "50000"},   {Band::fromName(u"2M"), "  144"},  {Band::fromName(u"70CM"), "  432"},
    };
    for (const Frequency& row : kRows) {
        if (row.band == band)
            return row.frequency;
    }
    return band.isWarc() ? nullptr : " 1200";
}

} // namespace

namespace CabrilloLists {

QStringList contests() {
    return {QStringLiteral(" Zawody nie wymienione na liście"),
            QStringLiteral("AP-SPRINT"),
            QStringLiteral("ARRL-10"),
            QStringLiteral("ARRL-160"),
            QStringLiteral("ARRL-DX-CW"),
            QStringLiteral("ARRL-DX-SSB"),
            QStringLiteral("ARRL-SS-CW"),
            QStringLiteral("ARRL-SS-SSB"),
            QStringLiteral("ARRL-UHF-AUG"),
            QStringLiteral("ARRL-VHF-JAN"),
            QStringLiteral("ARRL-VHF-JUN"),
            QStringLiteral("ARRL-VHF-SEP"),
            QStringLiteral("ARRL-RTTY"),
            QStringLiteral("BARTG-RTTY"),
            QStringLiteral("CQ-160-CW"),
            QStringLiteral("CQ-160-SSB"),
            QStringLiteral("CQ-WPX-CW"),
            QStringLiteral("CQ-WPX-RTTY"),
            QStringLiteral("CQ-WPX-SSB"),
            QStringLiteral("CQ-VHF"),
            QStringLiteral("CQ-WW-CW"),
            QStringLiteral("CQ-WW-RTTY"),
            QStringLiteral("CQ-WW-SSB"),
            QStringLiteral("DARC-WAEDC-CW"),
            QStringLiteral("DARC-WAEDC-RTTY"),
            QStringLiteral("DARC-WAEDC-SSB"),
            QStringLiteral("FCG-FQP"),
            QStringLiteral("IARU-HF"),
            QStringLiteral("JIDX-CW"),
            QStringLiteral("JIDX-SSB"),
            QStringLiteral("NAQP-CW"),
            QStringLiteral("NAQP-RTTY"),
            QStringLiteral("NAQP-SSB"),
            QStringLiteral("NA-SPRINT-CW"),
            QStringLiteral("NA-SPRINT-SSB"),
            QStringLiteral("NCCC-CQP"),
            QStringLiteral("NEQP"),
            QStringLiteral("OCEANIA-DX-CW"),
            QStringLiteral("OCEANIA-DX-SSB"),
            QStringLiteral("RDXC"),
            QStringLiteral("RSGB-IOTA"),
            QStringLiteral("SAC-CW"),
            QStringLiteral("SAC-SSB"),
            QStringLiteral("STEW-PERRY"),
            QStringLiteral("TARA-RTTY"),
            QString()};
}
QStringList categoryOperator() {
    return {QStringLiteral("CHECKLOG"), QStringLiteral("SINGLE-OP"), QStringLiteral("MULTI-OP")};
}
QStringList transmitter() {
    return {QStringLiteral("ONE"), QStringLiteral("TWO"), QStringLiteral("LIMITED"), QStringLiteral("UNLIMITED"),
            QStringLiteral("SWL")};
}
QStringList assisted() {
    return {QStringLiteral("ASSISTED"), QStringLiteral("NON-ASSISTED")};
}
QStringList band() {
    return {QStringLiteral("ALL "), QStringLiteral("160M "), QStringLiteral("80M "), QStringLiteral("40M "),
            QStringLiteral("20M "), QStringLiteral("15M "),  QStringLiteral("10M "), QStringLiteral("6M "),
            QStringLiteral("2M "),  QStringLiteral("222 "),  QStringLiteral("432 "), QStringLiteral("902 "),
            QStringLiteral("1.2G")};
}
QStringList mode() {
    return {QStringLiteral("SSB"), QStringLiteral("CW"), QStringLiteral("RTTY"), QStringLiteral("MIXED")};
}
QStringList power() {
    return {QStringLiteral("HIGH "), QStringLiteral("LOW"), QStringLiteral("QRP")};
}
QStringList time() {
    return {QString(), QStringLiteral("6-HOURS "), QStringLiteral("12-HOURS "), QStringLiteral("24-HOURS")};
}
QStringList station() {
    return {QStringLiteral("FIXED "), QStringLiteral("MOBILE "),     QStringLiteral("PORTABLE "),
            QStringLiteral("ROVER "), QStringLiteral("EXPEDITION "), QStringLiteral("HQ "),
            QStringLiteral("SCHOOL")};
}
QStringList overlay() {
    return {QString(), QStringLiteral("ROOKIE"), QStringLiteral("TB-WIRES"), QStringLiteral("NOVICE-TECH"),
            QStringLiteral("OVER-50")};
}
QString item(const QStringList& list, int index) {
    return index >= 0 && index < list.size() ? list.at(index) : QString();
}

} // namespace CabrilloLists

namespace {

// In the order the keys are written.
const SettingsBindings<CabrilloSettings>& cabrilloBindings() {
    using S = CabrilloSettings;
    static const SettingsBindings<S> bindings{
        // Anything but "2.0" is the third version.
        Bind::field(
            Keys::version, &S::version3, [](const QString& text) { return text != QLatin1String("2.0"); },
            [](bool version3) { return version3 ? QStringLiteral("3.0") : QStringLiteral("2.0"); }),
        Bind::field(Keys::contest, &S::contest),
        Bind::field(Keys::categoryOperator, &S::categoryOperator),
        Bind::field(Keys::transmitter, &S::transmitter),
        Bind::field(Keys::assisted, &S::assisted),
        Bind::field(Keys::band, &S::band),
        Bind::field(Keys::mode, &S::mode),
        Bind::field(Keys::power, &S::power),
        Bind::field(Keys::time, &S::time),
        Bind::field(Keys::station, &S::station),
        Bind::field(Keys::overlay, &S::overlay),
        // No operators saved: the operator's own call stays.
        Bind::whole<S>(
            Keys::operators,
            [](S& s, const QString& text) {
                if (!text.isEmpty())
                    s.operators = text;
            },
            [](const S& s) { return s.operators; }),
        Bind::field(Keys::domesticContest, &S::domesticContest),
        Bind::field(Keys::club, &S::club),
        Bind::field(
            Keys::remarks, &S::remarks,
            [](const QString& text) { return text.isEmpty() ? QStringList() : text.split(QLatin1Char('|')); },
            [](const QStringList& remarks) { return remarks.join(QLatin1Char('|')); }),
        Bind::field(Keys::category, &S::category),
    };
    return bindings;
}

} // namespace

CabrilloSettings CabrilloSettings::read(const IniFile& settings, const QString& operatorCall) {
    CabrilloSettings s;
    s.operators = operatorCall;
    if (!settings.exists())
        return s;
    readSettings(settings, s, cabrilloBindings());
    return s;
}

void CabrilloSettings::write(IniFile& settings) const {
    writeSettings(settings, *this, cabrilloBindings());
}

QStringList CabrilloExport::headerLines(const CabrilloHeader& h) {
    QStringList out;
    if (!h.version3) {
        out << QStringLiteral("START-OF-LOG: 2.0") << QStringLiteral("CONTEST: ") + h.domesticContest
            << QStringLiteral("CALLSIGN: ") + h.callsign << QStringLiteral("CATEGORY: ") + h.category
            << QStringLiteral("LOCATOR: ") + h.locator << QStringLiteral("PROVINCE: ") + h.province;
    } else {
        out << QStringLiteral("START-OF-LOG: 3.0") << QStringLiteral("CONTEST: ") + h.contestName
            << QStringLiteral("CALLSIGN: ") + h.callsign << QStringLiteral("CATEGORY-OPERATOR: ") + h.categoryOperator
            << QStringLiteral("CATEGORY-TRANSMITTER: ") + h.transmitter << QStringLiteral("CATEGORY-POWER: ") + h.power
            << QStringLiteral("CATEGORY-BAND: ") + h.band << QStringLiteral("CATEGORY-MODE: ") + h.mode
            << QStringLiteral("CATEGORY-ASSISTED: ") + h.assisted << QStringLiteral("CATEGORY-STATION: ") + h.station;
        if (!h.time.isEmpty())
            out << QStringLiteral("CATEGORY-TIME: ") + h.time;
        out << QStringLiteral("LOCATION: ") + h.location;
        if (!h.overlay.isEmpty())
            out << QStringLiteral("CATEGORY-OVERLAY: ") + h.overlay;
    }
    out << QStringLiteral("CLUB: ") + h.club << QStringLiteral("CLAIMED-SCORE: ") + h.claimed
        << QStringLiteral("OPERATORS: ") + h.operators << QStringLiteral("EMAIL: ") + h.email
        << QStringLiteral("NAME: ") + h.name << QStringLiteral("ADDRESS: ") + h.address1;
    if (!h.address2.isEmpty())
        out << QStringLiteral("ADDRESS: ") + h.address2;
    if (!h.address3.isEmpty())
        out << QStringLiteral("ADDRESS: ") + h.address3;
    out << QStringLiteral("CREATED-BY: KVR_Log v. ") + programVersion();
    if (h.remarks.isEmpty())
        out << QStringLiteral("SOAPBOX: ");
    for (const QString& remark : h.remarks)
        out << QStringLiteral("SOAPBOX: ") + remark;
    return out;
}

QString CabrilloExport::iotaExchange(QStringView field) {
    QString g = field.toString();
    g.remove(QLatin1Char(' '));
    static const char* const kContinents[] = {"AF", "AS", "EU", "NA", "OC", "AN", "SA"};
    QString serial = g;
    QString rest;
    for (const char* code : kContinents) {
        const qsizetype p = g.indexOf(QLatin1String(code));
        if (p >= 0) {
            serial = g.left(p);
            rest = g.mid(p);
            break;
        }
    }
    QString reference;
    if (rest.size() == 5) {
        reference = rest.left(2) + QLatin1Char('-') + rest.mid(2);
    } else if (rest.size() < 5) {
        static const QStringList kPrefixes = {QStringLiteral("AN"), QStringLiteral("NA"), QStringLiteral("OC"),
                                              QStringLiteral("EU"), QStringLiteral("AF"), QStringLiteral("AS"),
                                              QStringLiteral("SA")};
        if (rest.size() >= 2 && kPrefixes.contains(rest.left(2)))
            reference = rest.left(2) + QLatin1Char('-') + rest.mid(2).rightJustified(3, QLatin1Char('0'));
        else
            reference = QStringLiteral("------");
    } else {
        reference = rest;
    }
    return QsoLine::rightJustify(serial, 4) + QLatin1Char(' ') + reference + QLatin1Char(' ');
}

QString CabrilloExport::qsoLine(const Qso& qso, const QString& callsign, bool iota) {
    const char* frequency = frequencyOf(qso.band);
    if (!frequency)
        return {};
    QString out;
    out.reserve(96);
    out += QLatin1String("QSO: ");
    out += QLatin1String(frequency);
    out += QLatin1Char(' ');
    out += qso.mode.code();
    out += QLatin1Char(' ');
    // The date and the minute of the contact.
    ContactLoop::appendLeftJustified(out, qso.date, QsoLayout::valueWidth(QsoField::Date));
    out += QLatin1Char(' ');
    ContactLoop::appendLeftJustified(out, QStringView(qso.time).left(4), 4);
    out += QLatin1Char(' ');
    ContactLoop::appendLeftJustified(out, callsign, 13);
    out += QLatin1Char(' ');
    if (iota) {
        out += qso.cells(QsoField::RstSent, QsoField::RstSent);
        out += iotaExchange(qso.stx);
        // The callsign in 14 places, then the report received with its blank.
        out += QStringView(qso.cells(QsoField::Call, QsoField::Call)).left(14);
        out += qso.cells(QsoField::RstRcvd, QsoField::RstRcvd);
        out += iotaExchange(qso.srx);
    } else {
        out += qso.cells(QsoField::RstSent, QsoField::Srx);
    }
    return out.toUpper();
}

bool CabrilloExport::isIota(const CabrilloHeader& header) {
    return header.version3 && header.contestName == QLatin1String("RSGB-IOTA");
}

QStringList CabrilloExport::lines(const CabrilloHeader& header, std::span<const QsoRecord> log) {
    QStringList out = headerLines(header);
    const bool iota = isIota(header);
    ContactLoop::appendLines(out, log, [&header, iota](const Qso& qso) { return qsoLine(qso, header.callsign, iota); });
    out << QStringLiteral("END-OF-LOG:");
    return out;
}

TextFile::Status
CabrilloExport::write(const QString& path, const CabrilloHeader& header, std::span<const QsoRecord> log) {
    return TextFile::writeLines(path, lines(header, log));
}
