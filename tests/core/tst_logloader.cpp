#include "analysis/countylist.h"
#include "core/qsoline.h"
#include "log/logbook.h"
#include "log/logloader.h"
#include "scripteddialogs.h"
#include "testqso.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

namespace {

struct Fixture {
    TempProgramFolder folder;
    CountyList counties;
    LogBook log;
    LogContext context;

    explicit Fixture(AnalysisMode mode = AnalysisMode::County, bool analysis = false) {
        context.analysis.options.enabled = analysis;
        context.analysis.options.mode = mode;
        context.analysis.counties = &counties;
        context.analysis.ownLocator = QStringLiteral("JO91RU");
        context.analysis.currentBand = Band::fromName(u"80M");
        context.analysis.currentMode = Mode::fromName(u"CW");
        counties.LoadCountyList(folder.file(QStringLiteral("powiaty.txt")), mode);
    }
    LoadResult load(const QStringList& lines) {
        log.setPath(folder.writeLines(QStringLiteral("log.kvr"), lines));
        return LoadLog(log, context);
    }
    QStringList dupeLines() const {
        QStringList dupes;
        for (const QString& line : log.lineTexts()) {
            if (QsoLine::isDupe(line))
                dupes.append(line);
        }
        return dupes;
    }
};

} // namespace

class TestLogLoader : public QObject {
    Q_OBJECT

private slots:
    void onlyEmptyLinesGiveAnEmptyLog() {
        Fixture f;
        const LoadResult result = f.load({QString(), QString(), QString()});
        QVERIFY(result.complete());
        QCOMPARE(f.log.size(), 0);
    }

    void missingFileLeavesTheLogAsItWas() {
        Fixture f;
        f.load({TestQso().time("10:00:00").call("SP9ABC").srx("001")});
        f.log.setPath(f.folder.file(QStringLiteral("gone.kvr")));
        QCOMPARE(LoadLog(f.log, f.context).status, LoadResult::Status::Missing);
        QCOMPARE(f.log.size(), 1);
    }

    void secondQsoWithTheSameKeyIsTheDupe() {
        Fixture f;
        f.load({TestQso().time("10:05:00").call("SP9ABC").srx("002"),
                TestQso().time("10:00:00").call("SP9ABC").srx("001"),
                TestQso().time("10:10:00").mode("PH").rst("59").call("SP9ABC").srx("003"),
                TestQso().time("10:20:00").band("40M").call("SP9ABC").srx("004")});
        QCOMPARE(f.log.size(), 4);
        // The first line of the file holds the key; the later one in the file is marked, whatever its time.
        QCOMPARE(f.dupeLines().size(), 1);
        QVERIFY(f.dupeLines().first().startsWith(QStringLiteral("2024-06-01 100000")));
        QCOMPARE(f.dupeLines().first().size(), 78);
        QVERIFY(f.log.line(0).startsWith(QStringLiteral("2024-06-01 100000")));
        QCOMPARE(f.log.cwCount(), 3);
        QCOMPARE(f.log.phoneCount(), 1);
    }

    void oneQsoPerBandMarksOtherModesToo() {
        Fixture f;
        f.context.oneQsoPerBand = true;
        f.load({TestQso().time("10:00:00").call("SP9ABC").srx("001"),
                TestQso().time("10:10:00").mode("PH").rst("59").call("SP9ABC").srx("003")});
        QCOMPARE(f.dupeLines().size(), 1);
        QVERIFY(f.dupeLines().first().contains(QStringLiteral(" PH ")));
    }

    void staleDupeMarksAreRecomputed() {
        Fixture f;
        f.load({TestQso().time("10:00:00").call("SP9ABC").srx("001").suffix("DUPE"),
                TestQso().time("10:10:00").mode("PH").rst("59").call("SP9ABC").srx("003").suffix("DUPE")});
        QVERIFY(f.dupeLines().isEmpty());
        QCOMPARE(f.log.line(0).size(), 74);
    }

    void warcAndDigitalQsosKeepTheirOwnKeys() {
        Fixture f;
        f.load({TestQso().time("10:00:00").band("30M").mode("RY").rst("59").call("SP9ABC").srx("1"),
                TestQso().time("10:01:00").band("30M").mode("PS").rst("59").call("SP9ABC").srx("2"),
                TestQso().time("10:02:00").band("17M").mode("RY").rst("59").call("SP9ABC").srx("3"),
                TestQso().time("10:03:00").band("30M").mode("RY").rst("59").call("SP9ABC").srx("4")});
        QCOMPARE(f.dupeLines().size(), 1);
        QVERIFY(f.dupeLines().first().startsWith(QStringLiteral("2024-06-01 100300")));
    }

