#include "entry/serialnumber.h"
#include "keyer/bufferediting.h"
#include "keyer/calibration.h"
#include "keyer/keyersetup.h"
#include "keyer/macroexpander.h"
#include "keyerfixture.h"
#include "scripteddialogs.h"
#include "settings/inifile.h"
#include "settings/programsettings.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTest>

namespace {

KeyerConfig lptConfig(bool ptt) {
    KeyerConfig c = KeyerFixture::directConfig(20);
    c.port = KeyingPort::Lpt;
    c.lptChoice = QStringLiteral("LPT1");
    c.ptt = ptt;
    return c;
}

// Virtual time that loses a stretch once, as a machine that stalls in the middle of a transmission does.
class StallingTime final : public KeyerTime {
public:
    StallingTime(qint64 stallAtMs, qint64 stallMs) : m_stallAt(stallAtMs), m_stall(stallMs) {}
    Nanoseconds now() const override { return m_now; }
    void sleepUntil(Nanoseconds deadline) override {
        m_now = std::max(m_now, deadline);
        if (!m_stalled && m_stall > 0 && m_now >= std::chrono::milliseconds(m_stallAt)) {
            m_stalled = true;
            m_now += std::chrono::milliseconds(m_stall);
        }
    }

private:
    qint64 m_stallAt;
    qint64 m_stall;
    bool m_stalled = false;
    Nanoseconds m_now{0};
};

// A keyer with its settings behind the configuration window, on virtual time.
struct SetupFixture {
    explicit SetupFixture(KeyerConfig c, qint64 stallAtMs = 0, qint64 stallMs = 0) : time(stallAtMs, stallMs) {
        engine.setConfig(c);
    }

    TempProgramFolder folder;
    ProgramSettings settings{folder.writeLines(QStringLiteral("kvr_log.ini"),
                                               {QStringLiteral("[Klucz CW]"), QStringLiteral("Predkosc=28")})};
    StallingTime time;
    RecordingPort port{time};
    KeyingInterface keying{&port, &port, &port};
    PlainKeyerEntry entry;
    MorseEngine engine{time, keying, entry};
    ScriptedDialogs dialogs;
    QList<ProcessPriority> priorities;
    bool priorityAllowed = true;
    KeyerSetup setup{engine, &port, time, dialogs, settings, [this](ProcessPriority p) {
                         priorities << p;
                         return priorityAllowed;
                     }};
};

} // namespace

class TestKeyerSetup : public QObject {
    Q_OBJECT
private slots:
    void dotsTestKeysUntilReleasedWithDotGaps() {
        KeyerFixture f(lptConfig(false));
        f.port.clear();
        f.time.at(500, [&] { f.engine.stopKeyingTest(); });
        f.engine.startKeyingTest(MorseEngine::KeyingTest::Dots);
        f.engine.waitForSender();
        QVERIFY(!f.engine.keyingTestRunning());
        const QList<qint64> times = f.lptTimes();
        QVERIFY(times.size() >= 8);
        QCOMPARE(times.mid(0, 8), (QList<qint64>{0, 60, 120, 180, 240, 300, 360, 420}));
        const QList<int> writes = f.port.lptWrites();
        QCOMPARE(writes.mid(0, 4), (QList<int>{1, 9, 1, 9}));
        QCOMPARE(writes.constLast(), 9);
    }

    void dashesTestWithPttHoldsPttAroundAndKeepsTheOldDashAfterARatioChange() {
        KeyerFixture f(lptConfig(true));
        ScriptedDialogs dialogs;
        ProgramSettings noFile{QString()};
        KeyerSetup setup(f.engine, &f.port, f.time, dialogs, noFile, {});
        // The new ratio waits for the next speed change or transmission.
        setup.update([](KeyerConfig& c) { c.dashRatio = 40; });
        f.port.clear();
        f.time.at(900, [&] { f.engine.stopKeyingTest(); });
        f.engine.startKeyingTest(MorseEngine::KeyingTest::Dashes);
        f.engine.waitForSender();
        const QList<int> writes = f.port.lptWrites();
        QCOMPARE(writes.mid(0, 3), (QList<int>{13, 5, 13}));
        QCOMPARE(writes.constLast(), 8);
        const QList<qint64> times = f.lptTimes();
        QCOMPARE(times.mid(0, 4), (QList<qint64>{0, 100, 280, 340})); // PTT delay, a 3.0 dash, a dot's gap
        setup.setSpeed(20);
        QCOMPARE(f.engine.timing().dashLength, 240);
    }

