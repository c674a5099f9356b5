#include "keyer/keyerconfig.h"
#include "keyer/keyerstartup.h"
#include "keyer/keyinginterface.h"
#include "keyer/messagebuffers.h"
#include "keyer/ports/lptaddress.h"
#include "keyer/ports/ppdevparallelport.h"
#include "recordingport.h"
#include "scripteddialogs.h"
#include "settings/inifile.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

#include <array>

namespace {
const QString kInvalid =
    QStringLiteral("Adres portu LPT zawiera niewłaściwe  znaki.\nDopuszczalne znaki to cyfry 0-9 oraz litery A-F.");
const QString kNoPort = QStringLiteral("Nie został wybrany żaden port LPT.\nZostanie ustawiony port LPT1.");
} // namespace

class TestKeyerPorts : public QObject {
    Q_OBJECT
private slots:
    void fixedLptChoices_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("base");
        QTest::addColumn<QString>("label");
        QTest::newRow("LPT1") << "LPT1" << 0x378 << "Port LPT [$378]";
        QTest::newRow("LPT2 is 3BC") << "LPT2" << 0x3BC << "Port LPT [$3BC]";
        QTest::newRow("LPT3 is 278") << "LPT3" << 0x278 << "Port LPT [$278]";
    }
    void fixedLptChoices() {
        QFETCH(QString, choice);
        QFETCH(int, base);
        QFETCH(QString, label);
        const LptSelection s = LptAddress::fixed(choice);
        QCOMPARE(s.base, base);
        QCOMPARE(s.label, label);
        KeyerConfig c;
        c.lptChoice = choice;
        QCOMPARE(c.lptBase(), base);
        QCOMPARE(c.lptLabel(), label);
    }

    void userAddressLowerCaseIsAccepted() {
        ScriptedDialogs dialogs;
        dialogs.inputAnswers.push_back(QStringLiteral(" 3bc "));
        const LptSelection s = LptAddress::askUser(dialogs, QStringLiteral("$378"));
        QCOMPARE(s.choice, QStringLiteral("USER"));
        QCOMPARE(s.base, 0x3BC);
        QCOMPARE(s.userAddress, QStringLiteral("3BC"));
        QCOMPARE(s.label, QStringLiteral("Port LPT [$3BC]"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void invalidUserAddressIsAskedAgain_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("too short") << "37";
        QTest::newRow("not hexadecimal") << "3G8";
        QTest::newRow("blank inside") << "3 8";
    }
    void invalidUserAddressIsAskedAgain() {
        QFETCH(QString, typed);
        ScriptedDialogs dialogs;
        dialogs.inputAnswers.push_back(typed);
        dialogs.inputAnswers.push_back(QStringLiteral("$278"));
        const LptSelection s = LptAddress::askUser(dialogs, QString());
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(dialogs.messages.first().text, kInvalid);
        QCOMPARE(s.base, 0x278);
        QCOMPARE(dialogs.inputPrompts.size(), 2);
    }

    void emptyAnswerFallsBackToLpt1() {
        ScriptedDialogs dialogs;
        dialogs.inputAnswers.push_back(QStringLiteral("  "));
        const LptSelection s = LptAddress::askUser(dialogs, QStringLiteral("3BC"));
        QCOMPARE(s.choice, QStringLiteral("LPT1"));
        QCOMPARE(s.base, 0x378);
        QCOMPARE(dialogs.messages.first().title, QStringLiteral("Informacja"));
        QCOMPARE(dialogs.messages.first().text, kNoPort);
    }

    void cancelKeepsTheCurrentAddressAndCannotLoop() {
        ScriptedDialogs dialogs; // every box is cancelled
        QCOMPARE(LptAddress::askUser(dialogs, QStringLiteral("$2F8")).base, 0x2F8);
        ScriptedDialogs again;
        again.inputAnswers.push_back(QStringLiteral("XYZ"));
        const LptSelection s = LptAddress::askUser(again, QString());
        QCOMPARE(s.choice, QStringLiteral("LPT1"));
        QCOMPARE(again.texts(), (QStringList{kInvalid, kNoPort}));
    }

    void parallelRegisterValues() {
        VirtualKeyerTime time;
        RecordingPort port(time);
        KeyingInterface keying(&port, &port, &port);
        KeyerConfig c;
        c.port = KeyingPort::Lpt;
        c.lptChoice = QStringLiteral("LPT3");
        c.ptt = true;
        keying.configure(c);
        QVERIFY(keying.lptChosen());
        QVERIFY(keying.pttOn());
        QVERIFY(keying.keyDown());
        QVERIFY(keying.keyUp());
        QVERIFY(keying.pttOff());
        QCOMPARE(port.lptWrites(), (QList<int>{8, 13, 5, 13, 8}));
        QCOMPARE(port.lptAddress(), 0x27A);
    }

    void pttOptionOffLeavesPttAlone() {
        VirtualKeyerTime time;
        RecordingPort port(time);
        KeyingInterface keying(&port, &port, &port);
        KeyerConfig c;
        c.port = KeyingPort::Lpt;
        keying.configure(c);
        QVERIFY(keying.pttOn());
        QVERIFY(port.lptWrites().isEmpty());
    }

    void ppdevDeviceFoundByBaseAddress() {
        TempProgramFolder folder(false);
        QDir root(folder.path());
        root.mkpath(QStringLiteral("proc/parport0"));
        root.mkpath(QStringLiteral("proc/parport1"));
        folder.writeBytes(QStringLiteral("proc/parport0/base-addr"), "632\t1656\n");
        folder.writeBytes(QStringLiteral("proc/parport1/base-addr"), "888\t1912\n");
        QCOMPARE(PpdevParallelPort::findDevice(0x378, folder.file(QStringLiteral("proc")), QStringLiteral("/dev")),
                 QStringLiteral("/dev/parport1"));
        QCOMPARE(PpdevParallelPort::findDevice(0x3BC, folder.file(QStringLiteral("proc")), QStringLiteral("/dev")),
                 QString());
        PpdevParallelPort missing(folder.file(QStringLiteral("proc")), folder.file(QStringLiteral("dev")));
        QVERIFY(!missing.out(0x37A, 8)); // no device node: the write reports failure
    }

    void configDefaultsAndRoundTrip() {
        TempProgramFolder folder;
        IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
        const KeyerConfig defaults = KeyerConfig::read(ini);
        QCOMPARE(defaults.speed, 30);
        QCOMPARE(defaults.toneHz, 800);
        QCOMPARE(defaults.volume, 20);
        QCOMPARE(defaults.pttDelayMs, 100);
        QVERIFY(defaults.multithreaded);
        QVERIFY(defaults.sidetone);
        QVERIFY(!defaults.keyingOnRts);
        QCOMPARE(defaults.port, KeyingPort::None);
        KeyerConfig c;
        c.port = KeyingPort::Lpt;
        c.lptChoice = QStringLiteral("USER");
        c.lptUserAddress = QStringLiteral("2F8");
        c.speed = 37;
        c.gapRatio = 12;
        c.ptt = true;
        c.calibrationFactor = 1.125;
        c.keyingOnRts = true;
        c.write(ini);
        IniFile reread(folder.file(QStringLiteral("kvr_log.ini")));
        const KeyerConfig r = KeyerConfig::read(reread);
        QCOMPARE(r.port, KeyingPort::Lpt);
        QCOMPARE(r.lptBase(), 0x2F8);
        QCOMPARE(r.speed, 37);
        QCOMPARE(r.gapRatio, 12);
        QVERIFY(r.ptt);
        QVERIFY(r.keyingOnRts);
        QCOMPARE(r.calibrationFactor, 1.125);
        QCOMPARE(reread.readString(QStringLiteral("Klucz CW"), QStringLiteral("Port"), {}), QStringLiteral("USER"));
        QCOMPARE(reread.readString(QStringLiteral("Klucz CW"), QStringLiteral("Opóźnienie PTT"), {}),
                 QStringLiteral("100"));
    }

    void outOfRangeSettingsAreClamped() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Klucz CW]"), QStringLiteral("Predkosc=99"),
                                                          QStringLiteral("Ton=1234"), QStringLiteral("Port=COM3")});
        IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
        const KeyerConfig c = KeyerConfig::read(ini);
        QCOMPARE(c.speed, 60);
        QCOMPARE(c.toneHz, 1000);
        QCOMPARE(c.port, KeyingPort::Com);
        QCOMPARE(c.comPort, QStringLiteral("COM3"));
    }

    void buffersReadDefaultsAndWriteKeys() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"),
                          {QStringLiteral("[Bufory]"), QStringLiteral("Bufor1-nazwa=CQ"),
                           QStringLiteral("Bufor1-tekst=cq test <MYCALL>"), QStringLiteral("Bufor11-nazwa="),
                           QStringLiteral("Bufor12-petla=1")});
        IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
        MessageBuffers buffers;
        buffers.read(ini);
        QCOMPARE(buffers.at(1).name, QStringLiteral("CQ"));
        QCOMPARE(buffers.at(1).text, QStringLiteral("CQ TEST <MYCALL>"));
        QCOMPARE(buffers.at(2).name, QStringLiteral("F2"));
        QCOMPARE(buffers.at(11).name, QStringLiteral("INS"));
        QCOMPARE(buffers.at(12).name, QStringLiteral("+"));
        QVERIFY(buffers.at(12).loop);
        QCOMPARE(MessageBuffers::editorCaption(11), QStringLiteral("Bufor INSERT"));
        QCOMPARE(MessageBuffers::editorCaption(12), QStringLiteral("Bufor +"));
        buffers.set(3, {QStringLiteral("TU"), QStringLiteral("tu\r\n<CALL>"), QStringLiteral("/tmp/tu.wav"), true});
        buffers.write(ini, 3);
        IniFile reread(folder.file(QStringLiteral("kvr_log.ini")));
        QCOMPARE(reread.readString(QStringLiteral("Bufory"), QStringLiteral("Bufor3-tekst"), {}),
                 QStringLiteral("TU<CALL>"));
        QCOMPARE(reread.readString(QStringLiteral("Bufory"), QStringLiteral("Bufor3-petla"), {}), QStringLiteral("1"));
    }

    void startUpOpensTheSavedPort() {
        VirtualKeyerTime time;
        RecordingPort port(time);
        KeyingInterface keying(&port, &port, &port);
        ScriptedDialogs dialogs;
        port.setAvailablePorts({QStringLiteral("COM2")});

        KeyerConfig none;
        const PortStatus noPorts = KeyerStartup::openPort(none, keying, &port, dialogs);
        QCOMPARE(noPorts.text, QStringLiteral("Brak ustawionych portów"));
        QCOMPARE(noPorts.colour, QStringLiteral("navy"));

        KeyerConfig missing;
        missing.port = KeyingPort::Com;
        missing.comPort = QStringLiteral("COM1");
        const PortStatus inactive = KeyerStartup::openPort(missing, keying, &port, dialogs);
        QCOMPARE(inactive.text, QStringLiteral("Port COM nieaktywny"));
        QCOMPARE(inactive.colour, QStringLiteral("red"));
        QCOMPARE(missing.port, KeyingPort::None);
        QVERIFY(dialogs.messages.isEmpty());

        KeyerConfig com;
        com.port = KeyingPort::Com;
        com.comPort = QStringLiteral("COM2");
        QVERIFY(KeyerStartup::openPort(com, keying, &port, dialogs).text.isEmpty());
        QVERIFY(port.isOpen());

        KeyerConfig lpt;
        lpt.port = KeyingPort::Lpt;
        QVERIFY(KeyerStartup::openPort(lpt, keying, &port, dialogs).text.isEmpty());
        QCOMPARE(port.lptWrites(), QList<int>{8});
    }

    void portSavedAsAPathIsOpenedWithoutBeingListed_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("status");
        QTest::addColumn<KeyingPort>("portAfter");
        QTest::addColumn<int>("messages");
        QTest::newRow("device path that opens")
            << QStringLiteral("/dev/serial/by-id/usb-keyer") << true << QString() << KeyingPort::Com << 0;
        QTest::newRow("device path that does not open")
            << QStringLiteral("/dev/ttyUSB7") << false << QStringLiteral("Port COM nieaktywny") << KeyingPort::Com << 1;
        QTest::newRow("unlisted name stays inactive without a message")
            << QStringLiteral("ttyUSB3") << true << QStringLiteral("Port COM nieaktywny") << KeyingPort::None << 0;
    }

    void portSavedAsAPathIsOpenedWithoutBeingListed() {
        QFETCH(QString, saved);
        QFETCH(bool, opens);
        QFETCH(QString, status);
        QFETCH(KeyingPort, portAfter);
        QFETCH(int, messages);
        VirtualKeyerTime time;
        RecordingPort port(time);
        KeyingInterface keying(&port, &port, &port);
        ScriptedDialogs dialogs;
        port.setAvailablePorts({QStringLiteral("ttyS0")});
        if (opens)
            port.setUnlistedPorts({saved});
        KeyerConfig config;
        config.port = KeyingPort::Com;
        config.comPort = saved;
        QCOMPARE(KeyerStartup::openPort(config, keying, &port, dialogs).text, status);
        QCOMPARE(config.port, portAfter);
        QCOMPARE(port.isOpen(), status.isEmpty());
        QCOMPARE(dialogs.messages.size(), messages);
    }

    // The window hears of an edge only once it is on the line: telling it costs a wake-up of its thread, which
    // would otherwise come between the deadline and the edge.
    void keyLampFollowsTheLine_data() {
        QTest::addColumn<bool>("onRts");
        QTest::addColumn<bool>("sidetone");
        QTest::newRow("DTR keying with sidetone") << false << true;
        QTest::newRow("RTS keying without sidetone") << true << false;
    }

    void keyLampFollowsTheLine() {
        QFETCH(bool, onRts);
        QFETCH(bool, sidetone);
        VirtualKeyerTime time;
        RecordingPort port(time);
        KeyingInterface keying(&port, &port, &port);
        KeyerConfig config;
        config.port = KeyingPort::Com;
        config.comPort = QStringLiteral("COM1");
        config.keyingOnRts = onRts;
        config.sidetone = sidetone;
        QVERIFY(port.open(config.comPort).ok);
        keying.configure(config);
        QList<std::array<bool, 3>> seen; // lamp, line, tone at each lamp change
        keying.keyLedChanged = [&](bool lit) {
            seen.append({lit, onRts ? port.rts() : port.dtr(), port.toneSounding()});
        };
        QVERIFY(keying.keyDown());
        QVERIFY(keying.keyUp());
        const QList<std::array<bool, 3>> expected{{true, true, sidetone}, {false, false, false}};
        QCOMPARE(seen, expected);
    }

    void reopenReportsAMissingPort() {
        VirtualKeyerTime time;
        RecordingPort port(time);
        ScriptedDialogs dialogs;
        port.setAvailablePorts({});
        const PortStatus s = KeyerStartup::reopenSerial(QStringLiteral("COM7"), port, dialogs, time);
        QCOMPARE(time.nowMs(), 50);
        QCOMPARE(s.text, QStringLiteral("Port COM nieaktywny"));
        QCOMPARE(dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(dialogs.messages.first().text, QStringLiteral("Brak portu szeregowego COM7\nlub port jest zajęty !"));
    }
};

QTEST_GUILESS_MAIN(TestKeyerPorts)
#include "tst_keyerports.moc"