    void lineWithoutTrailingBlanksStillGetsADetectableDupeMark() {
        Fixture f;
        const QString line = TestQso().time("10:00:00").call("SP9ABC").srx("001");
        f.load({line.trimmed(), line.trimmed()});
        QCOMPARE(f.dupeLines().size(), 1);
        QCOMPARE(f.dupeLines().first().mid(73), QStringLiteral(" DUPE"));
    }

    void vhfSerialsFollowTheHighestSerialBeforeTheLocator() {
        Fixture f;
        f.load({TestQso().time("10:00:00").band("2M").call("SP1A").stx("017 KO02MD").srx("KO02MD"),
                TestQso().time("10:01:00").band("2M").call("SP1B").stx("009 KO02MD").srx("KO02MD"),
                TestQso().time("10:02:00").band("70CM").call("SP1C").stx("ABC KO02MD").srx("KO02MD"),
                TestQso().time("10:03:00").band("6M").call("SP1D").stx("044").srx("KO02MD"),
                TestQso().time("10:04:00").call("SP1E").stx("099 KO02MD").srx("KO02MD")});
        QCOMPARE(f.log.vhfSerials(), (std::array<int, 4>{1, 18, 1, 1}));
    }

    void badBandStopsTheLoadWithTheFormatError_data() {
        QTest::addColumn<QString>("bad");
        QTest::newRow("letters in the band") << TestQso().time("10:01:00").band("XYZ").call("SP9XX").srx("1").line();
        QTest::newRow("number outside the table")
            << TestQso().time("10:01:00").band("99M").call("SP9XX").srx("1").line();
        QTest::newRow("line shorter than the band") << QStringLiteral("2024-06-01 1001");
    }
    void badBandStopsTheLoadWithTheFormatError() {
        QFETCH(QString, bad);
        Fixture f;
        const LoadResult result = f.load({TestQso().time("10:00:00").call("SP9ABC").srx("001"), bad,
                                          TestQso().time("10:02:00").call("SP9DEF").srx("002")});
        QCOMPARE(result.status, LoadResult::Status::FormatError);
        QCOMPARE(f.log.size(), 1);
        const QString expected =
            QStringLiteral("Wybrany plik ma niewłaściwy format i prawdopodobnie nie\njest logiem wygenerowanym "
                           "przez program KVR_Log  !\nBłąd został znaleziony w linii:\n") +
            bad.left(74) + QStringLiteral("\n\nWczytywanie zostało przerwane.");
        QCOMPARE(result.message, expected);
        ScriptedDialogs dialogs;
        reportLoadFailure(result, dialogs);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(dialogs.messages.first().icon, MessageIcon::Error);
    }

