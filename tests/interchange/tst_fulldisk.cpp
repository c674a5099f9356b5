#include "analysis/operatordata.h"
#include "core/logfile.h"
#include "diskspace.h"
#include "entry/addqso.h"
#include "entry/entryindex.h"
#include "entry/logbackups.h"
#include "interchange/interchangecommands.h"
#include "lifecyclefixture.h"
#include "log/logedit.h"
#include "log/loglifecycle.h"
#include "settings/inifile.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QTest>

#include <functional>

namespace {

// The contact both add tests log.
EntryForm newContact() {
    EntryForm form;
    form.call = QStringLiteral("SP4DDD");
    form.srx = QStringLiteral("SIC");
    form.stx = QStringLiteral("004");
    form.date = QStringLiteral("2024-06-01");
    form.time = QStringLiteral("11:00:00");
    return form;
}

const QString kNoSpace = QStringLiteral("No space left on device");

// A program folder as after a few contacts: the log, its "~" copy, backups and settings.
struct FullDiskFixture : SessionFixture {
    FullDiskFixture()
        : SessionFixture({kSicContact.time("10:00:00").call("SP1AAA"),
                          kSicContact.time("10:05:00").call("SP2BBB").stx("002"),
                          kSicContact.time("10:10:00").band("40M").call("SP3CCC").stx("003")}) {
        folder.writeLines(QStringLiteral("log.kvr~"), {kSicContact.time("10:00:00").call("SP1AAA")});
        folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Program]"), QStringLiteral("STX=004")});
        QDir(folder.path()).mkpath(QStringLiteral("Backup_logs"));
        folder.writeLines(QStringLiteral("Backup_logs/temporary_1.kvr"), {QStringLiteral("old snapshot")});
        folder.writeLines(QStringLiteral("adif.adi"),
                          {QStringLiteral("<QSO_DATE:8>20240601 <TIME_ON:4>1200 <BAND:3>80M <MODE:2>CW "
                                          "<CALL:5>SP5EE <EOR>")});
        folder.writeLines(QStringLiteral("cabrillo.log"),
                          {QStringLiteral("QSO: 3520 CW 2024-06-01 1200 SP9XYZ 599 001 SP6FF 599 007")});
        before = folderContents(folder.path());
    }
    bool reportedNoSpace() const { return dialogs.lastText().contains(kNoSpace); }

    QMap<QString, QByteArray> before;
    EntryOptions options;
    TemporaryBackups backups{1};
    EntryIndex index;
};

} // namespace

