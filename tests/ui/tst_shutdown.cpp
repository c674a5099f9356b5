#include "platform/terminationsignals.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"
#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

// The end of a desktop session reaches the program as a signal: it must close as the operator would close it.
class TestShutdown : public QObject {
    Q_OBJECT
private slots:
    void aSignalBecomesACloseRequestInTheEventLoop_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("kill") << int(SIGTERM);
        QTest::newRow("terminal or session gone") << int(SIGHUP);
        QTest::newRow("Ctrl+C") << int(SIGINT);
    }
    void aSignalBecomesACloseRequestInTheEventLoop() {
        QFETCH(int, signalNumber);
        TerminationSignals termination;
        QVERIFY(termination.isWatching());
        QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
        QCOMPARE(::raise(signalNumber), 0);
        QVERIFY(requested.wait(5000));
        QCOMPARE(requested.size(), 1);
        QCOMPARE(requested.first().first().toInt(), signalNumber);
    }

    // The real program, killed as a logout kills it: it ends normally and its settings are on the disk.
    void theProgramWritesItsSettingsWhenKilled() {
        TempProgramFolder folder;
        folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nPasmo=40M\r\n");
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KVR_BIN_DIR "/kvrlog"), {QStringLiteral("--home"), folder.path()});
        QVERIFY(program.waitForStarted(30000));
        // The log's lock is taken during the start-up, after the signals are watched.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.file(QStringLiteral(".log.kvr.kvrlock"))), 30000);
        program.terminate();
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const IniFile settings(folder.file(QStringLiteral("kvr_log.ini")));
        QCOMPARE(settings.value(SettingsKeys::Program::band), QStringLiteral("40M"));
        QVERIFY(settings.contains(SettingsKeys::Program::windowX));
        QVERIFY(!QFile::exists(folder.file(QStringLiteral(".log.kvr.kvrlock"))));
    }
};

QTEST_GUILESS_MAIN(TestShutdown)
#include "tst_shutdown.moc"