    void tuneHoldsTheKeyDownUntilReleased() {
        KeyerFixture f(lptConfig(false));
        f.port.clear();
        f.time.at(1000, [&] { f.engine.stopKeyingTest(); });
        f.engine.startKeyingTest(MorseEngine::KeyingTest::Tune);
        f.engine.waitForSender();
        const QList<int> writes = f.port.lptWrites();
        QCOMPARE(writes.constFirst(), 1);
        QCOMPARE(writes.constLast(), 8);
        const QList<qint64> times = f.lptTimes();
        QCOMPARE(times.constFirst(), 0);
        QVERIFY(times.at(1) >= 1000);
    }

    void aTransmissionEndsARunningKeyingTest() {
        KeyerFixture f(lptConfig(false));
        f.engine.startKeyingTest(MorseEngine::KeyingTest::Tune);
        f.engine.SendText(QStringLiteral("E"));
        QVERIFY(!f.engine.keyingTestRunning());
        QCOMPARE(f.timeline.filter(QStringLiteral("key")), QStringList{QStringLiteral("key 60")});
    }

    void calibrationMeasuresTheRunAndWritesTheFactor() {
        KeyerConfig c = lptConfig(false);
        c.speed = 28;
        c.sidetone = true;
        c.calibrationFactor = 1.2;
        SetupFixture plain(c);
        plain.setup.calibrate({}, {});
        const double ideal = plain.engine.config().calibrationFactor * 60.0;
        // On exact time: 20 × 46 dots of PARIS with its letter gaps, and 19 blanks of 3 dots, at 60 ms a dot.
        QCOMPARE(ideal, 58.62);

        SetupFixture slow(c, 30'000, 3'000);
        int hidden = 0, shown = 0;
        slow.setup.calibrate([&] { ++hidden; }, [&] { ++shown; });
        QCOMPARE(hidden, 1);
        QCOMPARE(shown, 1);
        const double seconds = ideal + 3.0;
        QCOMPARE(slow.engine.config().calibrationFactor, seconds / 60.0);
        QCOMPARE(IniFile(slow.folder.file(QStringLiteral("kvr_log.ini"))).value(SettingsKeys::Keyer::calibrationFactor),
                 seconds / 60.0);
        QCOMPARE(slow.dialogs.messages.size(), 2);
        QCOMPARE(slow.dialogs.messages.at(0).text, Calibration::introMessage());
        QCOMPARE(slow.dialogs.messages.at(1).title, QStringLiteral("Informacja"));
        QVERIFY(slow.dialogs.messages.at(1).text.contains(QLocale().toString(seconds, 'g', 12) + " sekund."));
        // The speed and the sidetone come back; the new factor times every element.
        QCOMPARE(slow.engine.speed(), 28);
        QCOMPARE(slow.engine.savedSpeed(), 28);
        QVERIFY(slow.keying.sidetoneOn());
        QCOMPARE(slow.engine.timing().dotLength, Morse::ComputeTiming(28, 30, 10, 30, seconds / 60.0).dotLength);
    }

    void calibrationCutShortByThePortKeepsTheFactor() {
        KeyerConfig c = lptConfig(false);
        c.calibrationFactor = 1.1;
        SetupFixture f(c);
        f.port.failAllWrites(true);
        f.setup.calibrate({}, {});
        QCOMPARE(f.engine.config().calibrationFactor, 1.1);
        QVERIFY(
            !IniFile(f.folder.file(QStringLiteral("kvr_log.ini"))).contains(SettingsKeys::Keyer::calibrationFactor));
        QCOMPARE(f.dialogs.messages.constLast().title, QStringLiteral("Błąd"));
        QCOMPARE(f.dialogs.messages.constLast().text, Calibration::failedMessage());
    }