class TestFullDisk : public QObject {
    Q_OBJECT

private slots:
    void everyWriterFailsCleanlyOnAFullDisk_data() {
        QTest::addColumn<QString>("writer");
        for (const char* writer :
             {"add", "edit", "delete", "save as", "import adif", "import cabrillo", "export adif", "export csv",
              "backup before import", "edit backup", "temporary backup", "start-up backup", "settings"})
            QTest::newRow(writer) << QString::fromLatin1(writer);
    }
    void everyWriterFailsCleanlyOnAFullDisk() {
        QFETCH(QString, writer);
        FullDiskFixture f;
        LogSession& s = f.session;
        const QString other = f.folder.file(QStringLiteral("other.kvr"));
        std::function<bool()> run; // true when the writer reported success
        if (writer == QLatin1String("add")) {
            run = [&] { return AddQso(s, f.options, f.backups, f.index).run(newContact()).added(); };
        } else if (writer == QLatin1String("edit")) {
            run = [&] {
                EditedQso fields = EditedQso::fromQso(s.log().qso(0));
                fields.call = QStringLiteral("SP7ZZZ");
                return LogEdit::SaveEditedQso(s, 0, fields).outcome == LogEdit::EditOutcome::Saved;
            };
        } else if (writer == QLatin1String("delete")) {
            // The error shown on the full disk takes an answer too.
            f.dialogs.buttonAnswers = {DialogButton::Yes, DialogButton::Ok, DialogButton::Yes};
            run = [&] { return LogEdit::DeleteQso(s, 0).deleted; };
        } else if (writer == QLatin1String("save as")) {
            f.dialogs.fileAnswers = {other, other};
            run = [&] { return LogLifecycle(s).SaveLogAs(OperatorData()); };
        } else if (writer == QLatin1String("import adif")) {
            run = [&] {
                return InterchangeCommands::importAdifFile(s, f.folder.file(QStringLiteral("adif.adi"))).changed;
            };
        } else if (writer == QLatin1String("import cabrillo")) {
            run = [&] {
                return InterchangeCommands::importCabrilloFile(s, f.folder.file(QStringLiteral("cabrillo.log")))
                    .changed;
            };
        } else if (writer == QLatin1String("export adif")) {
            f.dialogs.fileAnswers = {f.folder.file(QStringLiteral("out.adi")),
                                     f.folder.file(QStringLiteral("out.adi"))};
            run = [&] { return InterchangeCommands::exportAdif(s, AdifExportOptions()).has_value(); };
        } else if (writer == QLatin1String("export csv")) {
            f.dialogs.fileAnswers = {f.folder.file(QStringLiteral("out.csv")),
                                     f.folder.file(QStringLiteral("out.csv"))};
            run = [&] { return InterchangeCommands::exportCsv(s).has_value(); };
        } else if (writer == QLatin1String("backup before import")) {
            run = [&] {
                const InterchangeCommands::BackupResult backup = InterchangeCommands::backupCurrentLog(s);
                if (!backup.status)
                    f.dialogs.error(backup.status.error);
                return bool(backup.status);
            };
        } else if (writer == QLatin1String("edit backup")) {
            run = [&] {
                const TextFile::Status written = LogEdit::writeEditBackup(s);
                if (!written)
                    f.dialogs.error(written.error);
                return written.ok;
            };
        } else if (writer == QLatin1String("temporary backup")) {
            run = [&] {
                const TextFile::Status written = f.backups.write(s.folder(), s.log().fileBytes());
                if (!written)
                    f.dialogs.error(written.error);
                return written.ok;
            };
        } else if (writer == QLatin1String("start-up backup")) {
            run = [&] {
                const TextFile::Status made = StartupBackups::make(s.folder(), s.logPath(), f.clock.now());
                if (!made)
                    f.dialogs.error(made.error);
                return made.ok;
            };
        } else {
            run = [&] {
                IniFile settings(s.settingsPath());
                const TextFile::Status written =
                    settings.writeString(QStringLiteral("Program"), QStringLiteral("STX"), QStringLiteral("005"));
                if (!written)
                    f.dialogs.error(written.error);
                return written.ok;
            };
        }
        {
            const DiskSpace full(0);
            QVERIFY(!run());
        }
        QVERIFY2(f.reportedNoSpace(), qPrintable(f.dialogs.lastText()));
        QCOMPARE(folderContents(f.folder.path()), f.before);
        // The program goes on: memory still matches the file.
        QCOMPARE(s.log().size(), 3);
        QVERIFY(run());
    }

    // Whatever the disk has room for, an add either lands whole or not at all, and the log always loads.
    void addOnANearlyFullDiskIsAllOrNothing() {
        int landed = 0;
        int refused = 0;
        for (qint64 space : {0, 1, 2, 40, 75, 77, 150, 300, 320, 400, 1000}) {
            FullDiskFixture f;
            const QByteArray log = f.before.value(QStringLiteral("log.kvr"));
            bool added = false;
            {
                const DiskSpace nearlyFull(space);
                added = AddQso(f.session, f.options, f.backups, f.index).run(newContact()).added();
            }
            const QByteArray after = fileBytes(f.session.logPath());
            if (added) {
                ++landed;
                QVERIFY(after.startsWith(log));
                QVERIFY(after.endsWith("SIC \r\n"));
                QCOMPARE(after.count('\n'), log.count('\n') + 1);
            } else {
                ++refused;
                QCOMPARE(after, log);
                QVERIFY(f.reportedNoSpace());
            }
            f.session.log().clearContacts();
            QVERIFY(f.session.reload().complete());
            QCOMPARE(f.session.log().size(), added ? 4 : 3);
        }
        // Both outcomes were met: the smallest disks refuse the contact and the largest take it.
        QVERIFY(refused > 0);
        QVERIFY(landed > 0);
    }
};

QTEST_GUILESS_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
