#pragma once

#include "core/qso.h"
#include "core/textfile.h"
#include "settings/settingskeys.h"

#include <QString>
#include <QStringList>

#include <array>
#include <span>

class IniFile;

// The REG1TEST export: one file per VHF/UHF band, each contact scored by its distance in km.
namespace Edi {

inline constexpr int kBandCount = 4; // 6M, 2M, 70CM, 23CM
QString bandName(int band);          // "6M"
QString fileSuffix(int band);        // "_6M.edi"
QString pbandLine(int band);         // "PBand=50MHz"
int bandIndex(QStringView name);     // -1 outside the four bands

struct BandStatistics {
    int qsoCount = 0; // every line on the band, dupes included
    int counted = 0;  // lines with a distance
    int kmSum = 0;
    int bestDistance = 0;
    qsizetype bestLine = 0; // index in the log
    QStringList squares;    // distinct locator squares of the counted lines, in order of first appearance
};

struct Statistics {
    std::array<BandStatistics, kBandCount> bands;
    QStringList bandsFound; // in order of first appearance
    QString dates;          // "yyyymmdd;yyyymmdd" of the first and the last line
    static Statistics gather(std::span<const QsoRecord> log);
};

// The ten claimed-score fields of one band, in file order.
struct ClaimedScore {
    QString CQSOs, CQSOP, CWWLs, CWWLB, CExcs = QStringLiteral("0;0;1"), CExcB = QStringLiteral("0"),
                                        CDXCs = QStringLiteral("0;0;1"), CDXCB = QStringLiteral("0"), CToSc, CODXC;
    QString squaresLabel = QStringLiteral("Lok. [0]");

    // Fills the fields a band's statistics decide; the others keep their text.
    void computeAll(
        const BandStatistics& band, std::span<const QsoRecord> log, int multiplier, int bonus, bool squaresMultiply);
    void computeMultiplier(const BandStatistics& band, int multiplier, int bonus, bool squaresMultiply);
    void computeBonus(const BandStatistics& band, int multiplier, int bonus, bool squaresMultiply);
};

// The station and scoring settings of one band (section "EDI", keys with the band's suffix).
struct BandSettings {
    QString txEquipment, power, rxEquipment, antenna, antennaHeight, mastHeight;
    int multiplier = SettingsKeys::Edi::multiplier.defaultValue;
    int bonus = SettingsKeys::Edi::bonus.defaultValue;
    QStringList remarks;
};

struct Header {
    QString TName, TDate, PCall, PWWLo, PExch, PAdr1, PAdr2, PSect, PClub, RName, RCall, RAdr1, RAdr2, RPoCo, RCity,
        RCoun = QStringLiteral("Poland"), RPhon, RHBBS, MOpe1, MOpe2;
};

// The "EDI" section: the header keys and the per-band ones.
struct Settings {
    QString TName, PExch, PAdr1, PAdr2, PSect, PClub, RPhon, RHBBS, MOpe1, MOpe2;
    std::array<BandSettings, kBandCount> bands;
    bool squaresMultiply = SettingsKeys::Edi::squaresMultiply.defaultValue;

    // The bonus of a band defaults to the band's multiplier, as the window reads it.
    static Settings read(const IniFile& settings, const Settings& defaults);
    void writeHeader(IniFile& settings) const;
    void writeBands(IniFile& settings) const;
};

// What the per-band window lets the operator set for a band's multiplier and new-square bonus.
struct BandLimits {
    int multiplierMin = 0;
    int multiplierMax = 100;
    int bonusMin = 0;
    int bonusMax = 0;
    int bonusStep = 1;
};
BandLimits bandLimits(int band);

// Preset buttons of the per-band window: the bonus per band; every preset sets the multipliers to 1 and
// clears "Lokatory jako mnożnik".
std::array<int, kBandCount> presetBonus(int preset); // 0 "Próby V/U/SHF", 1 "Zawody IARU", 2 "SPAC", 3 "Letnie"

// The validation message of the header, or empty when it may be written.
QString validate(const Header& header);

QString fileName(const QString& folder, const QString& pcall, int band);

// One band's file; nothing is written (and true returned) for a band without contacts.
QStringList bandLines(const Header& header,
                      int band,
                      const BandSettings& settings,
                      const ClaimedScore& claimed,
                      const Statistics& statistics,
                      std::span<const QsoRecord> log);
TextFile::Status writeBand(const QString& path,
                           const Header& header,
                           int band,
                           const BandSettings& settings,
                           const ClaimedScore& claimed,
                           const Statistics& statistics,
                           std::span<const QsoRecord> log);

inline QString noAnalysisMessage() {
    return QStringLiteral("Eksport logu do  pliku  EDI jest możliwy \ntylko przy włączonej opcji analizy grupy "
                          "\nkontrolnej pod kątem lokatorów.");
}

} // namespace Edi
