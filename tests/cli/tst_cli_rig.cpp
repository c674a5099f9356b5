#include "rigctldprocess.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

namespace {

const QStringList kContact = {QStringLiteral("--call"), QStringLiteral("SP9ABC"),  QStringLiteral("--srx"),
                              QStringLiteral("12"),     QStringLiteral("--date"),  QStringLiteral("2026-03-14"),
                              QStringLiteral("--time"), QStringLiteral("08:00:00")};

} // namespace

// kvrlog-cli rig and add --rig against hamlib's dummy radio behind rigctld.
class TestCliRig : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QString reason;
        if (!RigctldProcess::available(&reason))
            QSKIP(qPrintable(reason));
    }

    void printsTheReadingAsTheProgramTakesIt() {
        RigctldProcess rigctld;
        QVERIFY(rigctld.start());
        QVERIFY(rigctld.set(QStringLiteral("F 14025000")));
        QVERIFY(rigctld.set(QStringLiteral("M CW 0")));
        TempProgramFolder folder;
        CliRun run = runCli(folder.path(), {QStringLiteral("rig"), QStringLiteral("--rigctld"), rigctld.address()});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("freq=14025000 mode=CW band=20M kvrmode=CW\n"));

        // From the settings' "Radio" section, whose lists decide what the program would take.
        QVERIFY(rigctld.set(QStringLiteral("F 10120000")));
        QVERIFY(rigctld.set(QStringLiteral("M RTTY 0")));
        const QString radio = QStringLiteral("[Radio]\r\nPolaczenie=2\r\nRigctld=%1\r\n").arg(rigctld.address());
        folder.writeBytes(QStringLiteral("kvr_log.ini"), radio.toUtf8());
        run = runCli(folder.path(), {QStringLiteral("rig")});
        QCOMPARE(run.out, QStringLiteral("freq=10120000 mode=RTTY band= kvrmode=\n"));
        folder.writeBytes(QStringLiteral("kvr_log.ini"),
                          (QStringLiteral("[Program]\r\nPasma WARC=1\r\nEmisje cyfrowe=1\r\n") + radio).toUtf8());
        run = runCli(folder.path(), {QStringLiteral("rig")});
        QCOMPARE(run.out, QStringLiteral("freq=10120000 mode=RTTY band=30M kvrmode=RTTY\n"));

        rigctld.kill();
        run = runCli(folder.path(), {QStringLiteral("rig")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(QStringLiteral("Radio: brak połączenia (")), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

    void addTakesBandAndModeFromTheRadio() {
        RigctldProcess rigctld;
        QVERIFY(rigctld.start());
        QVERIFY(rigctld.set(QStringLiteral("F 3750000")));
        QVERIFY(rigctld.set(QStringLiteral("M LSB 0")));
        TempProgramFolder folder;
        folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nPasmo=20M\r\nEmisja=CW\r\n");
        const CliRun run = runCli(folder.path(), QStringList{QStringLiteral("add"), QStringLiteral("--rig"),
                                                             QStringLiteral("--rigctld"), rigctld.address()} +
                                                     kContact);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out,
                 QStringLiteral("2026-03-14 080000  80M PH 59          001 SP9ABC          59           12 \n"));

        // Out of every band: nothing is logged on a band the radio is not on.
        QVERIFY(rigctld.set(QStringLiteral("F 5357000")));
        const CliRun outside = runCli(folder.path(), QStringList{QStringLiteral("add"), QStringLiteral("--rig"),
                                                                 QStringLiteral("--rigctld"), rigctld.address()} +
                                                         kContact);
        QCOMPARE(outside.exitCode, 1);
        QCOMPARE(outside.err, QStringLiteral("Radio: 5357.0 kHz poza pasmami programu\n"));
        QCOMPARE(folder.readLines(QStringLiteral("log.kvr")).size(), 1);
    }

    void badUsageOfTheRadioOptions_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("address without port") << QStringList{"rig", "--rigctld", "localhost"} << 2;
        QTest::newRow("model not a number") << QStringList{"rig", "--model", "IC7300", "--port", "/dev/null"} << 2;
        QTest::newRow("rigctld and a serial port") << QStringList{"rig", "--rigctld", "h:1", "--port", "/dev/x"} << 2;
        QTest::newRow("no radio set") << QStringList{"rig"} << 1;
        QTest::newRow("serial port without model") << QStringList{"rig", "--port", "/dev/null"} << 1;
        QTest::newRow("add with --rig and --band") << QStringList{"add", "--rig", "--band", "20M", "--call", "X"} << 2;
        QTest::newRow("add with a radio option only") << QStringList{"add", "--rigctld", "h:1", "--call", "X"} << 2;
    }
    void badUsageOfTheRadioOptions() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        TempProgramFolder folder;
        const CliRun run = runCli(folder.path(), args);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, QString());
        QVERIFY(!run.err.isEmpty());
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("log.kvr"))));
    }
};

QTEST_GUILESS_MAIN(TestCliRig)
#include "tst_cli_rig.moc"
