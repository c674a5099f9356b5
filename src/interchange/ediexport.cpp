#include "interchange/ediexport.h"

#include "core/qsoline.h"
#include "interchange/contactloop.h"
#include "interchange/exportfile.h"
#include "platform/programversion.h"
#include "settings/inifile.h"

#include <QDir>
#include <QSet>

#include <climits>

namespace Keys = SettingsKeys::Edi;

namespace {

// The date cell: "yyyy-mm-dd" whatever the cell holds.
QString dateCell(const Qso& qso) {
    return QsoLine::leftJustify(qso.date, QsoLayout::valueWidth(QsoField::Date));
}

// The locator square a contact's received exchange ends with, as the band's statistics count it.
QString receivedSquare(const Qso& qso) {
    return qso.srx.right(QsoLayout::kLocatorWidth).left(4);
}

// Serial numbers shorter than three digits are zero-padded; a bare "000" means no number.
QString serial(QStringView field) {
    QString s = field.trimmed().toString();
    if (s.size() < 3)
        s = s.rightJustified(3, QLatin1Char('0'));
    return s == QLatin1String("000") ? QString() : s;
}

} // namespace

namespace Edi {

QString bandName(int band) {
    static const char* const kNames[] = {"6M", "2M", "70CM", "23CM"};
    return QLatin1String(kNames[band]);
}
QString fileSuffix(int band) {
    return QLatin1Char('_') + bandName(band) + QStringLiteral(".edi");
}
QString pbandLine(int band) {
    static const char* const kLines[] = {"PBand=50MHz", "PBand=144MHz", "PBand=432MHz", "PBand=1,3GHz"};
    return QLatin1String(kLines[band]);
}
int bandIndex(QStringView name) {
    for (int i = 0; i < kBandCount; ++i) {
        if (name == bandName(i))
            return i;
    }
    return -1;
}

Statistics Statistics::gather(std::span<const QsoRecord> log) {
    Statistics s;
    if (!log.empty()) {
        QString first = dateCell(log.front().qso());
        QString last = dateCell(log.back().qso());
        s.dates = first.remove(QLatin1Char('-')) + QLatin1Char(';') + last.remove(QLatin1Char('-'));
    }
    std::array<QSet<QString>, kBandCount> seen;
    for (size_t row = 0; row < log.size(); ++row) {
        const int band = log[row].band().vhfIndex();
        if (band < 0)
            continue;
        BandStatistics& b = s.bands[size_t(band)];
        if (!s.bandsFound.contains(bandName(band)))
            s.bandsFound.append(bandName(band));
        ++b.qsoCount;
        const Qso qso = log[row].qso();
        const std::optional<int> km = qso.distanceKm();
        if (!km)
            continue;
        ++b.counted;
        b.kmSum += *km;
        // The band's first counted contact is its best until a longer one comes, so the best line is always
        // one of this band's contacts.
        if (*km > b.bestDistance || b.counted == 1) {
            b.bestDistance = *km;
            b.bestLine = qsizetype(row);
        }
        const QString square = receivedSquare(qso);
        if (!seen[size_t(band)].contains(square)) {
            seen[size_t(band)].insert(square);
            b.squares.append(square);
        }
    }
    return s;
}

void ClaimedScore::computeMultiplier(const BandStatistics& b, int multiplier, int bonus, bool squaresMultiply) {
    const qint64 points = qint64(multiplier) * b.kmSum;
    const qint64 squares = b.squares.size();
    CQSOs = QString::number(b.counted) + QLatin1Char(';') + QString::number(multiplier);
    CQSOP = QString::number(points);
    CToSc = QString::number(squaresMultiply ? points * squares : points + squares * bonus);
}

void ClaimedScore::computeBonus(const BandStatistics& b, int multiplier, int bonus, bool squaresMultiply) {
    const qint64 points = qint64(multiplier) * b.kmSum;
    const qint64 squares = b.squares.size();
    CWWLs = QString::number(squares) + QLatin1Char(';') + QString::number(bonus) + QStringLiteral(";1");
    CWWLB = QString::number(squares * bonus);
    CToSc = QString::number(squaresMultiply ? points * squares : points + squares * bonus);
}

void ClaimedScore::computeAll(
    const BandStatistics& b, std::span<const QsoRecord> log, int multiplier, int bonus, bool squaresMultiply) {
    if (b.qsoCount <= 0)
        return;
    computeMultiplier(b, multiplier, bonus, squaresMultiply);
    computeBonus(b, multiplier, bonus, squaresMultiply);
    // A band without any distance has no ODX contact to name.
    QString bestCall;
    QString bestLocator;
    if (b.counted > 0 && b.bestLine < qsizetype(log.size())) {
        const Qso best = log[size_t(b.bestLine)].qso();
        bestCall = best.call;
        bestLocator = best.srxLocator();
    }
    CODXC = bestCall + QLatin1Char(';') + bestLocator + QLatin1Char(';') + QString::number(b.bestDistance);
    squaresLabel = QStringLiteral("Lok. [") + QString::number(b.squares.size()) + QLatin1Char(']');
}

Settings Settings::read(const IniFile& ini, const Settings& d) {
    Settings s = d;
    if (!ini.exists())
        return s;
    s.TName = ini.value(Keys::TName, d.TName);
    s.PExch = ini.value(Keys::PExch, d.PExch);
    s.PAdr1 = ini.value(Keys::PAdr1, d.PAdr1);
    s.PAdr2 = ini.value(Keys::PAdr2, d.PAdr2);
    s.PSect = ini.value(Keys::PSect, d.PSect);
    s.PClub = ini.value(Keys::PClub, d.PClub);
    s.RPhon = ini.value(Keys::RPhon, d.RPhon);
    s.RHBBS = ini.value(Keys::RHBBS, d.RHBBS);
    s.MOpe1 = ini.value(Keys::MOpe1, d.MOpe1);
    s.MOpe2 = ini.value(Keys::MOpe2, d.MOpe2);
    for (int i = 0; i < kBandCount; ++i) {
        const QString band = bandName(i);
        BandSettings& b = s.bands[size_t(i)];
        const BandSettings& db = d.bands[size_t(i)];
        b.txEquipment = ini.value(Keys::txEquipment(band), db.txEquipment);
        b.power = ini.value(Keys::power(band), db.power);
        b.rxEquipment = ini.value(Keys::rxEquipment(band), db.rxEquipment);
        b.antenna = ini.value(Keys::antenna(band), db.antenna);
        b.antennaHeight = ini.value(Keys::antennaHeight(band), db.antennaHeight);
        b.mastHeight = ini.value(Keys::mastHeight(band), db.mastHeight);
        b.multiplier = ini.value(Keys::multiplier(band), db.multiplier);
        b.bonus = ini.value(Keys::bonus(band), b.multiplier);
        const QString remarks = ini.value(Keys::remarks(band));
        b.remarks = db.remarks;
        if (!remarks.isEmpty())
            b.remarks += remarks.split(QLatin1Char('|'));
    }
    s.squaresMultiply = ini.value(Keys::squaresMultiply, d.squaresMultiply);
    return s;
}

void Settings::writeHeader(IniFile& ini) const {
    IniFile::Batch batch(ini);
    ini.setValue(Keys::TName, TName);
    ini.setValue(Keys::PExch, PExch);
    ini.setValue(Keys::PAdr1, PAdr1);
    ini.setValue(Keys::PAdr2, PAdr2);
    ini.setValue(Keys::PSect, PSect);
    ini.setValue(Keys::PClub, PClub);
    ini.setValue(Keys::RPhon, RPhon);
    ini.setValue(Keys::RHBBS, RHBBS);
    ini.setValue(Keys::MOpe1, MOpe1);
    ini.setValue(Keys::MOpe2, MOpe2);
}

void Settings::writeBands(IniFile& ini) const {
    IniFile::Batch batch(ini);
    for (int i = 0; i < kBandCount; ++i) {
        const QString band = bandName(i);
        const BandSettings& b = bands[size_t(i)];
        ini.setValue(Keys::txEquipment(band), b.txEquipment);
        ini.setValue(Keys::power(band), b.power);
        ini.setValue(Keys::rxEquipment(band), b.rxEquipment);
        ini.setValue(Keys::antenna(band), b.antenna);
        ini.setValue(Keys::antennaHeight(band), b.antennaHeight);
        ini.setValue(Keys::mastHeight(band), b.mastHeight);
        ini.setValue(Keys::multiplier(band), b.multiplier);
        ini.setValue(Keys::bonus(band), b.bonus);
        ini.setValue(Keys::remarks(band), b.remarks.join(QLatin1Char('|')));
    }
    ini.setValue(Keys::squaresMultiply, squaresMultiply);
}

BandLimits bandLimits(int band) {
    BandLimits limits;
    limits.multiplierMin = band == 0 || band == 3 ? 1 : 0;
    if (band == 0) {
        limits.bonusMax = 2000;
    } else {
        limits.bonusMin = INT_MIN + 1;
        limits.bonusMax = INT_MAX;
    }
    limits.bonusStep = band == 3 ? 50 : 1;
    return limits;
}

std::array<int, kBandCount> presetBonus(int preset) {
    switch (preset) {
    case 2:
        return {500, 500, 500, 500};
    case 3:
        return {500, 500, 300, 300};
    default:
        return {0, 0, 0, 0};
    }
}

QString validate(const Header& h) {
    if (h.PCall.isEmpty())
        return QStringLiteral("Proszę wprowadzić znak używany podczas zawodów!");
    if (h.RName.isEmpty())
        return QStringLiteral("Proszę wprowadzić imię i nazwisko!");
    if (h.PAdr1.isEmpty() || h.RAdr1.isEmpty())
        return QStringLiteral("Proszę wprowadzić adres!");
    if (h.TName.isEmpty())
        return QStringLiteral("Proszę wprowadzić nazwę zawodow!");
    if (h.PSect.isEmpty())
        return QStringLiteral("Proszę wprowadzić kategorie zawodow!");
    return {};
}

QString fileName(const QString& folder, const QString& pcall, int band) {
    return QDir(folder).filePath(ExportFile::proposedName(pcall) + fileSuffix(band));
}

QStringList bandLines(const Header& h,
                      int band,
                      const BandSettings& b,
                      const ClaimedScore& c,
                      const Statistics& statistics,
                      std::span<const QsoRecord> log) {
    const BandStatistics& stats = statistics.bands[size_t(band)];
    QStringList out;
    out.reserve(stats.qsoCount + 48);
    out << QStringLiteral("[REG1TEST;1]") << QStringLiteral("TName=") + h.TName << QStringLiteral("TDate=") + h.TDate
        << QStringLiteral("PCall=") + h.PCall << QStringLiteral("PWWLo=") + h.PWWLo
        << QStringLiteral("PExch=") + h.PExch << QStringLiteral("PAdr1=") + h.PAdr1
        << QStringLiteral("PAdr2=") + h.PAdr2 << QStringLiteral("PSect=") + h.PSect << pbandLine(band)
        << QStringLiteral("Pclub=") + h.PClub << QStringLiteral("RName=") + h.RName
        << QStringLiteral("RCall=") + h.RCall << QStringLiteral("RAdr1=") + h.RAdr1
        << QStringLiteral("RAdr2=") + h.RAdr2 << QStringLiteral("RPoCo=") + h.RPoCo
        << QStringLiteral("RCity=") + h.RCity << QStringLiteral("RCoun=") + h.RCoun
        << QStringLiteral("RPhon=") + h.RPhon << QStringLiteral("RHBBS=") + h.RHBBS
        << QStringLiteral("MOpe1=") + h.MOpe1 << QStringLiteral("MOpe2=") + h.MOpe2
        << QStringLiteral("STXEq=") + b.txEquipment << QStringLiteral("SPowe=") + b.power
        << QStringLiteral("SRXEq=") + b.rxEquipment << QStringLiteral("SAnte=") + b.antenna
        << QStringLiteral("SAntH=") + b.mastHeight + QLatin1Char(';') + b.antennaHeight
        << QStringLiteral("CQSOs=") + c.CQSOs << QStringLiteral("CQSOP=") + c.CQSOP
        << QStringLiteral("CWWLs=") + c.CWWLs << QStringLiteral("CWWLB=") + c.CWWLB
        << QStringLiteral("CExcs=") + c.CExcs << QStringLiteral("CExcB=") + c.CExcB
        << QStringLiteral("CDXCs=") + c.CDXCs << QStringLiteral("CDXCB=") + c.CDXCB
        << QStringLiteral("CToSc=") + c.CToSc << QStringLiteral("CODXC=") + c.CODXC << QStringLiteral("[Remarks]");
    out += b.remarks;
    out << QStringLiteral("[QSORecords;") + QString::number(stats.qsoCount) + QLatin1Char(']');

    QSet<QString> unmarked(stats.squares.begin(), stats.squares.end());
    const auto onBand = [band](const QsoRecord& record) { return record.band().vhfIndex() == band; };
    ContactLoop::appendLines(out, log, onBand, [&b, &unmarked](const Qso& qso) {
        const QChar sep = QLatin1Char(';');
        const std::optional<int> km = qso.distanceKm();
        const bool isNew = unmarked.remove(qso.srxSquare());
        QString r;
        r.reserve(96);
        // "yymmdd" of the date cell.
        ContactLoop::appendLeftJustified(r, qso.date, QsoLayout::valueWidth(QsoField::Date));
        r.remove(0, 2);
        r.remove(QLatin1Char('-'));
        r += sep;
        ContactLoop::appendLeftJustified(r, QStringView(qso.time).left(4), 4);
        r += sep;
        r += qso.call;
        r += sep;
        r += qso.mode.isPhone() ? QLatin1Char('1') : qso.mode.isCw() ? QLatin1Char('2') : QLatin1Char('6');
        r += sep;
        r += qso.rstSent;
        r += sep;
        r += serial(qso.stxSerial());
        r += sep;
        r += qso.rstRcvd;
        r += sep;
        r += serial(qso.srxSerial());
        r += sep; // received exchange
        r += sep;
        r += QStringView(qso.srxLocator()).trimmed();
        r += sep;
        r += QString::number(km ? qint64(*km) * b.multiplier : 0);
        r += sep; // new exchange
        r += sep;
        if (isNew)
            r += QLatin1Char('N');
        r += sep; // new DXCC
        r += sep;
        if (qso.dupe)
            r += QLatin1Char('D');
        return r;
    });
    out << QStringLiteral("[END;KVR_Log, version ") + programVersion() + QLatin1Char(']');
    return out;
}

TextFile::Status writeBand(const QString& path,
                           const Header& header,
                           int band,
                           const BandSettings& settings,
                           const ClaimedScore& claimed,
                           const Statistics& statistics,
                           std::span<const QsoRecord> log) {
    if (statistics.bands[size_t(band)].qsoCount <= 0)
        return {};
    return TextFile::writeLines(path, bandLines(header, band, settings, claimed, statistics, log));
}

} // namespace Edi
