#include "contest/countryfile.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

// A country in one line: "name|prefix|DXCC prefix|continent|CQ zone|ITU zone"; empty for none.
QString describe(const std::optional<Country>& country) {
    if (!country)
        return {};
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(country->name, country->prefix, country->dxccPrefix, country->continent)
        .arg(country->cqZone)
        .arg(country->ituZone);
}

const QString kSystemFile = CountryFile::systemPath();

} // namespace

// The country file: the installed cty.dat, hand-written files for the overrides and for records that do not read,
// files that cannot be read, and the look-up of callsigns as logged.
class TestCountryFile : public QObject {
    Q_OBJECT

    CountryFile m_system;

private slots:
    void initTestCase() {
        if (QFile::exists(kSystemFile))
            QVERIFY(m_system.load(kSystemFile).ok);
    }

    void installedFile_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country");
        QTest::newRow("plain call") << "SP9ABC"
                                    << "Poland|SP|SP|EU|15|28";
        QTest::newRow("another prefix of the entity") << "3Z6V"
                                                      << "Poland|SP|SP|EU|15|28";
        QTest::newRow("longer prefix of another entity") << "OH0XX"
                                                         << "Aland Islands|OH0|OH0|EU|15|18";
        QTest::newRow("shorter prefix") << "OH2XX"
                                        << "Finland|OH|OH|EU|15|18";
        QTest::newRow("three-character prefix") << "UA2FF"
                                                << "Kaliningrad|UA2|UA2|EU|15|29";
        QTest::newRow("one-letter prefix") << "K1ABC"
                                           << "United States of America|K|K|NA|5|8";
        QTest::newRow("exact call wins over prefix 4U") << "4U1A"
                                                        << "Vienna Intl Ctr|4U1V|OE|EU|15|28";
        QTest::newRow("prefix 4U without exact call") << "4U1ABC"
                                                      << "Italy|I|I|EU|15|28";
        QTest::newRow("exact call with zone overrides") << "R25EMW"
                                                        << "European Russia|UA|UA|EU|17|19";
        QTest::newRow("prefix with zone overrides") << "RA0JJ"
                                                    << "Asiatic Russia|UA9|UA9|AS|19|33";
        QTest::newRow("longer prefix with other overrides") << "RA0AA"
                                                            << "Asiatic Russia|UA9|UA9|AS|18|32";
        QTest::newRow("neighbour prefix without overrides") << "RA9AA"
                                                            << "Asiatic Russia|UA9|UA9|AS|17|30";
        QTest::newRow("exact /MM call of a country") << "SP1NY/MM"
                                                     << "Poland|SP|SP|EU|34|28";
        QTest::newRow("portable") << "SP9ABC/P"
                                  << "Poland|SP|SP|EU|15|28";
        QTest::newRow("mobile") << "SP9ABC/M"
                                << "Poland|SP|SP|EU|15|28";
        QTest::newRow("low power") << "SP9ABC/QRP"
                                   << "Poland|SP|SP|EU|15|28";
        QTest::newRow("alternative") << "SP9ABC/A"
                                     << "Poland|SP|SP|EU|15|28";
        QTest::newRow("exact call found without /P") << "4U1A/P"
                                                     << "Vienna Intl Ctr|4U1V|OE|EU|15|28";
        QTest::newRow("lone digit keeps the country") << "SP9ABC/1"
                                                      << "Poland|SP|SP|EU|15|28";
        QTest::newRow("lone digit moves to another area") << "UA9ABC/3"
                                                          << "European Russia|UA|UA|EU|16|29";
        QTest::newRow("lone digit to an island area") << "OH2ABC/0"
                                                      << "Aland Islands|OH0|OH0|EU|15|18";
        QTest::newRow("lone digit on a one-letter prefix") << "W8ABC/4"
                                                           << "United States of America|K|K|NA|5|8";
        QTest::newRow("location before") << "DL/SP9ABC"
                                         << "Fed. Rep. of Germany|DL|DL|EU|14|28";
        QTest::newRow("location after") << "SP9ABC/DL"
                                        << "Fed. Rep. of Germany|DL|DL|EU|14|28";
        QTest::newRow("location with digit") << "OH0/SP9ABC"
                                             << "Aland Islands|OH0|OH0|EU|15|18";
        QTest::newRow("location and portable") << "DL/SP9ABC/P"
                                               << "Fed. Rep. of Germany|DL|DL|EU|14|28";
        QTest::newRow("lower case and spaces") << " sp9abc/p "
                                               << "Poland|SP|SP|EU|15|28";
        QTest::newRow("maritime mobile") << "SP9ABC/MM"
                                         << "";
        QTest::newRow("aeronautical mobile") << "SP9ABC/AM"
                                             << "";
        QTest::newRow("maritime mobile, lower case") << "dl1abc/mm"
                                                     << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only a slash") << "/"
                                      << "";
        QTest::newRow("only designators") << "/P/QRP"
                                          << "";
    }
    void installedFile() {
        if (!m_system.isLoaded())
            QSKIP("hamradio-files' cty.dat is not installed");
        QFETCH(QString, call);
        QFETCH(QString, country);
        QCOMPARE(describe(m_system.find(call)), country);
    }

    void positionTurnedEastPositive() {
        if (!m_system.isLoaded())
            QSKIP("hamradio-files' cty.dat is not installed");
        const auto poland = m_system.find(u"SP9ABC");
        QVERIFY(poland);
        QCOMPARE(poland->latitude, 52.28);
        QCOMPARE(poland->longitude, 18.67);
        const auto usa = m_system.find(u"W1AW");
        QVERIFY(usa);
        QCOMPARE(usa->longitude, -91.87);
    }

    // Every entity the file marks "*" and the DXCC country it counts as, found by a call of each.
    void waeEntities_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("dxccCall");
        QTest::newRow("Vienna Intl Ctr") << "4U1VIC"
                                         << "Vienna Intl Ctr|4U1V|OE|EU|15|28"
                                         << "OE1ABC";
        QTest::newRow("Shetland Islands") << "GB0SI"
                                          << "Shetland Islands|GM/s|GM|EU|14|27"
                                          << "GM4ABC";
        QTest::newRow("African Italy") << "IG9ABC"
                                       << "African Italy|IG9|I|AF|33|37"
                                       << "I1ABC";
        QTest::newRow("Sicily") << "IT9ABC"
                                << "Sicily|IT9|I|EU|15|28"
                                << "IK1ABC";
        QTest::newRow("Bear Island") << "JW1I"
                                     << "Bear Island|JW/b|JW|EU|40|18"
                                     << "JW5ABC";
        QTest::newRow("European Turkey") << "TA1ABC"
                                         << "European Turkey|TA1|TA|EU|20|39"
                                         << "TA2ABC";
    }
    void waeEntities() {
        if (!m_system.isLoaded())
            QSKIP("hamradio-files' cty.dat is not installed");
        QFETCH(QString, call);
        QFETCH(QString, country);
        QFETCH(QString, dxccCall);
        const auto found = m_system.find(call);
        QCOMPARE(describe(found), country);
        QVERIFY(found->isWaeOnly());
        const auto dxcc = m_system.find(dxccCall);
        QVERIFY(dxcc);
        QCOMPARE(dxcc->prefix, found->dxccPrefix);
        QVERIFY(!dxcc->isWaeOnly());
    }
    void waeEntitiesAllListed() {
        if (!m_system.isLoaded())
            QSKIP("hamradio-files' cty.dat is not installed");
        QStringList marked;
        for (const Country& country : m_system.countries()) {
            if (country.isWaeOnly())
                marked << country.name;
        }
        const QStringList listed = {"Vienna Intl Ctr", "Shetland Islands", "African Italy",
                                    "Sicily",          "Bear Island",      "European Turkey"};
        QCOMPARE(marked, listed);
        QCOMPARE(m_system.countries().size(), std::size_t(346));
    }

    // The row's call found in a fixture file that reads with this many entities: the country it gives.
    static CountryFile fixtureGives(const char* name, int entities) {
        QFETCH(QString, call);
        QFETCH(QString, country);
        CountryFile file;
        const auto result = file.load(testDataFile(name));
        [&] {
            QVERIFY(result.ok);
            QCOMPARE(result.entities, entities);
            QCOMPARE(describe(file.find(call)), country);
        }();
        return file;
    }

    void entryOverrides_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country");
        QTest::newRow("prefix without overrides") << "TL1ABC"
                                                  << "Testland|TL|TL|EU|15|28";
        QTest::newRow("CQ zone") << "TL7ABC"
                                 << "Testland|TL|TL|EU|16|28";
        QTest::newRow("ITU zone") << "TL8ABC"
                                  << "Testland|TL|TL|EU|15|29";
        QTest::newRow("continent") << "TL9ABC"
                                   << "Testland|TL|TL|AS|15|28";
        QTest::newRow("zones and continent together") << "TM1ABC"
                                                      << "Testland|TL|TL|AF|17|30";
        QTest::newRow("position passed over") << "TM5ABC"
                                              << "Testland|TL|TL|EU|15|28";
        QTest::newRow("CQ zone after UTC offset") << "TM6ABC"
                                                  << "Testland|TL|TL|EU|18|28";
        QTest::newRow("exact call with every override") << "TL2X"
                                                        << "Testland|TL|TL|NA|33|40";
        QTest::newRow("exact call matches only itself") << "TL2XA"
                                                        << "Testland|TL|TL|EU|15|28";
        QTest::newRow("exact call with a slash") << "TL/TM5X"
                                                 << "Testland|TL|TL|OC|15|28";
        QTest::newRow("longer prefix of another entity") << "TL77ABC"
                                                         << "Westland|WL|WL|NA|5|8";
        QTest::newRow("marked entity wins a shared exact call") << "TL1X"
                                                                << "Testland Island|TL/i|TL|EU|15|28";
        QTest::newRow("marked entity's prefix") << "TL0ABC"
                                                << "Testland Island|TL/i|TL|EU|15|28";
        QTest::newRow("lower case") << "wl1abc"
                                    << "Westland|WL|WL|NA|5|8";
        QTest::newRow("no entry") << "XX1ABC"
                                  << "";
    }
    void entryOverrides() {
        const CountryFile file = fixtureGives("cty_entry_overrides.dat", 3);
        QCOMPARE(file.find(u"WL1A")->longitude, -75.5);
    }

    void malformedRecordsSkipped_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country");
        QTest::newRow("CQ zone not a number: alias left out") << "GL1ABC"
                                                              << "Goodland|GL|GL|EU|15|28";
        QTest::newRow("CQ zone out of range: alias left out") << "GL2ABC"
                                                              << "Goodland|GL|GL|EU|15|28";
        QTest::newRow("ITU zone 0: alias left out") << "GL3ABC"
                                                    << "Goodland|GL|GL|EU|15|28";
        QTest::newRow("unknown continent: alias left out") << "GL4ABC"
                                                           << "Goodland|GL|GL|EU|15|28";
        QTest::newRow("override not closed: alias left out") << "GL5ABC"
                                                             << "Goodland|GL|GL|EU|15|28";
        QTest::newRow("exact call after bad aliases") << "GL8X"
                                                      << "Goodland|GL|GL|EU|15|28";
        QTest::newRow("CQ zone of the header not a number") << "NZ1AA"
                                                            << "";
        QTest::newRow("header of five fields") << "FF1AA"
                                               << "";
        QTest::newRow("header's continent unknown") << "BC1AA"
                                                    << "";
        QTest::newRow("latitude beyond the pole") << "FN1AA"
                                                  << "";
        QTest::newRow("record without its end") << "UT1AA"
                                                << "";
        QTest::newRow("header with an extra field") << "EC1AA"
                                                    << "";
        QTest::newRow("last record without its end") << "LW1AA"
                                                     << "";
        QTest::newRow("marked entity of an unknown kind") << "GL9ABC"
                                                          << "Marked Land|GL/m|GL|EU|16|29";
    }
    void malformedRecordsSkipped() { fixtureGives("cty_malformed_records.dat", 2); }

    void unreadableFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << "brak.dat" << QByteArray() << "";
        QTest::newRow("a folder") << "folder" << QByteArray() << "to jest folder, nie plik.";
        QTest::newRow("empty file") << "cty.dat" << QByteArray("") << "plik nie zawiera żadnego kraju.";
        QTest::newRow("no record reads") << "cty.dat" << QByteArray("Poland: 15: 28: EU:\n  SP;\n")
                                         << "plik nie zawiera żadnego kraju.";
    }
    void unreadableFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        TempProgramFolder folder(false);
        QString path = folder.file(name);
        if (name == "folder")
            QVERIFY(QDir(folder.path()).mkdir(name));
        else if (!bytes.isNull())
            folder.writeBytes(name, bytes);
        CountryFile file;
        QVERIFY(file.load(testDataFile("cty_entry_overrides.dat")).ok);
        const auto result = file.load(path);
        QVERIFY(!result.ok);
        QCOMPARE(result.entities, 0);
        const QString start = "Nie można wczytać pliku krajów cty.dat (" + path + "): ";
        QVERIFY2(result.message.startsWith(start), qPrintable(result.message));
        if (reason.isEmpty())
            QVERIFY(result.message.size() > start.size());
        else
            QCOMPARE(result.message.mid(start.size()), reason);
        // The countries of the file read before are gone: the program runs without country rules.
        QVERIFY(!file.isLoaded());
        QVERIFY(!file.find(u"TL1ABC"));
    }

    // Damaged copies of a real file load without a crash or a hang, and never give more entities than it holds.
    void damagedFileNeverCrashes() {
        QByteArray original = fileBytes(testDataFile("cty_entry_overrides.dat"));
        if (m_system.isLoaded())
            original = fileBytes(kSystemFile);
        CountryFile whole;
        const int entities = whole.load(testDataFile("cty_entry_overrides.dat")).entities;
        const int limit = m_system.isLoaded() ? int(m_system.countries().size()) : entities;
        static const char kMarks[] = ":;,=()[]{}<>~*/\n\r 0A";
        QRandomGenerator random(20261210);
        TempProgramFolder folder(false);
        for (int round = 0; round < 40; ++round) {
            QByteArray bytes = original;
            for (int change = 0; change < 30; ++change) {
                const int at = random.bounded(int(bytes.size()));
                bytes[at] = random.bounded(4) == 0 ? char(random.bounded(256)) : kMarks[random.bounded(20)];
            }
            if (round % 4 == 0)
                bytes.truncate(random.bounded(int(bytes.size())));
            CountryFile file;
            const auto result = file.load(folder.writeBytes("cty.dat", bytes));
            QVERIFY(result.entities <= limit);
            QCOMPARE(result.ok, result.entities > 0);
            for (const char* call : {"SP9ABC", "DL/SP9ABC", "SP9ABC/1", "4U1A", "TL2X", "A/B/C/1/2"})
                (void)file.find(QString::fromLatin1(call));
        }
    }

    void pathForProgramFolder_data() {
        QTest::addColumn<QString>("present");
        QTest::addColumn<bool>("ownCopy");
        QTest::newRow("own copy in the program folder") << "file" << true;
        QTest::newRow("no copy") << "" << false;
        QTest::newRow("a folder named cty.dat") << "folder" << false;
    }
    void pathForProgramFolder() {
        QFETCH(QString, present);
        QFETCH(bool, ownCopy);
        TempProgramFolder folder(false);
        if (present == "file")
            folder.writeBytes("cty.dat", "X: 1: 1: EU: 0: 0: 0: X:\n X;\n");
        else if (present == "folder")
            QVERIFY(QDir(folder.path()).mkdir("cty.dat"));
        QCOMPARE(CountryFile::pathFor(folder.path()), ownCopy ? folder.file("cty.dat") : kSystemFile);
    }
};

QTEST_GUILESS_MAIN(TestCountryFile)
#include "tst_contest_countryfile.moc"
