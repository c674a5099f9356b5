#pragma once

#include "platform/userdialogs.h"
#include "settings/settingskey.h"

#include <QList>

#include <variant>

// Every key of kvr_log.ini, declared once: its section, its name and the value a missing key reads as. The
// names are those users' files have held for years and stay exactly as they are.
// Where the default is the state of a window (its position, a ticked view item, the controls of a dialog) the
// caller reads with IniFile::value(key, current) and the default here is not used; such keys say so.
namespace SettingsKeys {

// Keys that differ in one part of their name, "Bufor1-tekst" … "Bufor12-tekst": the name holds %1 for it.
template <SettingsValue T> struct KeyFamily {
    QString section;
    QString namePattern;
    T defaultValue;

    SettingsKey<T> operator()(const QString& part) const { return {section, namePattern.arg(part), defaultValue}; }
    SettingsKey<T> operator()(int number) const { return (*this)(QString::number(number)); }
};

// The auxiliary windows that keep their geometry, font and background colour in a section of their own.
enum class WindowSection {
    Log,
    LoggedCalls,
    WorkedCounties,
    CallSuggestions,
    SsbList,
    CwList,
    FmList,
    Statistics,
    Score
};
inline constexpr WindowSection kWindowSections[] = {
    WindowSection::Log,     WindowSection::LoggedCalls, WindowSection::WorkedCounties, WindowSection::CallSuggestions,
    WindowSection::SsbList, WindowSection::CwList,      WindowSection::FmList,         WindowSection::Statistics,
    WindowSection::Score};
QString sectionName(WindowSection window);

// A key that each auxiliary window keeps in its own section.
template <SettingsValue T> struct WindowKey {
    QString name;
    T defaultValue;

    SettingsKey<T> operator()(WindowSection window) const { return {sectionName(window), name, defaultValue}; }
};

namespace Program {
inline const QString section = QStringLiteral("Program");
inline const SettingsKey<QString> logPath{section, QStringLiteral("Log"), QString()};
inline const SettingsKey<bool> autoIncrement{section, QStringLiteral("Autonumber"), true};
// With no "STX" saved the serial follows the log (see EntryOptions::serialFollowsLog); the fixed part starts empty.
inline const SettingsKey<QString> stx{section, QStringLiteral("STX"), QStringLiteral("1")};
inline const SettingsKey<QString> stxFixed{section, QStringLiteral("Grupa"), QString()};
inline const SettingsKey<bool> withoutExchange{section, QStringLiteral("Logowanie grupy"), false};
inline const SettingsKey<bool> oneQsoPerBand{section, QStringLiteral("Jedno QSO"), false};
inline const SettingsKey<bool> warcBands{section, QStringLiteral("Pasma WARC"), false};
inline const SettingsKey<bool> digitalModes{section, QStringLiteral("Emisje cyfrowe"), false};
inline const SettingsKey<QString> band{section, QStringLiteral("Pasmo"), QStringLiteral("80M")};
inline const SettingsKey<QString> mode{section, QStringLiteral("Emisja"), QStringLiteral("CW")};
inline const SettingsKey<bool> separateVhfSerials{section, QStringLiteral("Osobna numeracja na UKF"), false};
inline const SettingsKey<bool> manualUtc{section, QStringLiteral("Czas UTC manualny"), false};
inline const SettingsKey<int> utcOffsetHours{section, QStringLiteral("Offset"), 0};
// The process priority chosen in the keyer configuration: "Bardzo wysoki", "Wysoki", "Normalny" or "Niski"; any
// other text chooses none and the normal priority.
inline const SettingsKey<QString> priority{section, QStringLiteral("Priorytet"), QString()};
// Windows colour value, pale green.
inline const SettingsKey<int> sentExchangeColour{section, QStringLiteral("Kolor tła nadawanej grupy kontrolnej 1"),
                                                 12778705};
// The entry window's position; read with the window's own position as the default.
inline const SettingsKey<int> windowX{section, QStringLiteral("X"), 0};
inline const SettingsKey<int> windowY{section, QStringLiteral("Y"), 0};
} // namespace Program

// Which windows are shown. All but the logged-calls window are read with their menu item's state as the default.
namespace View {
inline const QString section = QStringLiteral("Widok");
inline const SettingsKey<bool> loggedCalls{section, QStringLiteral("Zalogowane"), false};
inline const SettingsKey<bool> callSuggestions{section, QStringLiteral("Podpowiedzi"), false};
inline const SettingsKey<bool> ssbList{section, QStringLiteral("Lista SSB"), false};
inline const SettingsKey<bool> logWindow{section, QStringLiteral("Log"), false};
inline const SettingsKey<bool> cwList{section, QStringLiteral("Lista CW"), false};
inline const SettingsKey<bool> fmList{section, QStringLiteral("Lista FM"), false};
inline const SettingsKey<bool> workedCounties{section, QStringLiteral("Powiaty"), false};
inline const SettingsKey<bool> bufferBar{section, QStringLiteral("Bufor CW"), false};
inline const SettingsKey<bool> currentModeListOnly{section, QStringLiteral("Aktualna emisja"), false};
inline const SettingsKey<bool> statisticsWindow{section, QStringLiteral("Statystyka"), false};
inline const SettingsKey<bool> scoreWindow{section, QStringLiteral("Wynik"), false};
} // namespace View

namespace Analysis {
inline const QString section = QStringLiteral("Analiza grupy");
// The mode's text; read with the options' current mode as the default.
inline const SettingsKey<QString> mode{section, QStringLiteral("Opcja"), QString()};
inline const SettingsKey<int> sameLocatorKm{section, QStringLiteral("ODX"), 1};
inline const SettingsKey<bool> enabled{section, QStringLiteral("Analiza"), false};
inline const SettingsKey<bool> countiesAllModes{section, QStringLiteral("Powiaty-emisja"), false};
} // namespace Analysis

namespace Operator {
inline const QString section = QStringLiteral("Operator");
inline const SettingsKey<QString> contestCall{section, QStringLiteral("Uzywany znak"), QString()};
inline const SettingsKey<QString> name{section, QStringLiteral("Name"), QString()};
inline const SettingsKey<QString> email{section, QStringLiteral("E-mail"), QString()};
inline const SettingsKey<QString> address1{section, QStringLiteral("Adres1"), QString()};
inline const SettingsKey<QString> address2{section, QStringLiteral("Adres2"), QString()};
inline const SettingsKey<QString> town{section, QStringLiteral("Miejscowosc"), QString()};
inline const SettingsKey<QString> postcode{section, QStringLiteral("Kod"), QString()};
inline const SettingsKey<QString> locator{section, QStringLiteral("Lokator"), QString()};
inline const SettingsKey<QString> operatorCall{section, QStringLiteral("Znak operatora"), QString()};
} // namespace Operator

namespace Contest {
inline const QString section = QStringLiteral("Zawody");
// The contest scored: the name of its definition file without ".ini"; "brak" scores none.
inline const SettingsKey<QString> definition{section, QStringLiteral("Definicja"), QStringLiteral("brak")};
} // namespace Contest

namespace Keyer {
inline const QString section = QStringLiteral("Klucz CW");
// "brak", a serial port's name, "LPT1" … "LPT3" or "USER".
inline const SettingsKey<QString> port{section, QStringLiteral("Port"), QStringLiteral("brak")};
inline const SettingsKey<QString> lptUserAddress{section, QStringLiteral("Port LPT użytkownika"), QString()};
// "DTR" or "RTS".
inline const SettingsKey<QString> keyingLine{section, QStringLiteral("Kluczowanie"), QStringLiteral("DTR")};
inline const SettingsKey<int> speed{section, QStringLiteral("Predkosc"), 30};
inline const SettingsKey<int> toneHz{section, QStringLiteral("Ton"), 800};
inline const SettingsKey<int> volume{section, QStringLiteral("Głośność"), 20};
inline const SettingsKey<int> dashRatio{section, QStringLiteral("Kreska"), 30};
inline const SettingsKey<int> gapRatio{section, QStringLiteral("Odstęp"), 10};
inline const SettingsKey<int> longGapRatio{section, QStringLiteral("Długi odstęp"), 30};
inline const SettingsKey<bool> sidetone{section, QStringLiteral("Podsłuch"), true};
inline const SettingsKey<int> loopDelaySeconds{section, QStringLiteral("Pętla"), 1};
inline const SettingsKey<int> pttDelayMs{section, QStringLiteral("Opóźnienie PTT"), 100};
// The serial number's padding, index of "1", "01", "001"; the entry window reads it too.
inline const SettingsKey<int> serialFormat{section, QStringLiteral("Format"), 2};
inline const SettingsKey<bool> cutNumbers{section, QStringLiteral("Cyfry"), true};
inline const SettingsKey<bool> ptt{section, QStringLiteral("PTT"), false};
inline const SettingsKey<bool> multithreaded{section, QStringLiteral("Wielowątkowość"), true};
inline const SettingsKey<bool> extraGap{section, QStringLiteral("Dodatkowy_odstep"), true};
inline const SettingsKey<bool> mapDownAsInsert{section, QStringLiteral("Mapowanie_INSERT"), false};
inline const SettingsKey<bool> mapUpAsPlus{section, QStringLiteral("Mapowanie_PLUS"), false};
inline const SettingsKey<double> calibrationFactor{section, QStringLiteral("Wsp. kalibracji"), 1.0};
// Which keyer sends the CW: "Port" (the port's lines), "Winkeyer", "cwdaemon" or "Radio" (the radio's own keyer).
// Missing in files of older versions, which keyed through the radio when "Kluczowanie CW" in [Radio] was set.
inline const SettingsKey<QString> kind{section, QStringLiteral("Klucz"), QString()};
inline const SettingsKey<QString> winkeyerPort{section, QStringLiteral("Port Winkeyer"), QString()};
inline const SettingsKey<bool> winkeyerSpeedPot{section, QStringLiteral("Potencjometr Winkeyer"), false};
inline const SettingsKey<QString> cwdaemonAddress{section, QStringLiteral("cwdaemon"),
                                                  QStringLiteral("localhost:6789")};
} // namespace Keyer

// The radio over CAT (hamlib): how it is reached, how often it is read, and what else goes through it.
namespace Radio {
inline const QString section = QStringLiteral("Radio");
// 0 no radio, 1 a hamlib model on a serial port, 2 a running rigctld.
inline const SettingsKey<int> connection{section, QStringLiteral("Polaczenie"), 0};
// hamlib's model number.
inline const SettingsKey<int> model{section, QStringLiteral("Model"), 0};
inline const SettingsKey<QString> port{section, QStringLiteral("Port"), QString()};
// Baud; 0 keeps the model's own.
inline const SettingsKey<int> speed{section, QStringLiteral("Predkosc"), 0};
// host:port of rigctld.
inline const SettingsKey<QString> rigctld{section, QStringLiteral("Rigctld"), QStringLiteral("localhost:4532")};
inline const SettingsKey<int> pollMs{section, QStringLiteral("Odpytywanie"), 500};
// 0 the program follows the radio, 1 also the operator's band and mode set the radio.
inline const SettingsKey<int> direction{section, QStringLiteral("Tryb"), 0};
// The keyer's PTT by CAT command instead of a port line.
inline const SettingsKey<bool> ptt{section, QStringLiteral("PTT"), false};
// CW sent by the radio's own keyer: written from the keyer choice ("Klucz" in "Klucz CW") for older versions.
inline const SettingsKey<bool> cwKeyer{section, QStringLiteral("Kluczowanie CW"), false};
} // namespace Radio

// The twelve message buffers, numbered 1 … 12.
namespace Buffers {
inline const QString section = QStringLiteral("Bufory");
// Defaults "F1" … "F10", "INS" and "+".
SettingsKey<QString> name(int number);
inline const KeyFamily<QString> text{section, QStringLiteral("Bufor%1-tekst"), QString()};
inline const KeyFamily<QString> wavFile{section, QStringLiteral("Bufor%1-plik"), QString()};
inline const KeyFamily<bool> loop{section, QStringLiteral("Bufor%1-petla"), false};
} // namespace Buffers

namespace Cabrillo {
inline const QString section = QStringLiteral("Cabrillo");
inline const SettingsKey<QString> contestName{section, QStringLiteral("Zawody"), QString()};
// "2.0" or "3.0".
inline const SettingsKey<QString> version{section, QStringLiteral("Wersja"), QString()};
// Indexes into the header window's lists, from here to overlay.
inline const SettingsKey<int> contest{section, QStringLiteral("Zawody_międzynarodowe"), 0};
inline const SettingsKey<int> categoryOperator{section, QStringLiteral("Operator"), 0};
inline const SettingsKey<int> transmitter{section, QStringLiteral("Nadajnik"), 0};
inline const SettingsKey<int> assisted{section, QStringLiteral("Asysta"), 1};
inline const SettingsKey<int> band{section, QStringLiteral("Pasmo"), 0};
inline const SettingsKey<int> mode{section, QStringLiteral("Emisja"), 3};
inline const SettingsKey<int> power{section, QStringLiteral("Moc"), 1};
inline const SettingsKey<int> time{section, QStringLiteral("Czas"), 0};
inline const SettingsKey<int> station{section, QStringLiteral("Stacja"), 0};
inline const SettingsKey<int> overlay{section, QStringLiteral("Overlay"), 0};
inline const SettingsKey<QString> operators{section, QStringLiteral("Operatorzy"), QString()};
inline const SettingsKey<QString> domesticContest{section, QStringLiteral("Zawody_krajowe"), QString()};
inline const SettingsKey<QString> club{section, QStringLiteral("Klub"), QString()};
// Joined with "|".
inline const SettingsKey<QString> remarks{section, QStringLiteral("Uwagi"), QString()};
inline const SettingsKey<QString> category{section, QStringLiteral("Kategoria"), QString()};
} // namespace Cabrillo

// The header of the EDI export, named by the file's own fields, and the station of each band, whose keys end in
// the band's name ("STXEq_2M"). The header and station keys are read with the window's controls as defaults.
namespace Edi {
inline const QString section = QStringLiteral("EDI");
inline const SettingsKey<QString> TName{section, QStringLiteral("TName"), QString()};
inline const SettingsKey<QString> PExch{section, QStringLiteral("PExch"), QString()};
inline const SettingsKey<QString> PAdr1{section, QStringLiteral("PAdr1"), QString()};
inline const SettingsKey<QString> PAdr2{section, QStringLiteral("PAdr2"), QString()};
inline const SettingsKey<QString> PSect{section, QStringLiteral("PSect"), QString()};
inline const SettingsKey<QString> PClub{section, QStringLiteral("PClub"), QString()};
inline const SettingsKey<QString> RPhon{section, QStringLiteral("RPhon"), QString()};
inline const SettingsKey<QString> RHBBS{section, QStringLiteral("RHBBS"), QString()};
inline const SettingsKey<QString> MOpe1{section, QStringLiteral("MOpe1"), QString()};
inline const SettingsKey<QString> MOpe2{section, QStringLiteral("MOpe2"), QString()};
inline const KeyFamily<QString> txEquipment{section, QStringLiteral("STXEq_%1"), QString()};
inline const KeyFamily<QString> power{section, QStringLiteral("SPowe_%1"), QString()};
inline const KeyFamily<QString> rxEquipment{section, QStringLiteral("SRXEq_%1"), QString()};
inline const KeyFamily<QString> antenna{section, QStringLiteral("SAnt_%1"), QString()};
inline const KeyFamily<QString> antennaHeight{section, QStringLiteral("SAntH_%1"), QString()};
inline const KeyFamily<QString> mastHeight{section, QStringLiteral("Wys_masztu_%1"), QString()};
inline const KeyFamily<int> multiplier{section, QStringLiteral("SpinEdit_%1"), 1};
// A band without it takes its multiplier.
inline const KeyFamily<int> bonus{section, QStringLiteral("SpinEdit2_%1"), 0};
// Joined with "|".
inline const KeyFamily<QString> remarks{section, QStringLiteral("Remarks_%1"), QString()};
inline const SettingsKey<bool> squaresMultiply{section, QStringLiteral("Mnożnik=lokator"), false};
} // namespace Edi

namespace Master {
inline const QString section = QStringLiteral("Master");
inline const SettingsKey<QString> file{section, QStringLiteral("Plik"), QString()};
} // namespace Master

// The prefix colours of the worked-calls windows (Windows colour values), kept with the SSB list's window.
namespace WorkedCalls {
inline const QString section = QStringLiteral("Lista SSB");
inline const SettingsKey<int> spColour{section, QStringLiteral("Kolor czcionki stacji SP"), 0x800000};
inline const SettingsKey<int> sqColour{section, QStringLiteral("Kolor czcionki stacji SQ"), 0x008000};
inline const SettingsKey<int> snColour{section, QStringLiteral("Kolor czcionki stacji SN"), 0x000080};
inline const SettingsKey<int> otherColour{section, QStringLiteral("Kolor czcionki stacji innych"), 0x000000};
} // namespace WorkedCalls

// Read with the window's current geometry, font and colour as defaults.
namespace Window {
inline const WindowKey<int> x{QStringLiteral("X"), 0};
inline const WindowKey<int> y{QStringLiteral("Y"), 0};
inline const WindowKey<int> width{QStringLiteral("Szerokość"), 0};
inline const WindowKey<int> height{QStringLiteral("Wysokość"), 0};
inline const WindowKey<QString> fontFace{QStringLiteral("Czcionka"), FontSpec().face};
inline const WindowKey<int> fontSize{QStringLiteral("Rozmiar czcionki"), FontSpec().pointSize};
inline const WindowKey<int> fontColour{QStringLiteral("Kolor czcionki"), FontSpec().colour};
inline const WindowKey<int> fontCharset{QStringLiteral("Skrypt"), FontSpec().charset};
// "pogrubienie,kursywa" and so on.
inline const WindowKey<QString> fontStyle{QStringLiteral("Styl czcionki"), QString()};
// Windows colour value, white.
inline const WindowKey<int> background{QStringLiteral("Kolor tła"), 0xFFFFFF};
} // namespace Window

using AnyKey = std::variant<SettingsKey<bool>, SettingsKey<int>, SettingsKey<double>, SettingsKey<QString>>;
// Every key above that is not built by a family, for the checks that no two keys of a section clash.
QList<AnyKey> fixedKeys();

} // namespace SettingsKeys