    // Every writer ends a contact with a line break. A last line that has none and is shorter than a contact
    // was cut while it was being written; a short line elsewhere is one whose trailing blanks an editor took.
    void lastLineCutWhileWrittenIsReported_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<bool>("reported");
        const QByteArray whole = TestQso().time("10:02:00").call("SP9DEF").srx("002").line().toLatin1();
        QTest::newRow("cut one character short") << whole.left(73) << true;
        QTest::newRow("cut inside the date") << whole.left(7) << true;
        QTest::newRow("whole contact without a line break") << whole << false;
        QTest::newRow("contact with its suffix, no line break") << whole + "DUPE" << false;
        QTest::newRow("short last line with its line break") << whole.left(62) + "\n" << false;
        QTest::newRow("cut line followed by an empty line") << whole.left(62) + "\r\n\r\n" << false;
    }
    void lastLineCutWhileWrittenIsReported() {
        QFETCH(QByteArray, tail);
        QFETCH(bool, reported);
        Fixture f;
        // A short line in the middle stays what it always was: a contact.
        const QByteArray head = TestQso().time("10:00:00").call("SP9AAA").line().trimmed().toLatin1() + "\r\n";
        f.log.setPath(f.folder.writeBytes(QStringLiteral("log.kvr"), head + tail));
        const LoadResult result = LoadLog(f.log, f.context);
        QCOMPARE(f.log.size(), reported ? 1 : 2);
        QCOMPARE(result.complete(), !reported);
        if (reported)
            QCOMPARE(result.message,
                     QStringLiteral("Ostatnia linia logu jest niepełna: ma tylko %1 z 74 znaków łączności i nie kończy "
                                    "się znakiem końca linii,\nwięc jej zapis został prawdopodobnie przerwany.\n"
                                    "Niepełna linia:\n%2\n\nWczytywanie zostało przerwane na tej linii.")
                         .arg(tail.size())
                         .arg(QString::fromLatin1(tail)));
    }

    void garbageNeverCrashes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char((i * 7919) % 256));
        QTest::newRow("binary") << binary;
        QTest::newRow("NUL bytes") << QByteArray(300, '\0');
        QTest::newRow("10 MB line") << QByteArray(10 << 20, 'x');
        QTest::newRow("undefined code page bytes") << QByteArray("\x81\x83\x88\x90\x98\r\n");
    }
    void garbageNeverCrashes() {
        QFETCH(QByteArray, bytes);
        Fixture f(AnalysisMode::Locator, true);
        f.log.setPath(f.folder.writeBytes(QStringLiteral("junk.kvr"), bytes));
        const LoadResult result = LoadLog(f.log, f.context);
        QCOMPARE(result.status, LoadResult::Status::FormatError);
        QVERIFY(result.badLine.size() <= 74);
    }

    void unreadableLogIsReportedWithItsPath() {
        Fixture f;
        f.log.setPath(f.folder.path());
        const LoadResult result = LoadLog(f.log, f.context);
        QCOMPARE(result.status, LoadResult::Status::ReadError);
        QVERIFY(result.message.contains(f.folder.path()));
    }

    void countsDoNotWrapAt65535() {
        Fixture f;
        QStringList lines;
        const QString line = TestQso().time("10:00:00").mode("PH").rst("59").call("SP9ABC").srx("001");
        for (int i = 0; i < 70000; ++i)
            lines.append(line);
        f.load(lines);
        QCOMPARE(f.log.phoneCount(), 70000);
    }

    void countyModeSuffixesAndLogsCountiesOfTheCurrentBandAndMode() {
        Fixture f(AnalysisMode::County, true);
        f.load({TestQso().time("10:00:00").band("80M").call("SP1A").srx("001GW"),
                TestQso().time("10:01:00").band("80M").mode("PH").rst("59").call("SP1B").srx("kd"),
                TestQso().time("10:02:00").band("40M").call("SP1C").srx("AQ"),
                TestQso().time("10:03:00").band("80M").call("SP1A").srx("002GW"),
                TestQso().time("10:04:00").band("80M").call("SP1D").srx("XX")});
        QCOMPARE(f.log.line(0).mid(74), QStringLiteral(" GW"));
        QCOMPARE(f.log.line(1).mid(74), QStringLiteral(" KD"));
        QCOMPARE(f.log.line(3).mid(74), QStringLiteral("DUPE"));
        QCOMPARE(f.log.line(4).size(), 74);
        QCOMPARE(f.log.loggedCountyList(), QStringList{QStringLiteral("GW")});
        QCOMPARE(f.log.workedCalls().infoFor(u"SP1A"), QStringLiteral("SP1A;_GW;"));
        QCOMPARE(f.log.workedCalls().infoFor(u"SP1D"), QStringLiteral("SP1D;;"));

        f.context.analysis.options.countiesAllModes = true;
        f.load(f.log.lineTexts());
        QCOMPARE(f.log.loggedCountyList(), (QStringList{QStringLiteral("GW"), QStringLiteral("KD")}));
    }

    void provinceModeNeedsTheProvinceLetter() {
        Fixture f(AnalysisMode::ProvinceCounty, true);
        f.load({TestQso().time("10:00:00").band("80M").call("SP1A").srx("BGW"),
                TestQso().time("10:01:00").band("80M").call("SP1B").srx("GW")});
        QCOMPARE(f.log.loggedCountyList(), QStringList{QStringLiteral("BGW")});
        QCOMPARE(f.log.workedCalls().infoFor(u"SP1A"), QStringLiteral("SP1A;BGW;"));
    }

    void locatorModeCreditsDistancesAndTheSameLocatorDistance() {
        Fixture f(AnalysisMode::Locator, true);
        f.context.analysis.options.sameLocatorKm = 3;
        f.load({TestQso().time("10:00:00").band("2M").call("SP1A").srx("KO02AA"),
                TestQso().time("10:01:00").band("2M").call("SP1B").srx("001JO91RU"),
                TestQso().time("10:02:00").band("2M").call("SP1A").srx("KO02AA"),
                TestQso().time("10:03:00").band("2M").call("SP1C").srx("KO02A")});
        QCOMPARE(f.log.line(0).mid(74), QStringLiteral("  45"));
        QCOMPARE(f.log.line(1).mid(74), QStringLiteral("   3"));
        QCOMPARE(f.log.line(2).mid(74), QStringLiteral("DUPE"));
        QCOMPARE(f.log.line(3).size(), 74);
        QCOMPARE(f.log.odxTotal(), 48);
        QCOMPARE(f.log.workedCalls().infoFor(u"SP1A"), QStringLiteral("SP1A;;KO02AA"));
    }

    void workedCallsSurviveAReload() {
        Fixture f;
        f.load({TestQso().time("10:00:00").call("SP9ABC").srx("001")});
        f.load({TestQso().time("10:00:00").call("SP9DEF").srx("001")});
        QCOMPARE(f.log.workedCalls().calls(), (QStringList{QStringLiteral("SP9ABC"), QStringLiteral("SP9DEF")}));
        QCOMPARE(f.log.workedKeyCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestLogLoader)
#include "tst_logloader.moc"