    void portChoicesOpenReportAndSetTheRegister() {
        SetupFixture f(KeyerFixture::directConfig());
        f.port.setAvailablePorts({QStringLiteral("ttyS0")});
        QSignalSpy status(&f.setup, &KeyerSetup::portStatusChanged);

        f.setup.chooseSerialPort(QStringLiteral("ttyUSB7"));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Brak portu szeregowego ttyUSB7\nlub port jest zajęty !"));
        QCOMPARE(status.constLast().at(0).toString(), QStringLiteral("Port COM nieaktywny"));
        QVERIFY(!f.port.isOpen());

        f.setup.changeSerialPort(QStringLiteral("ttyS0"));
        QVERIFY(f.port.isOpen());
        QCOMPARE(status.constLast().at(0).toString(), QString());
        QCOMPARE(f.engine.config().comPort, QStringLiteral("ttyS0"));
        QCOMPARE(f.engine.keying().port(), KeyingPort::Com);

        f.setup.chooseNoPort();
        QCOMPARE(status.constLast().at(0).toString(), QStringLiteral("Brak ustawionych portów"));
        QCOMPARE(status.constLast().at(1).toString(), QStringLiteral("navy"));
        QCOMPARE(f.engine.keying().port(), KeyingPort::None);

        // "USER" asks until the address is hexadecimal.
        f.dialogs.inputAnswers = {QStringLiteral("3g0"), QStringLiteral("$2bc")};
        const LptSelection user = f.setup.chooseParallelPort(QStringLiteral("USER"));
        QCOMPARE(user.choice, QStringLiteral("USER"));
        QCOMPARE(f.engine.config().lptUserAddress, QStringLiteral("2BC"));
        QCOMPARE(f.engine.config().lptLabel(), QStringLiteral("Port LPT [$2BC]"));
        QCOMPARE(f.port.lptAddress(), 0x2BC + 2);
        QCOMPARE(f.port.lptWrites().constLast(), 8);
        QCOMPARE(f.dialogs.messages.constLast().title, QStringLiteral("Błąd"));

        // An empty answer falls back to LPT1.
        f.dialogs.inputAnswers = {QString()};
        QCOMPARE(f.setup.chooseParallelPort(QStringLiteral("USER")).choice, QStringLiteral("LPT1"));
        QCOMPARE(f.engine.config().lptChoice, QStringLiteral("LPT1"));
    }

