#pragma once

#include "core/qso.h"
#include "core/textfile.h"
#include "settings/settingskeys.h"

#include <QString>
#include <QStringList>

#include <span>

class IniFile;

// The choices of the Cabrillo header window that the settings file keeps; the numbers are list indexes.
struct CabrilloSettings {
    bool version3 = false; // "Wersja": "2.0" or "3.0"
    int contest = SettingsKeys::Cabrillo::contest.defaultValue;
    int categoryOperator = SettingsKeys::Cabrillo::categoryOperator.defaultValue;
    int transmitter = SettingsKeys::Cabrillo::transmitter.defaultValue;
    int assisted = SettingsKeys::Cabrillo::assisted.defaultValue;
    int band = SettingsKeys::Cabrillo::band.defaultValue;
    int mode = SettingsKeys::Cabrillo::mode.defaultValue;
    int power = SettingsKeys::Cabrillo::power.defaultValue;
    int time = SettingsKeys::Cabrillo::time.defaultValue;
    int station = SettingsKeys::Cabrillo::station.defaultValue;
    int overlay = SettingsKeys::Cabrillo::overlay.defaultValue;
    QString operators;
    QString domesticContest = SettingsKeys::Cabrillo::domesticContest.defaultValue;
    QString club = SettingsKeys::Cabrillo::club.defaultValue;
    QStringList remarks; // "Uwagi", joined with "|"
    QString category = SettingsKeys::Cabrillo::category.defaultValue;

    // Without a settings file the window starts at 2.0; with one, anything but "2.0" means 3.0.
    static CabrilloSettings read(const IniFile& settings, const QString& operatorCall);
    void write(IniFile& settings) const;
};

namespace CabrilloLists {
QStringList contests();
QStringList categoryOperator();
QStringList transmitter();
QStringList assisted();
QStringList band();
QStringList mode();
QStringList power();
QStringList time();
QStringList station();
QStringList overlay();
// The list item at index, or "" outside the list.
QString item(const QStringList& list, int index);
} // namespace CabrilloLists

// Everything the header and the "QSO: " lines are written from.
struct CabrilloHeader {
    bool version3 = false;
    QString contestName;     // 3.0: the chosen contest or the name typed for the first list entry
    QString domesticContest; // 2.0
    QString callsign;
    QString category; // 2.0
    QString locator;  // 2.0
    QString province; // 2.0
    QString categoryOperator, transmitter, power, band, mode, assisted, station;
    QString time; // written only when not empty
    QString location;
    QString overlay; // written only when not empty
    QString club;
    QString claimed = QStringLiteral("0");
    QString operators;
    QString email;
    QString name;
    QString address1, address2, address3;
    QStringList remarks;
};

class CabrilloExport {
public:
    static QStringList headerLines(const CabrilloHeader& header);
    // The "QSO: " line of a contact; empty for the WARC bands.
    static QString qsoLine(const Qso& qso, const QString& callsign, bool iota);
    // An RSGB-IOTA exchange: serial right-justified in 4, a blank, the reference (EU-005), a blank.
    static QString iotaExchange(QStringView field);
    static bool isIota(const CabrilloHeader& header);

    static QStringList lines(const CabrilloHeader& header, std::span<const QsoRecord> log);
    static TextFile::Status write(const QString& path, const CabrilloHeader& header, std::span<const QsoRecord> log);
};
