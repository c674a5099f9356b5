#include "settings/inifile.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QTest>

namespace {

// kvrlog-cli with exactly these arguments, KVRLOG_HOME unset, started in the given folder.
CliRun runExactly(const QString& folder, const QStringList& args) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("KVRLOG_HOME"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(KVR_BIN_DIR "/kvrlog-cli"), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The option names a help text lists, one an option line.
QStringList listedOptions(const QString& help) {
    QStringList names;
    for (const QString& line : help.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("  --")))
            names.append(line.mid(2).section(QLatin1Char(' '), 0, 0));
    }
    return names;
}

} // namespace

class TestCliUsage : public QObject {
    Q_OBJECT

private slots:
    void helpListsTheOptionsOfTheCommand_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("options");
        const QStringList common{"--home", "--help"};
        QTest::newRow("kvrlog-cli") << QStringList{"--help"} << common;
        QTest::newRow("summary") << QStringList{"summary", "--help"} << common + QStringList{"--band", "--mode"};
        QTest::newRow("locator") << QStringList{"locator", "--help"} << common;
        QTest::newRow("master") << QStringList{"master", "--help"} << common;
        QTest::newRow("add") << QStringList{"add", "--help"}
                             << common + QStringList{"--log",      "--call",     "--band",  "--mode",
                                                     "--rst-sent", "--rst-rcvd", "--stx",   "--stx-fixed",
                                                     "--srx",      "--date",     "--time",  "--rig",
                                                     "--model",    "--port",     "--speed", "--rigctld"};
        QTest::newRow("export") << QStringList{"export", "--help"} << common;
        QTest::newRow("export cabrillo") << QStringList{"export", "cabrillo", "--help"}
                                         << common + QStringList{"--log", "--claimed", "--province", "--location",
                                                                 "--contest-name"};
        QTest::newRow("export adif") << QStringList{"export", "adif", "--help"}
                                     << common + QStringList{"--log",      "--comment",      "--contest",
                                                             "--operator", "--sppa-comment", "--odx-comment"};
        QTest::newRow("export csv") << QStringList{"export", "csv", "--help"} << common + QStringList{"--log"};
        QTest::newRow("export edi") << QStringList{"export", "edi", "out", "--help"}
                                    << common + QStringList{"--log", "--band"};
        QTest::newRow("import") << QStringList{"import", "--help"} << common;
        QTest::newRow("import adif") << QStringList{"import", "adif", "--help"} << common + QStringList{"--log"};
        QTest::newRow("import cabrillo, any case")
            << QStringList{"import", "Cabrillo", "--help"} << common + QStringList{"--log"};
        QTest::newRow("rig") << QStringList{"rig", "--help"}
                             << common + QStringList{"--model", "--port", "--speed", "--rigctld"};
        QTest::newRow("morse") << QStringList{"morse", "--help"}
                               << common + QStringList{"--wpm", "--dash", "--gap", "--long", "--factor"};
        QTest::newRow("send") << QStringList{"send", "--help"}
                              << common + QStringList{"--keyer", "--port", "--line", "--address", "--wpm"};
    }
    // The help goes to stdout and starts with the synopsis that bad usage shows; the command does not run.
    void helpListsTheOptionsOfTheCommand() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, options);
        TempProgramFolder folder;
        const QStringList filesBefore = QDir(folder.path()).entryList(QDir::Files);
        const CliRun help = runCli(folder.path(), args);
        QCOMPARE(help.exitCode, 0);
        QCOMPARE(help.err, QString());
        QCOMPARE(listedOptions(help.out), options);

        QStringList bad = args;
        bad.replace(bad.indexOf("--help"), "--no-such-option");
        const CliRun usage = runCli(folder.path(), bad);
        QCOMPARE(usage.exitCode, 2);
        QVERIFY(usage.err.startsWith("usage: kvrlog-cli [--home DIR] "));
        QVERIFY(help.out.startsWith(usage.err));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), filesBefore);
    }

    void badUsageShowsTheSynopsisAndExitsWithTwo_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("firstLine");
        const QString summary = "usage: kvrlog-cli [--home DIR] summary [LOG] [--band B] [--mode M]";
        const QString exportFirst = "usage: kvrlog-cli [--home DIR] export cabrillo [--log LOG] [--claimed N] "
                                    "[--province P] [--location L] [--contest-name NAME] OUT";
        const QString commands = "usage: kvrlog-cli [--home DIR] COMMAND ...";
        QTest::newRow("no command") << QStringList{} << commands;
        QTest::newRow("unknown command") << QStringList{"sumary"} << commands;
        QTest::newRow("option before the command") << QStringList{"--band", "2M", "summary"} << commands;
        QTest::newRow("unknown option") << QStringList{"summary", "--bogus"} << summary;
        QTest::newRow("option without its value") << QStringList{"summary", "--band"} << summary;
        QTest::newRow("option twice") << QStringList{"summary", "--band", "2M", "--band", "6M"} << summary;
        QTest::newRow("--home twice") << QStringList{"summary", "--home", "/tmp"} << summary;
        QTest::newRow("one argument too many")
            << QStringList{"locator", "JO91RU", "KO02AA", "KO02AB"} << "usage: kvrlog-cli [--home DIR] locator FROM TO";
        QTest::newRow("flag with a value") << QStringList{"export", "adif", "--sppa-comment=1", "x.adi"} << exportFirst;
        QTest::newRow("option of another format")
            << QStringList{"export", "csv", "--band", "2M", "x.csv"} << exportFirst;
        QTest::newRow("option before the format") << QStringList{"export", "--log", "l.kvr", "csv", "x"} << exportFirst;
        QTest::newRow("unknown format") << QStringList{"import", "xml", "x.xml"}
                                        << "usage: kvrlog-cli [--home DIR] import adif|cabrillo IN [--log LOG]";
    }
    void badUsageShowsTheSynopsisAndExitsWithTwo() {
        QFETCH(QStringList, args);
        QFETCH(QString, firstLine);
        TempProgramFolder folder;
        const CliRun run = runCli(folder.path(), args);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err.section(QLatin1Char('\n'), 0, 0), firstLine);
        if (firstLine.endsWith("COMMAND ..."))
            QCOMPARE(run.err.count(QLatin1Char('\n')), 11); // the usage, then the ten commands
    }

    // --home is taken before the command, after it and after the format, once.
    void homeBeforeOrAfterTheCommand() {
        TempProgramFolder folder;
        const QString log = folder.writeLines("zawody.kvr", {});
        IniFile(folder.file("kvr_log.ini")).writeString("Program", "Log", log);
        const QString home = folder.path();
        const QString elsewhere = QDir::tempPath();
        for (const QStringList& args : {QStringList{"--home", home, "summary"}, QStringList{"summary", "--home", home},
                                        QStringList{"--home=" + home, "summary"}}) {
            const CliRun run = runExactly(elsewhere, args);
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.out.startsWith("Log " + log), qPrintable(run.out));
        }
        const QString out = folder.file("out.csv");
        QCOMPARE(runExactly(elsewhere, {"export", "--home", home, "csv", out}).exitCode, 0);
        QVERIFY(QFile::exists(out));
        QCOMPARE(runExactly(elsewhere, {"export", "csv", out, "--home", home}).exitCode, 0);
        QCOMPARE(runExactly(elsewhere, {"--home", home, "--home", home, "summary"}).exitCode, 2);
        QCOMPARE(runExactly(elsewhere, {"--home", home, "export", "--home", home, "csv", out}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestCliUsage)
#include "tst_cli_usage.moc"