    // The port held open is not offered by the system any more, but stays in the list.
    void thePortTheKeyerHoldsOpenStaysListed() {
        SetupFixture f(KeyerFixture::directConfig());
        f.port.setAvailablePorts({QStringLiteral("ttyUSB0"), QStringLiteral("ttyS0")});
        f.setup.chooseSerialPort(QStringLiteral("ttyUSB0"));
        QCOMPARE(f.port.enumerate(), QStringList{QStringLiteral("ttyS0")});
        QCOMPARE(f.setup.serialPorts(), (QStringList{QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")}));
    }

    void priorityMapsOnTheProcessAndARefusalIsTold() {
        SetupFixture f(KeyerFixture::directConfig());
        f.setup.setPriority(QStringLiteral("Bardzo wysoki"));
        f.setup.setPriority(QStringLiteral("Niski"));
        f.setup.setPriority(QStringLiteral("nieznany"), false);
        QCOMPARE(f.priorities,
                 (QList<ProcessPriority>{ProcessPriority::Realtime, ProcessPriority::Idle, ProcessPriority::Normal}));
        QCOMPARE(f.engine.config().priority, QString());
        QVERIFY(f.dialogs.messages.isEmpty());

        f.priorityAllowed = false;
        f.setup.setPriority(QStringLiteral("Wysoki"));
        QCOMPARE(f.engine.config().priority, QStringLiteral("Wysoki"));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.lastText(), KeyerSetup::priorityRefusedMessage(QStringLiteral("Wysoki")));
        // At start-up a refusal is not put to the operator.
        f.setup.setPriority(QStringLiteral("Wysoki"), false);
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

    void settingsChangesReachTheRunningKeyer() {
        SetupFixture f(lptConfig(false));
        QSignalSpy formats(&f.setup, &KeyerSetup::serialFormatChanged);
        QSignalSpy sidetone(&f.setup, &KeyerSetup::sidetoneChanged);
        f.setup.update([](KeyerConfig& c) { c.ptt = true; });
        f.setup.setSerialFormat(0);
        f.setup.setSidetone(true);
        f.setup.setSpeed(35);
        QVERIFY(f.engine.keying().pttOption());
        QCOMPARE(formats.constLast().at(0).toInt(), 0);
        QCOMPARE(sidetone.constLast().at(0).toBool(), true);
        QVERIFY(f.keying.sidetoneOn());
        QCOMPARE(f.engine.savedSpeed(), 35);
        const KeyerConfig c = f.setup.config();
        QCOMPARE(c.speed, 35);
        QCOMPARE(c.serialFormat, 0);
        QVERIFY(c.ptt);
        f.port.clear();
        f.engine.SendText(QStringLiteral("E"));
        QCOMPARE(f.port.lptWrites().constFirst(), 13); // PTT on before the first element
    }

    void serialFieldFollowsTheFormat_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("7 to 001") << "7" << 2 << "007";
        QTest::newRow("007 to 1") << "007" << 0 << "7";
        QTest::newRow("010 to 1 keeps the number") << "010" << 0 << "10";
        QTest::newRow("007 to 01") << "007" << 1 << "07";
        QTest::newRow("7 to 01") << "7" << 1 << "07";
        QTest::newRow("1234 to 01 untouched") << "1234" << 1 << "1234";
        QTest::newRow("0 stays 0") << "0" << 0 << "0";
        QTest::newRow("a fixed exchange is kept") << "KR" << 2 << "KR";
    }
    void serialFieldFollowsTheFormat() {
        QFETCH(QString, serial);
        QFETCH(int, format);
        QFETCH(QString, expected);
        QCOMPARE(SerialNumber::reformat(serial, SerialNumber::formatFromIndex(format)), expected);
    }

    void macroGoesOnlyWhereNoMacroIsOpen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("caretAfter");
        QTest::newRow("end of text") << "TU " << 3 << "TU <STX>" << 8;
        QTest::newRow("after a closed macro") << "<CALL> 5NN" << 6 << "<CALL><STX> 5NN" << 11;
        QTest::newRow("inside CA of CALL") << "<CALL> 5NN" << 3 << QString() << -1;
        QTest::newRow("after an unclosed <") << "TU <" << 4 << QString() << -1;
        QTest::newRow("right before <") << "<CALL>" << 0 << "<STX><CALL>" << 5;
    }
    void macroGoesOnlyWhereNoMacroIsOpen() {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, result);
        QFETCH(int, caretAfter);
        const auto inserted = BufferEditing::insertToken(text, caret, QStringLiteral("<STX>"));
        QCOMPARE(inserted.has_value(), !result.isNull());
        if (inserted) {
            QCOMPARE(inserted->text, result);
            QCOMPARE(inserted->caret, caretAfter);
        }
    }

