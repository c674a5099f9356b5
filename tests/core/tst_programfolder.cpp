#include "platform/programfolder.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// An installation in a temporary prefix: bin/ with the executables, share/kvrlog/ with the county list, and a
// home whose data folder is not made yet.
struct Installation {
    Installation() {
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        QDir(root.path()).mkpath(QStringLiteral("share/kvrlog"));
        QFile::copy(shippedCountyFile(), QDir(places.sharedDataDir).filePath(QStringLiteral("powiaty.txt")));
    }
    QString path(const QString& name) const { return QDir(root.path()).filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir root;
    ProgramPlaces places{path(QStringLiteral("bin")), path(QStringLiteral("share/kvrlog")),
                         path(QStringLiteral("home/.local/share/kvrlog"))};
};

} // namespace

class TestProgramFolder : public QObject {
    Q_OBJECT

private slots:
    void init() { qunsetenv("KVRLOG_HOME"); }
    void cleanup() { qunsetenv("KVRLOG_HOME"); }

    void homeOptionThenEnvironmentComeFirst() {
        Installation installed;
        installed.writeFile(QStringLiteral("bin/powiaty.txt"), "AA B\r\n");
        qputenv("KVRLOG_HOME", "/tmp/from-env");
        QStringList args{QStringLiteral("summary"), QStringLiteral("--home"), QStringLiteral("/tmp/h"),
                         QStringLiteral("x.kvr")};
        QCOMPARE(ProgramFolder::resolve(args, installed.places).folder.path(), QStringLiteral("/tmp/h"));
        QCOMPARE(args, (QStringList{QStringLiteral("summary"), QStringLiteral("x.kvr")}));

        args = {QStringLiteral("--home=/tmp/eq/")};
        QCOMPARE(ProgramFolder::resolve(args, installed.places).folder.path(), QStringLiteral("/tmp/eq"));
        QVERIFY(args.isEmpty());

        const ProgramFolderChoice fromEnvironment = ProgramFolder::resolve(args, installed.places);
        QCOMPARE(fromEnvironment.folder.path(), QStringLiteral("/tmp/from-env"));
        QCOMPARE(fromEnvironment.folder.settingsFile(), QStringLiteral("/tmp/from-env/kvr_log.ini"));
        QCOMPARE(fromEnvironment.folder.backupFolder(), QStringLiteral("/tmp/from-env/Backup_logs"));
        QVERIFY(!fromEnvironment.firstStart);
        // The value of a parsed --home, empty when it was not given, falls back the same way.
        QCOMPARE(ProgramFolder::resolve(QStringLiteral("/tmp/h"), installed.places).folder.path(),
                 QStringLiteral("/tmp/h"));
        QCOMPARE(ProgramFolder::resolve(QString(), installed.places).folder.path(), QStringLiteral("/tmp/from-env"));
        // None of them touches the user's data folder.
        QVERIFY(!QFileInfo::exists(installed.places.userDataDir));
    }

