#include "fakecwdaemon.h"
#include "rigctldprocess.h"
#include "testqso.h"
#include "testsupport.h"
#include "winkeyeremulator.h"

#include "keyer/winkeyerprotocol.h"

#include <QProcess>
#include <QTest>

#include <csignal>

namespace {

// A settings file from "[Section]" and "key=value" lines; @PORT@ and @ADDRESS@ name the device under test.
QByteArray settingsText(QString lines, const QString& device) {
    lines.replace(QLatin1String("@PORT@"), device).replace(QLatin1String("@ADDRESS@"), device);
    return lines.replace(u'|', QLatin1String("\r\n")).toUtf8();
}

QByteArray speedCommand(int wpm) {
    return QByteArray(1, char(Winkeyer::SetSpeed)) + char(wpm);
}

} // namespace

// kvrlog-cli send keys through the real Winkeyer and cwdaemon code, against the emulator and the fake daemon.
class TestCliSend : public QObject {
    Q_OBJECT
private slots:
    void winkeyerKeysTheExpandedTextAtTheSpeed_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("wpm");
        const QStringList winkeyer = {"--keyer", "winkeyer", "--port", "@PORT@"};
        const QStringList empty;
        QTest::newRow("own callsign from the operator data")
            << "[Operator]|Uzywany znak=SP5KVR" << winkeyer + QStringList{"--wpm", "25", "CQ <MYCALL> TEST"} << empty
            << QByteArray("CQ SP5KVR TEST") << 25;
        QTest::newRow("saved serial with cut numbers and the fixed part")
            << "[Program]|STX=109|Grupa=KR|[Klucz CW]|Predkosc=22" << winkeyer + QStringList{"5NN<STX>"} << empty
            << QByteArray("5NN 1TN KR") << 22;
        QTest::newRow("serial after the newest contact of the log")
            << "[Klucz CW]|Cyfry=0" << winkeyer + QStringList{"<STX1>"}
            << QStringList{TestQso().call("SP9ABC").stx("009")} << QByteArray(" 010") << 30;
        QTest::newRow("callsign empty although the log has contacts")
            << "" << winkeyer + QStringList{"TU<CALL>", "QRZ"} << QStringList{TestQso().call("SP9ABC").stx("001")}
            << QByteArray("TU QRZ") << 30;
        QTest::newRow("buffer reference") << "[Bufory]|Bufor2-tekst=TEST" << winkeyer + QStringList{"CQ <F2>"} << empty
                                          << QByteArray("CQ  TEST") << 30;
        QTest::newRow("keyed in CW although the saved mode is SSB")
            << "[Program]|Emisja=SSB" << winkeyer + QStringList{"TEST"} << empty << QByteArray("TEST") << 30;
        QTest::newRow("the settings' Winkeyer without options")
            << "[Klucz CW]|Klucz=Winkeyer|Port Winkeyer=@PORT@|Predkosc=35" << QStringList{"QRL?"} << empty
            << QByteArray("QRL?") << 35;
        QTest::newRow("--wpm over the settings' speed")
            << "[Klucz CW]|Klucz=Winkeyer|Port Winkeyer=@PORT@" << QStringList{"--wpm", "41", "EE"} << empty
            << QByteArray("EE") << 41;
    }
    void winkeyerKeysTheExpandedTextAtTheSpeed() {
        QFETCH(QString, settings);
        QFETCH(QStringList, args);
        QFETCH(QStringList, log);
        QFETCH(QByteArray, text);
        QFETCH(int, wpm);
        WinkeyerEmulator chip;
        QString error;
        if (!chip.start(&error))
            QSKIP(qPrintable(error));
        chip.setAutoKey(1);
        TempProgramFolder folder;
        folder.writeBytes(QStringLiteral("kvr_log.ini"), settingsText(settings, chip.portName()));
        if (!log.isEmpty())
            folder.writeLines(QStringLiteral("log.kvr"), log);
        const QMap<QString, QByteArray> before = folderContents(folder.path());
        args.replaceInStrings(QStringLiteral("@PORT@"), chip.portName());

        const CliRun run = runCli(folder.path(), QStringList{QStringLiteral("send")} + args);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(chip.textReceived(), text);
        QCOMPARE(chip.echoed(), text);
        const int speed = chip.indexOf(speedCommand(wpm));
        QVERIFY2(speed >= 0, "the speed was set");
        QVERIFY(speed < chip.indexOf(text.left(1)));
        QVERIFY2(!chip.hostOpen(), "the Winkeyer was left in host mode");
        // Sending reads the settings and the log and writes neither.
        QCOMPARE(folderContents(folder.path()), before);
    }

    void cwdaemonGetsTheTextAndTheSpeed_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("speed");
        QTest::newRow("from the options")
            << "" << QStringList{"--keyer", "cwdaemon", "--address", "@ADDRESS@", "--wpm", "28"}
            << QByteArray("\x1b"
                          "228");
        QTest::newRow("from the settings")
            << "[Klucz CW]|Klucz=cwdaemon|cwdaemon=@ADDRESS@|Predkosc=33" << QStringList{}
            << QByteArray("\x1b"
                          "233");
        QTest::newRow("address option over the settings' one")
            << "[Klucz CW]|Klucz=cwdaemon|cwdaemon=127.0.0.1:1" << QStringList{"--address", "@ADDRESS@"}
            << QByteArray("\x1b"
                          "230");
    }
    void cwdaemonGetsTheTextAndTheSpeed() {
        QFETCH(QString, settings);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, speed);
        FakeCwdaemon daemon;
        TempProgramFolder folder;
        folder.writeBytes(QStringLiteral("kvr_log.ini"),
                          settingsText(QStringLiteral("[Operator]|Uzywany znak=SQ5XYZ|") + settings, daemon.address()));
        args.replaceInStrings(QStringLiteral("@ADDRESS@"), daemon.address());

        const CliRun run =
            runCli(folder.path(), QStringList{QStringLiteral("send")} + args + QStringList{"DE <MYCALL>"});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> datagrams = daemon.datagrams();
        // Everything after the reset of the opening: the settings, then the text a character at a time.
        const qsizetype reset = datagrams.indexOf(QByteArray("\x1b"
                                                             "0"));
        QVERIFY(reset >= 0);
        QByteArray text;
        for (const QByteArray& datagram : datagrams.mid(reset + 1)) {
            if (!datagram.startsWith('\x1b'))
                text += datagram;
        }
        QCOMPARE(text, QByteArray("DE SQ5XYZ"));
        QVERIFY2(datagrams.mid(reset).contains(speed), qPrintable(QString::fromLatin1(datagrams.join('|'))));
    }

    void keyerThatDoesNotOpenIsTold_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no keying port set") << "" << QStringList{"TEST"} << "Brak ustawionych portów\n";
        QTest::newRow("line keyer on a missing port")
            << "" << QStringList{"--keyer", "line", "--port", "/dev/kvr-missing"}
            << "Brak portu szeregowego /dev/kvr-missing\nlub port jest zajęty !\n";
        QTest::newRow("settings' line keyer on a missing port")
            << "[Klucz CW]|Port=/dev/kvr-missing|Kluczowanie=RTS" << QStringList{"--line", "DTR"}
            << "Brak portu szeregowego /dev/kvr-missing\nlub port jest zajęty !\n";
        QTest::newRow("Winkeyer on a missing port") << "" << QStringList{"--keyer", "winkeyer", "--port", "/dev/kvr-wk"}
                                                    << "Brak portu szeregowego /dev/kvr-wk\nlub port jest zajęty !\n";
        QTest::newRow("radio not set") << "" << QStringList{"--keyer", "rig"} << "Radio nie jest ustawione\n";
    }
    void keyerThatDoesNotOpenIsTold() {
        QFETCH(QString, settings);
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        TempProgramFolder folder;
        folder.writeBytes(QStringLiteral("kvr_log.ini"), settingsText(settings, QString()));
        const CliRun run = runCli(folder.path(), QStringList{QStringLiteral("send")} + args + QStringList{"TEST"});
        QCOMPARE(run.err, message);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
    }

    // The radio's keyer behind rigctld with PTT by command: the radio is released when the text is out, and a
    // radio that does not answer keys nothing.
    void radioKeysAndReleasesPtt() {
        QString reason;
        if (!RigctldProcess::available(&reason))
            QSKIP(qPrintable(reason));
        RigctldProcess rigctld;
        QVERIFY(rigctld.start());
        QVERIFY(rigctld.set(QStringLiteral("T 1")));
        TempProgramFolder folder;
        folder.writeBytes(
            QStringLiteral("kvr_log.ini"),
            settingsText(QStringLiteral("[Radio]|Polaczenie=2|Rigctld=@ADDRESS@|PTT=1"), rigctld.address()));
        CliRun run = runCli(folder.path(), {"send", "--keyer", "rig", "--wpm", "60", "EE"});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(rigctld.value(QStringLiteral("t"), QStringLiteral("PTT")), QStringLiteral("0"));

        rigctld.kill();
        run = runCli(folder.path(), {"send", "--keyer", "rig", "EE"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(QStringLiteral("Radio: brak połączenia (")), qPrintable(run.err));
    }

    void badUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown keyer") << QStringList{"--keyer", "paddle", "TEST"};
        QTest::newRow("speed below 10") << QStringList{"--wpm", "9", "TEST"};
        QTest::newRow("speed above 60") << QStringList{"--wpm", "61", "TEST"};
        QTest::newRow("speed not a number") << QStringList{"--wpm", "fast", "TEST"};
        QTest::newRow("keying line neither DTR nor RTS") << QStringList{"--line", "CTS", "TEST"};
        QTest::newRow("no text") << QStringList{"--keyer", "cwdaemon"};
        QTest::newRow("address without a host") << QStringList{"--keyer", "cwdaemon", "--address", ":99", "TEST"};
        QTest::newRow("address for the Winkeyer") << QStringList{"--keyer", "winkeyer", "--address", "h:1", "TEST"};
        QTest::newRow("port for cwdaemon") << QStringList{"--keyer", "cwdaemon", "--port", "/dev/ttyS0", "TEST"};
        QTest::newRow("keying line for the Winkeyer") << QStringList{"--keyer", "winkeyer", "--line", "RTS", "TEST"};
    }
    void badUsage() {
        QFETCH(QStringList, args);
        TempProgramFolder folder;
        const CliRun run = runCli(folder.path(), QStringList{QStringLiteral("send")} + args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("usage: kvrlog-cli [--home DIR] send")), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

    // Ctrl+C in the middle of the text: the Winkeyer drops the rest, lets go of the key and leaves host mode, and
    // the command ends on its own with the failure told.
    void interruptClearsTheWinkeyerAndEndsCleanly() {
        WinkeyerEmulator chip;
        QString error;
        if (!chip.start(&error))
            QSKIP(qPrintable(error));
        chip.setAutoKey(40);
        TempProgramFolder folder;
        const QByteArray text = "PARIS PARIS PARIS PARIS PARIS PARIS";
        QProcess process;
        process.start(QStringLiteral(KVR_BIN_DIR "/kvrlog-cli"),
                      {"--home", folder.path(), "send", "--keyer", "winkeyer", "--port", chip.portName(),
                       QString::fromLatin1(text)});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(chip.echoed().size() >= 3, 10000);
        QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
        QVERIFY(process.waitForFinished(10000));

        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()), QStringLiteral("Nadawanie przerwane.\n"));
        QVERIFY2(chip.echoed().size() < text.size(), chip.echoed().constData());
        const int firstText = chip.indexOf(text.left(1));
        const int clear = chip.indexOf(QByteArray(1, char(Winkeyer::ClearBuffer)), firstText);
        QVERIFY2(clear > firstText, "the buffer was cleared after the text began");
        QCOMPARE(chip.held(), 0);
        QVERIFY(!chip.hostOpen());
    }
};

QTEST_GUILESS_MAIN(TestCliSend)
#include "tst_cli_send.moc"
