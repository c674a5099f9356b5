#include "analysis/operatordata.h"
#include "entry/entryoptions.h"
#include "entry/startupoptions.h"
#include "interchange/cabrilloexport.h"
#include "interchange/ediexport.h"
#include "keyer/keyerconfig.h"
#include "keyer/messagebuffers.h"
#include "log/analysishandlers.h"
#include "lookup/listwindowsettings.h"
#include "rig/rigsettings.h"
#include "settings/inifile.h"
#include "settings/windowsettings.h"
#include "testsupport.h"

#include <QTest>

namespace {

// Everything the options structs keep, written in one go; older files of users are read with these keys.
void writeEverything(IniFile& ini,
                     const EntryOptions& entry,
                     const AnalysisOptions& analysis,
                     const KeyerConfig& keyer,
                     const MessageBuffers& buffers,
                     const OperatorData& op,
                     const CabrilloSettings& cabrillo,
                     const Edi::Settings& edi,
                     const ListWindowSettings& suggestions,
                     const ListWindowSettings& cwList,
                     const WindowSettings& logWindow,
                     const WindowSettings& counties,
                     const RigSettings& rig) {
    IniFile::Batch batch(ini);
    entry.write(ini);
    AnalysisHandlers::writeSettings(ini, analysis);
    keyer.write(ini);
    for (int n = 1; n <= MessageBuffers::kCount; ++n)
        buffers.write(ini, n);
    op.write(ini);
    cabrillo.write(ini);
    edi.writeHeader(ini);
    edi.writeBands(ini);
    suggestions.write(ini, SettingsKeys::WindowSection::CallSuggestions);
    cwList.write(ini, SettingsKeys::WindowSection::CwList);
    logWindow.write(ini, SettingsKeys::WindowSection::Log);
    counties.write(ini, SettingsKeys::WindowSection::WorkedCounties);
    rig.write(ini);
}

// Reads every struct from one file and writes them into another, as a session from start to close does.
QByteArray readAndWriteBack(const QString& from, const QString& to) {
    const IniFile in(from);
    MessageBuffers buffers;
    buffers.read(in);
    ListWindowSettings suggestions;
    suggestions.read(in, SettingsKeys::WindowSection::CallSuggestions);
    ListWindowSettings cwList;
    cwList.hasWidth = false;
    cwList.hasFontColour = false;
    cwList.read(in, SettingsKeys::WindowSection::CwList);
    IniFile out(to);
    writeEverything(out, EntryOptions::read(in), StartupOptions::readAnalysis(in, QStringLiteral("JO91RU"), {}),
                    KeyerConfig::read(in), buffers, OperatorData::read(in), CabrilloSettings::read(in, QString()),
                    Edi::Settings::read(in, Edi::Settings()), suggestions, cwList,
                    WindowSettings::read(in, SettingsKeys::WindowSection::Log, {false, false}),
                    WindowSettings::read(in, SettingsKeys::WindowSection::WorkedCounties, {}), RigSettings::read(in));
    return fileBytes(to);
}

} // namespace

