#include "dtawriter.h"
#include "log/logbook.h"
#include "lookup/masterselection.h"
#include "lookup/textmasterfile.h"
#include "scripteddialogs.h"
#include "settings/inifile.h"
#include "testsupport.h"

#include <QTest>

// The text MASTER file and the choice of the MASTER file at start-up and in the "Plik MASTER" dialog.
class TestMasterFile : public QObject {
    Q_OBJECT

private slots:
    void textFileFillsWorkedCallsAndSkipsComments() {
        TempProgramFolder folder;
        const QString path = folder.writeLines(
            "master.txt", {"#", "# Release 2023.05.02.00", "SP7ABC", "", "SQ9XYZ;_KR;JO90AA", "  DL1ABC  ", "SP7ABC"});
        WorkedCalls calls;
        calls.add("OLD1", "OLD1;;");
        const auto result = TextMasterFile::read(path, calls);
        QVERIFY(result.status.ok);
        QCOMPARE(result.count, 4);
        QCOMPARE(calls.calls(), (QStringList{"SP7ABC", "SQ9XYZ", "DL1ABC"}));
        QCOMPARE(calls.infos(), (QStringList{"SP7ABC;;", "SQ9XYZ;_KR;JO90AA", "DL1ABC;;"}));
    }

    void emptyTextFileGivesNoCallsign() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes("empty.txt", {});
        WorkedCalls calls;
        const auto result = TextMasterFile::read(path, calls);
        QCOMPARE(result.count, 0);
        QVERIFY(calls.calls().isEmpty());
    }

    void captionFromLabel_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::newRow("empty label") << ""
                                     << "Podpowiedzi znaków  [0]";
        QTest::newRow("dta size label") << "[5480 bitów]"
                                        << "Podpowiedzi znaków  [5480 bitów]";
        QTest::newRow("callsign count") << "12"
                                        << "Podpowiedzi znaków [12]";
    }
    void captionFromLabel() {
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QCOMPARE(MasterSelection::captionFromLabel(label), caption);
    }

    void startupWithoutPathKeepsInitialCaption() {
        TempProgramFolder folder;
        IniFile ini(folder.file("kvr_log.ini"));
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        master.loadAtStartup(ini, dialogs, calls);
        QCOMPARE(master.caption(), QStringLiteral("Podpowiedzi znaków"));
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(!master.isDta());
    }

    void startupWithMissingFileWarnsAndClearsTheKey() {
        TempProgramFolder folder;
        const QString missing = folder.file("gone.dta");
        {
            IniFile ini(folder.file("kvr_log.ini"));
            ini.writeString("Master", "Plik", missing);
        }
        IniFile ini(folder.file("kvr_log.ini"));
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        master.loadAtStartup(ini, dialogs, calls);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Błąd"));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Error);
        QCOMPARE(dialogs.messages[0].text, "Plik MASTER:\n" + missing + "\nNie istnieje lub nie daje się czytać !");
        QVERIFY(master.path().isEmpty());
        IniFile reread(folder.file("kvr_log.ini"));
        QVERIFY(reread.hasKey("Master", "Plik"));
        QCOMPARE(reread.readString("Master", "Plik", "x"), QString());
    }

    void startupWithDatabaseLoadsIt() {
        TempProgramFolder folder;
        const QString path = folder.file("Calls.Dta.bak");
        QVERIFY(DtaWriter::write(path, {"SP7ABC", "SQ7AA"}));
        IniFile ini(folder.file("kvr_log.ini"));
        ini.writeString("Master", "Plik", path);
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        master.loadAtStartup(ini, dialogs, calls);
        QVERIFY(master.databaseInUse());
        const QString size = QString::number(QFileInfo(path).size());
        QCOMPARE(master.countLabel(), "[" + size + " bitów]");
        QCOMPARE(master.caption(), "Podpowiedzi znaków [" + size + " bitów]");
        QVERIFY(master.database().PartialSearch("SP7"));
    }

    void startupWithBrokenDatabaseReportsAndUsesNone() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes("broken.dta", QByteArray(6000, '\x01'));
        IniFile ini(folder.file("kvr_log.ini"));
        ini.writeString("Master", "Plik", path);
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        master.loadAtStartup(ini, dialogs, calls);
        QVERIFY(master.isDta());
        QVERIFY(!master.databaseInUse());
        QCOMPARE(dialogs.texts(), QStringList{"broken.dta is not a valid Master Callsign Database file."});
        QCOMPARE(master.caption(), QStringLiteral("Podpowiedzi znaków"));
    }

    void startupWithTextFileCountsCallsigns() {
        TempProgramFolder folder;
        const QString path = folder.writeLines("MASTER.SCP", {"# list", "SP7ABC", "SQ9XYZ", "DL1ABC"});
        IniFile ini(folder.file("kvr_log.ini"));
        ini.writeString("Master", "Plik", path);
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        master.loadAtStartup(ini, dialogs, calls);
        QVERIFY(!master.isDta());
        QCOMPARE(master.countLabel(), QStringLiteral("3"));
        QCOMPARE(master.caption(), QStringLiteral("Podpowiedzi znaków  [3]"));
        QCOMPARE(calls.calls().size(), 3);
    }

    void choosingDatabaseShowsItsInformation() {
        TempProgramFolder folder;
        const QString path = folder.file("CALLS.DTA");
        QVERIFY(DtaWriter::write(path, {"SP7ABC"}));
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        QCOMPARE(master.choose(path, dialogs, calls), MasterSelection::ChooseOutcome::Loaded);
        QVERIFY(master.databaseInUse());
        const QString size = QString::number(QFileInfo(path).size());
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Informacja o pliku MASTER"));
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Information);
        QCOMPARE(dialogs.messages[0].text,
                 "Plik : " + path + "\nData : " + master.database().fileDateText() + "\nWielkość: " + size + " bitów");
        QCOMPARE(master.countLabel(), "[" + size + " bitów]");
        IniFile ini(folder.file("kvr_log.ini"));
        master.save(ini);
        QCOMPARE(IniFile(folder.file("kvr_log.ini")).readString("Master", "Plik", {}), path);
    }

    void choosingTextFileAfterDatabaseStopsUsingTheDatabase() {
        TempProgramFolder folder;
        const QString dta = folder.file("calls.dta");
        QVERIFY(DtaWriter::write(dta, {"SP7ABC"}));
        const QString text = folder.writeLines("calls.txt", {"SQ9XYZ"});
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        master.choose(dta, dialogs, calls);
        QCOMPARE(master.choose(text, dialogs, calls), MasterSelection::ChooseOutcome::Loaded);
        QVERIFY(!master.isDta());
        QVERIFY(!master.databaseInUse());
        QCOMPARE(master.countLabel(), QStringLiteral("1"));
        QCOMPARE(calls.calls(), QStringList{"SQ9XYZ"});
    }

    void choosingMissingFileChangesNothing() {
        TempProgramFolder folder;
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        const QString missing = folder.file("nothing.txt");
        QCOMPARE(master.choose(missing, dialogs, calls), MasterSelection::ChooseOutcome::Missing);
        QCOMPARE(dialogs.lastText(), "Plik MASTER:\n" + missing + "\nNie istnieje lub nie daje się czytać !");
        QVERIFY(master.path().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMasterFile)
#include "tst_lookup_masterfile.moc"
