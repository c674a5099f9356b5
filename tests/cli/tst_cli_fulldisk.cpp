#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

// kvrlog-cli on a real file system that is full: every command that writes exits 1 with the system's reason
// and leaves every file of the program folder as it was. A small tmpfs is mounted for it, which needs root;
// elsewhere the test is skipped (the file writers are also run against a full disk in-process).
class TestCliFullDisk : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_mount;
    QTemporaryDir m_inputs;
    bool m_mounted = false;

    // Writes until the file system takes no more.
    static void fill(const QString& path) {
        QFile filler(path);
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(64 * 1024, 'f');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("f", 1) == 1) {
        }
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private slots:
    void initTestCase() {
#ifdef Q_OS_LINUX
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        if (::mount("tmpfs", QFile::encodeName(m_mount.path()).constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno))));
        m_mounted = true;
#else
        QSKIP("needs Linux");
#endif
        write(m_inputs.filePath(QStringLiteral("in.adi")),
              "<QSO_DATE:8>20240601 <TIME_ON:4>1200 <BAND:3>80M <MODE:2>CW <CALL:5>SP5EE <EOR>\r\n");
        write(m_inputs.filePath(QStringLiteral("in.cbr")),
              "QSO: 3520 CW 2024-06-01 1200 SP9XYZ 599 001 SP6FF 599 007\r\n");
    }

    void cleanupTestCase() {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(QFile::encodeName(m_mount.path()).constData(), MNT_DETACH);
#endif
    }

    void everyWritingCommandFailsCleanly_data() {
        QTest::addColumn<QStringList>("args");
        const QString out = QStringLiteral("%OUT%");
        QTest::newRow("add") << QStringList{"add", "--call", "SP4DDD", "--srx", "KO02MD"};
        QTest::newRow("import adif") << QStringList{"import", "adif", "%IN%/in.adi"};
        QTest::newRow("import cabrillo") << QStringList{"import", "cabrillo", "%IN%/in.cbr"};
        QTest::newRow("export cabrillo") << QStringList{"export", "cabrillo", out + "/out.log"};
        QTest::newRow("export adif") << QStringList{"export", "adif", out + "/out.adi"};
        QTest::newRow("export csv") << QStringList{"export", "csv", out + "/out.csv"};
        QTest::newRow("export edi") << QStringList{"export", "edi", "--band", "2M", out};
    }
    void everyWritingCommandFailsCleanly() {
        QFETCH(QStringList, args);
        const QString home = QDir(m_mount.path()).filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(home + QStringLiteral("/Backup_logs")));
        QVERIFY(QFile::copy(shippedCountyFile(), home + QStringLiteral("/powiaty.txt")));
        const QByteArray line("2024-06-01 100000   2M CW 599  001 KO02MD SP1AAA          599      KO11AA \r\n");
        write(home + QStringLiteral("/log.kvr"), line);
        write(home + QStringLiteral("/log.kvr~"), QByteArray());
        write(home + QStringLiteral("/Backup_logs/temporary_1.kvr"), line);
        write(home + QStringLiteral("/kvr_log.ini"),
              "[Program]\r\nSTX=002\r\nPasmo=2M\r\n[Operator]\r\nUzywany znak=SP9XYZ\r\nName=Jan\r\n"
              "Adres1=Ulica 1\r\nLokator=KO02MD\r\n[EDI]\r\nPAdr1=Ulica 1\r\nTName=Zawody\r\nPSect=SO\r\n[Analiza "
              "grupy]\r\nOpcja=Lokator\r\nAnaliza=1\r\n");
        fill(QDir(m_mount.path()).filePath(QStringLiteral("filler")));
        const QMap<QString, QByteArray> before = folderContents(m_mount.path());

        for (QString& arg : args) {
            arg.replace(QStringLiteral("%IN%"), m_inputs.path());
            arg.replace(QStringLiteral("%OUT%"), home);
        }
        const CliRun run = runCli(home, args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("No space left on device")), qPrintable(run.err));
        QVERIFY(!run.out.contains(QStringLiteral("imported=")));
        QVERIFY(!run.out.contains(QStringLiteral("written=")));
        QCOMPARE(folderContents(m_mount.path()), before);

        QVERIFY(QDir(home).removeRecursively());
        QVERIFY(QFile::remove(QDir(m_mount.path()).filePath(QStringLiteral("filler"))));
    }
};

QTEST_GUILESS_MAIN(TestCliFullDisk)
#include "tst_cli_fulldisk.moc"