// The settings file keeps its keys, sections, value formats and order of writes from one version to the next:
// users carry their kvr_log.ini over, and its keys are what they know from the older program.
class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void everyOptionWritesItsKnownLine() {
        const EntryOptions entry{.autoIncrement = false,
                                 .stx = QStringLiteral("017"),
                                 .stxFixed = QStringLiteral("KN09AB"),
                                 .withoutExchange = true,
                                 .oneQsoPerBand = true,
                                 .warcBands = true,
                                 .digitalModes = true,
                                 .band = QStringLiteral("17M"),
                                 .mode = QStringLiteral("PSK31"),
                                 .separateVhfSerials = true,
                                 .manualUtc = true,
                                 .utcOffsetHours = -5};
        const AnalysisOptions analysis{true, AnalysisMode::Locator, 3, true};
        KeyerConfig keyer;
        keyer.port = KeyingPort::Lpt;
        keyer.lptChoice = QStringLiteral("USER");
        keyer.lptUserAddress = QStringLiteral("2F8");
        keyer.keyingOnRts = keyer.ptt = keyer.mapDownAsInsert = keyer.mapUpAsPlus = true;
        keyer.sidetone = keyer.cutNumbers = keyer.multithreaded = keyer.extraGap = false;
        keyer.speed = 42;
        keyer.priority = QStringLiteral("Wysoki");
        keyer.toneHz = 650;
        keyer.volume = 35;
        keyer.dashRatio = 33;
        keyer.gapRatio = 12;
        keyer.longGapRatio = 40;
        keyer.loopDelaySeconds = 7;
        keyer.pttDelayMs = 250;
        keyer.serialFormat = 0;
        keyer.calibrationFactor = 1.025;
        keyer.kind = KeyerKind::Cwdaemon;
        keyer.winkeyerPort = QStringLiteral("/dev/ttyUSB2");
        keyer.winkeyerSpeedPot = true;
        keyer.cwdaemonAddress = QStringLiteral("shack.local:6790");
        MessageBuffers buffers;
        buffers.set(1, {QStringLiteral("CQ"), QStringLiteral("cq test sp9abc"), QString(), true});
        buffers.set(12, {QString(), QStringLiteral("TU"), QStringLiteral("C:\\wav\\tu.wav"), false});
        const OperatorData op{
            QStringLiteral("SP9ABC"),      QStringLiteral("Jan Żółć"), QStringLiteral("jan@example.pl"),
            QStringLiteral("ul. Długa 1"), QStringLiteral("m. 2"),     QStringLiteral("Łódź"),
            QStringLiteral("90-001"),      QStringLiteral("JO91RU"),   QStringLiteral("SP9XYZ")};
        CabrilloSettings cabrillo;
        cabrillo.version3 = true;
        cabrillo.assisted = 0;
        cabrillo.contest = 5;
        cabrillo.categoryOperator = 2;
        cabrillo.transmitter = 3;
        cabrillo.band = 4;
        cabrillo.mode = 1;
        cabrillo.power = 7;
        cabrillo.time = 8;
        cabrillo.station = 6;
        cabrillo.overlay = 9;
        cabrillo.operators = QStringLiteral("SP9ABC SP9XYZ");
        cabrillo.domesticContest = QStringLiteral("SP DX");
        cabrillo.club = QStringLiteral("Klub Łódź");
        cabrillo.remarks = QStringList{QStringLiteral("Uwaga 1"), QStringLiteral("Uwaga 2")};
        cabrillo.category = QStringLiteral("SO");
        Edi::Settings edi;
        edi.TName = QStringLiteral("Zawody UKF");
        edi.PExch = QStringLiteral("001");
        edi.PSect = QStringLiteral("SO");
        edi.MOpe2 = QStringLiteral("SP9XYZ");
        for (int band = 0; band < Edi::kBandCount; ++band) {
            Edi::BandSettings& b = edi.bands[size_t(band)];
            b.txEquipment = QStringLiteral("TX") + QString::number(band);
            b.antennaHeight = QString::number(10 + band);
            b.multiplier = band + 2;
            b.bonus = 100 * band;
            b.remarks = QStringList{QStringLiteral("a"), QStringLiteral("b")}.mid(0, band);
        }
        edi.squaresMultiply = true;
        ListWindowSettings suggestions{10, 20, 300, 400, {QStringLiteral("Courier New"), 12, 255, 238, true, true}};
        ListWindowSettings cwList{-5,      6, 0, 700, {QStringLiteral("Arial"), 9, 0, 1, false, false, true, true},
                                  0xC0C0C0};
        cwList.hasWidth = false;
        cwList.hasFontColour = false;
        WindowSettings logWindow;
        logWindow.x = 1;
        logWindow.y = 2;
        logWindow.height = 480;
        logWindow.background = -16777201;
        WindowSettings counties;
        counties.x = 3;
        counties.y = 4;
        counties.width = 200;
        counties.height = 100;
        counties.font = FontSpec{QStringLiteral("Tahoma"), 8, 128, 0, false, true, false, false};
        counties.background = 0xFFFF;

