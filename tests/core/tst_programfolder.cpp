#include "platform/programfolder.h"

#include <QDir>
#include <QTest>

class TestProgramFolder : public QObject {
    Q_OBJECT

private slots:
    void homeOptionThenEnvironmentThenExecutableFolder() {
        qputenv("KVRLOG_HOME", "/tmp/from-env");
        QStringList args{QStringLiteral("summary"), QStringLiteral("--home"), QStringLiteral("/tmp/h"),
                         QStringLiteral("x.kvr")};
        QCOMPARE(ProgramFolder::resolve(args, QStringLiteral("/opt/kvr")).path(), QStringLiteral("/tmp/h"));
        QCOMPARE(args, (QStringList{QStringLiteral("summary"), QStringLiteral("x.kvr")}));

        args = {QStringLiteral("--home=/tmp/eq")};
        QCOMPARE(ProgramFolder::resolve(args, QStringLiteral("/opt/kvr")).path(), QStringLiteral("/tmp/eq"));
        QVERIFY(args.isEmpty());

        QCOMPARE(ProgramFolder::resolve(args, QStringLiteral("/opt/kvr")).path(), QStringLiteral("/tmp/from-env"));
        qunsetenv("KVRLOG_HOME");
        const ProgramFolder folder = ProgramFolder::resolve(args, QStringLiteral("/opt/kvr/"));
        QCOMPARE(folder.path(), QStringLiteral("/opt/kvr"));
        QCOMPARE(folder.settingsFile(), QStringLiteral("/opt/kvr/kvr_log.ini"));
        QCOMPARE(folder.backupFolder(), QStringLiteral("/opt/kvr/Backup_logs"));

        // The value of a parsed --home, empty when it was not given, falls back the same way.
        QCOMPARE(ProgramFolder::resolve(QStringLiteral("/tmp/h"), QStringLiteral("/opt/kvr")).path(),
                 QStringLiteral("/tmp/h"));
        QCOMPARE(ProgramFolder::resolve(QString(), QStringLiteral("/opt/kvr")).path(), QStringLiteral("/opt/kvr"));
        qputenv("KVRLOG_HOME", "/tmp/from-env");
        QCOMPARE(ProgramFolder::resolve(QString(), QStringLiteral("/opt/kvr")).path(), QStringLiteral("/tmp/from-env"));
        qunsetenv("KVRLOG_HOME");
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
