#include "testsupport.h"

#include <QTest>

class TestCliMorse : public QObject {
    Q_OBJECT
private:
    static CliRun morse(const QStringList& args) {
        const TempProgramFolder folder;
        return runCli(folder.path(), QStringList{QStringLiteral("morse")} + args);
    }

private slots:
    void printsTheVirtualTimeline_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("E blank E at 20 wpm")
            << QStringList{"--wpm", "20", "E E"} << "pause 50\nkey 60\npause 180\npause 180\nkey 60\npause 180\n";
        QTest::newRow("defaults are 30 wpm and 3:1:3") << QStringList{"T"} << "pause 50\nkey 120\npause 120\n";
        QTest::newRow("ratios in tenths") << QStringList{"--wpm=20", "--dash", "40", "--gap", "5", "--long", "50", "A"}
                                          << "pause 50\nkey 60\npause 30\nkey 240\npause 300\n";
        QTest::newRow("calibration factor")
            << QStringList{"--wpm", "20", "--factor", "1.2", "E"} << "pause 50\nkey 50\npause 150\n";
        QTest::newRow("characters without code take no time") << QStringList{"ĄŻ"} << "pause 50\n";
    }
    void printsTheVirtualTimeline() {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        const CliRun run = morse(args);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, expected);
    }

    void badUsageExitsWithTwo_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no text") << QStringList{"--wpm", "20"};
        QTest::newRow("speed not a number") << QStringList{"--wpm", "fast", "E"};
        QTest::newRow("zero factor") << QStringList{"--factor", "0", "E"};
        QTest::newRow("unknown option") << QStringList{"--tone", "600", "E"};
    }
    void badUsageExitsWithTwo() {
        QFETCH(QStringList, args);
        const CliRun run = morse(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith(QStringLiteral("usage: kvrlog-cli [--home DIR] morse")));
    }
};

QTEST_GUILESS_MAIN(TestCliMorse)
#include "tst_cli_morse.moc"