    void executableFolderWhenItIsAlreadyAProgramFolder_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("county list (build tree)") << QStringLiteral("powiaty.txt") << true;
        QTest::newRow("settings file (portable copy)") << QStringLiteral("kvr_log.ini") << true;
        QTest::newRow("only a log") << QStringLiteral("log.kvr") << false;
        QTest::newRow("nothing but the executables") << QString() << false;
    }
    void executableFolderWhenItIsAlreadyAProgramFolder() {
        QFETCH(QString, file);
        QFETCH(bool, chosen);
        Installation installed;
        if (!file.isEmpty())
            installed.writeFile(QStringLiteral("bin/") + file, "AA B\r\n");
        const ProgramFolderChoice choice = ProgramFolder::resolve(QString(), installed.places);
        QCOMPARE(choice.folder.path(), chosen ? installed.places.executableDir : installed.places.userDataDir);
        QCOMPARE(choice.firstStart, !chosen);
        QCOMPARE(QFileInfo::exists(installed.places.userDataDir), !chosen);
    }

    void readOnlyExecutableFolderIsNeverTheProgramFolder() {
        if (::geteuid() == 0)
            QSKIP("root writes to any folder");
        Installation installed;
        installed.writeFile(QStringLiteral("bin/powiaty.txt"), "AA B\r\n");
        QFile::setPermissions(installed.places.executableDir, QFile::ReadOwner | QFile::ExeOwner);
        const ProgramFolderChoice choice = ProgramFolder::resolve(QString(), installed.places);
        QFile::setPermissions(installed.places.executableDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(choice.folder.path(), installed.places.userDataDir);
    }

    void firstStartMakesTheDataFolderWithTheCountyListAndTellsOnce() {
        Installation installed;
        // The installed list is read-only; the operator's copy must still be replaceable.
        const QString shared = QDir(installed.places.sharedDataDir).filePath(QStringLiteral("powiaty.txt"));
        QFile::setPermissions(shared, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

        ScriptedDialogs dialogs;
        const ProgramFolderChoice first = ProgramFolder::resolve(QString(), installed.places);
        QCOMPARE(first.folder.path(), installed.places.userDataDir);
        QVERIFY(first.firstStart);
        QCOMPARE(fileBytes(first.folder.countyFile()), fileBytes(shippedCountyFile()));
        QVERIFY(QFile::permissions(first.folder.countyFile()) & QFile::WriteOwner);
        first.tellOperator(dialogs);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.at(0).title, QStringLiteral("Informacja"));
        QCOMPARE(dialogs.lastText(),
                 QStringLiteral("Logi, ustawienia (kvr_log.ini) i kopie zapasowe (Backup_logs) są zapisywane w "
                                "folderze:\n\n") +
                     installed.places.userDataDir +
                     QStringLiteral("\n\nTen folder jest też podany w menu \"Plik\" (\"Folder programu\")."));

        // The next start says nothing and keeps the operator's own county list.
        const QByteArray ownList = "XX Z Own county\r\n";
        QFile own(first.folder.countyFile());
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write(ownList);
        own.close();
        const ProgramFolderChoice second = ProgramFolder::resolve(QString(), installed.places);
        QCOMPARE(second.folder.path(), installed.places.userDataDir);
        QVERIFY(!second.firstStart);
        second.tellOperator(dialogs);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(fileBytes(second.folder.countyFile()), ownList);

        // A county list removed later comes back from the installation, without a second word.
        QVERIFY(QFile::remove(second.folder.countyFile()));
        const ProgramFolderChoice third = ProgramFolder::resolve(QString(), installed.places);
        QVERIFY(!third.firstStart);
        QCOMPARE(fileBytes(third.folder.countyFile()), fileBytes(shippedCountyFile()));
    }

    void dataFolderWithoutAnInstalledCountyListIsStillMade() {
        Installation installed;
        QVERIFY(QFile::remove(QDir(installed.places.sharedDataDir).filePath(QStringLiteral("powiaty.txt"))));
        const ProgramFolderChoice choice = ProgramFolder::resolve(QString(), installed.places);
        QVERIFY(choice.firstStart);
        QVERIFY(QFileInfo(choice.folder.path()).isDir());
        // The start-up then names this folder in its message about the missing county list.
        QVERIFY(!QFileInfo::exists(choice.folder.countyFile()));
    }

    void placesFollowTheExecutable() {
        QTemporaryDir dataHome;
        const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        const ProgramPlaces places = ProgramPlaces::forExecutable(QStringLiteral("/opt/prefix/bin"));
        oldDataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldDataHome);
        QCOMPARE(places.executableDir, QStringLiteral("/opt/prefix/bin"));
        QCOMPARE(places.sharedDataDir, QStringLiteral("/opt/prefix/share/kvrlog"));
        QCOMPARE(places.userDataDir, dataHome.path() + QStringLiteral("/kvrlog"));
    }

    void dataFilesBesideTheExecutableComeBeforeTheInstalledOnes() {
        Installation installed;
        const QString name = QStringLiteral("KVR_Log.html");
        const QString beside = installed.path(QStringLiteral("bin/KVR_Log.html"));
        const QString shared = installed.path(QStringLiteral("share/kvrlog/KVR_Log.html"));
        QCOMPARE(installed.places.dataFile(name), beside);
        installed.writeFile(QStringLiteral("share/kvrlog/KVR_Log.html"), "<html/>");
        QCOMPARE(installed.places.dataFile(name), shared);
        installed.writeFile(QStringLiteral("bin/KVR_Log.html"), "<html/>");
        QCOMPARE(installed.places.dataFile(name), beside);
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