        const RigSettings rig{RigSettings::Connection::Rigctld,
                              1035,
                              QStringLiteral("/dev/ttyUSB1"),
                              38400,
                              QStringLiteral("radio.local:4533"),
                              250,
                              true,
                              true};

        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("kvr_log.ini"));
        IniFile ini(path);
        writeEverything(ini, entry, analysis, keyer, buffers, op, cabrillo, edi, suggestions, cwList, logWindow,
                        counties, rig);
        QCOMPARE(fileBytes(path), fileBytes(testDataFile(QStringLiteral("settings_every_key_set.ini"))));
        // Every key is read from where it was written.
        QCOMPARE(readAndWriteBack(path, folder.file(QStringLiteral("again.ini"))), fileBytes(path));
    }

    void missingKeysGiveTheDesignValues() {
        TempProgramFolder folder;
        // The file exists: readers that skip a missing file read every key.
        const QString empty = folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Inna]\r\nKlucz=1\r\n");
        QCOMPARE(readAndWriteBack(empty, folder.file(QStringLiteral("written.ini"))),
                 fileBytes(testDataFile(QStringLiteral("settings_every_key_default.ini"))));
    }

    void savedPositionsComeBackOnAScreen_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("placed");
        QTest::newRow("where it was") << QRect(100, 80, 400, 300) << QPoint(100, 80);
        QTest::newRow("a pixel past the left edge stays") << QRect(-1, 0, 400, 300) << QPoint(-1, 0);
        QTest::newRow("partly off the right edge stays") << QRect(1200, 100, 400, 300) << QPoint(1200, 100);
        QTest::newRow("title bar above the top") << QRect(-2, -40, 400, 300) << QPoint(0, 0);
        QTest::newRow("far off to the right") << QRect(5000, 100, 400, 300) << QPoint(2800, 100);
        QTest::newRow("below the screens") << QRect(100, 2000, 400, 300) << QPoint(100, 500);
        QTest::newRow("on the second screen") << QRect(1500, 100, 400, 300) << QPoint(1500, 100);
        QTest::newRow("below the second screen") << QRect(1500, 1500, 400, 300) << QPoint(1500, 780);
        QTest::newRow("larger than the screen") << QRect(-500, -500, 3000, 2000) << QPoint(0, 0);
    }
    void savedPositionsComeBackOnAScreen() {
        QFETCH(QRect, frame);
        QFETCH(QPoint, placed);
        // A 1280x800 screen and a 1920x1080 one to its right.
        const QList<QRect> screens = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1920, 1080)};
        QCOMPARE(pulledOnScreen(frame, screens), placed);
        QCOMPARE(pulledOnScreen(frame, {}), frame.topLeft());
    }

    void firstLayoutKeepsEveryWindowFreeAndOnTheScreen_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QSize>("entry");
        QTest::addColumn<bool>("roomForAll");    // every window fits without covering another
        QTest::addColumn<bool>("titlesInSight"); // else the start of every title bar is still seen
        // The entry window with and without its buffer bar, on a usual desktop and on a small laptop screen.
        QTest::newRow("wide entry window, 1280x800") << QRect(0, 0, 1280, 800) << QSize(1004, 377) << false << true;
        QTest::newRow("narrow entry window, 1280x800") << QRect(0, 0, 1280, 800) << QSize(472, 300) << false << true;
        QTest::newRow("wide entry window, full HD with a top panel")
            << QRect(0, 28, 1920, 1052) << QSize(1004, 377) << true << true;
        // Too small for all seven: the counties window, squeezed in below the log, is partly hidden by the lists.
        QTest::newRow("wide entry window, 1024x768") << QRect(0, 0, 1024, 768) << QSize(1004, 377) << false << false;
    }
    void firstLayoutKeepsEveryWindowFreeAndOnTheScreen() {
        QFETCH(QRect, screen);
        QFETCH(QSize, entry);
        QFETCH(bool, roomForAll);
        QFETCH(bool, titlesInSight);
        const QRect entryFrame(screen.topLeft(), entry);
        // The log, the suggestions, the logged calls, the counties and the three worked-calls lists.
        const QList<QSize> sizes = {{662, 304}, {320, 160}, {260, 200}, {260, 300}, {650, 301}, {650, 301}, {650, 301}};
        const QList<QRect> frames = layoutBesideEntryWindow(entryFrame, sizes, screen);
        QCOMPARE(frames.size(), sizes.size());
        QCOMPARE(frames.first(), QRect(QPoint(screen.left(), screen.top() + entry.height() + 8), sizes.first()));
        for (qsizetype i = 0; i < frames.size(); ++i) {
            const QString which = QString::number(i);
            QVERIFY2(!frames[i].intersects(entryFrame), qPrintable(which));
            QVERIFY2(screen.contains(frames[i]), qPrintable(which));
            QVERIFY2(frames[i].width() == sizes[i].width() && frames[i].height() <= sizes[i].height(),
                     qPrintable(which));
            for (qsizetype j = 0; j < i; ++j) {
                // The log, the suggestions, the logged calls and the counties always find room of their own; where
                // the rest must overlap, the one shown later leaves the left end of the other's title bar in sight
                // (and the headers of the first four).
                const QRect titleJ(frames[j].topLeft(), QSize(150, j < 4 ? 60 : 30));
                QVERIFY2(roomForAll || (i < 4 && j < 4) ? !frames[i].intersects(frames[j])
                                                        : !titlesInSight || !frames[i].intersects(titleJ),
                         qPrintable(which + QLatin1Char('/') + QString::number(j)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