    void everyOfferedMacroIsOneTheExpanderKnows() {
        const QStringList entries = BufferEditing::macroEntries();
        QCOMPARE(entries.size(), 27);
        QCOMPARE(BufferEditing::tokenOf(entries.constLast()), QStringLiteral("<+>"));
        QCOMPARE(entries.at(24), QStringLiteral("<F10>    - odwołanie do bufora F10"));
        PlainKeyerEntry entry;
        entry.call = QStringLiteral("SP1ABC");
        entry.contestCall = QStringLiteral("SP9KVR");
        entry.first = QStringLiteral("001");
        entry.received = QStringLiteral("KR");
        MessageBuffers buffers;
        for (const QString& e : entries) {
            const QString token = BufferEditing::tokenOf(e);
            // A token the expander did not know would be dropped without a trace and leave nothing else.
            const MacroExpansion x = ExpandMacros(token, entry, buffers, {});
            const bool leavesAMark = !x.text.isEmpty() || x.cutNumbers || x.bufferReferences > 0;
            QVERIFY2(leavesAMark || token == QLatin1String("<QSOB4>"), qPrintable(token));
        }
    }

    void captionsGiveTheBufferNumber() {
        for (int n = 1; n <= MessageBuffers::kCount; ++n)
            QCOMPARE(BufferEditing::bufferNumberFromCaption(MessageBuffers::editorCaption(n)), n);
        QCOMPARE(BufferEditing::bufferNumberFromCaption(QStringLiteral("Bufory")), 0);
        QCOMPARE(BufferEditing::bufferNumberFromCaption(QStringLiteral("Bufor F11")), 0);
    }

    void myCallWarningNamesTheWindow() {
        QCOMPARE(BufferEditing::myCallWarning(QStringLiteral("Nagłówek pliku Cabrillo")),
                 QStringLiteral("Makro <MYCALL> zastępowane jest znakiem \nużywanym podczas zawodów, podanym w oknie "
                                "\n\"Nagłówek pliku Cabrillo\". Aby to makro poprawnie\ndziałało, uzupełnij swoje "
                                "dane. "));
    }

    void aFileWithoutBuffersGetsTheContestSetAndKeepsItWhole() {
        TempProgramFolder folder;
        const QString path =
            folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Program]"), QStringLiteral("STX=5")});
        IniFile ini(path);
        MessageBuffers buffers;
        QCOMPARE(buffers.read(ini), MessageBuffers::Source::ContestSet);
        QCOMPARE(buffers.at(1).name, QStringLiteral("CQ"));
        QCOMPARE(buffers.at(2).text, QStringLiteral("<CALL> <RAPORT> <STX>"));
        QCOMPARE(buffers.at(10).name, QStringLiteral("F10"));
        // Saving one buffer into such a file writes all twelve, or the others would read back empty.
        MessageBuffer changed = buffers.at(3);
        changed.text = QStringLiteral("tu");
        buffers.set(3, changed);
        QVERIFY(bool(buffers.write(ini, 3)));
        IniFile again(path);
        MessageBuffers reread;
        QCOMPARE(reread.read(again), MessageBuffers::Source::Saved);
        QCOMPARE(reread.at(3).text, QStringLiteral("TU"));
        QCOMPARE(reread.at(1).text, QStringLiteral("CQ TEST <MYCALL> <MYCALL> TEST"));
        QCOMPARE(reread.at(12).text, QStringLiteral("TU <SAVEQSO>"));
    }

    void ratioTextsAndPriorityReading() {
        QCOMPARE(KeyerConfig::ratioText(30), QStringLiteral("3.0"));
        QCOMPARE(KeyerConfig::ratioText(5), QStringLiteral("0.5"));
        QCOMPARE(KeyerConfig::ratioText(17), QStringLiteral("1.7"));
        TempProgramFolder folder;
        IniFile ini(folder.writeLines(QStringLiteral("kvr_log.ini"),
                                      {QStringLiteral("[Program]"), QStringLiteral("Priorytet=Turbo")}));
        QCOMPARE(KeyerConfig::read(ini).priority, QString());
        KeyerConfig c;
        c.priority = QStringLiteral("Niski");
        c.write(ini);
        QCOMPARE(KeyerConfig::read(IniFile(ini.path())).priority, QStringLiteral("Niski"));
    }
};

QTEST_GUILESS_MAIN(TestKeyerSetup)
#include "tst_keyersetup.moc"
