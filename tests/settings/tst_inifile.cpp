#include "entry/startupoptions.h"
#include "platform/programfolder.h"
#include "settings/inifile.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestIniFile : public QObject {
    Q_OBJECT

private slots:
    void missingFileGivesTheDefaults() {
        TempProgramFolder folder;
        const IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
        QVERIFY(!ini.exists());
        QCOMPARE(ini.readString("Program", "Log", "x"), QStringLiteral("x"));
        QCOMPARE(ini.readInteger("Klucz CW", "Predkosc", 25), 25);
        QCOMPARE(ini.readBool("Program", "Jedno QSO", true), true);
    }

    void keysWithPolishLettersBlanksAndEqualsSignsRoundTrip() {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("kvr_log.ini"));
        {
            IniFile ini(path);
            QVERIFY(ini.writeString("Klucz CW", "Opóźnienie PTT", "30"));
            QVERIFY(ini.writeInteger("Master", "Szerokość", -120));
            QVERIFY(ini.writeBool("EDI", "Mnożnik=lokator", true));
            QVERIFY(ini.writeFloat("Klucz CW", "Wsp. kalibracji", 1.025));
            QVERIFY(ini.writeString("Operator", "Name", "Jan Kowalski = SP9ABC"));
        }
        // Every write is on the disk at once: a fresh reader sees it.
        const IniFile ini(path);
        QCOMPARE(ini.readString("klucz cw", "OPÓŹNIENIE PTT", ""), QStringLiteral("30"));
        QCOMPARE(ini.readInteger("Master", "Szerokość", 0), -120);
        QCOMPARE(ini.readBool("EDI", "Mnożnik=lokator", false), true);
        QCOMPARE(ini.readFloat("Klucz CW", "Wsp. kalibracji", 0), 1.025);
        QCOMPARE(ini.readString("Operator", "Name", ""), QStringLiteral("Jan Kowalski = SP9ABC"));
    }

    void rewritingAKeyKeepsTheRestOfTheFile() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes(
            QStringLiteral("kvr_log.ini"),
            QByteArray(
                "; komentarz\r\n[Program]\r\nLog=C:\\a.kvr\r\nPasmo=20M\r\n\r\n[Operator]\r\nLokator=JO91RU\r\n"));
        IniFile ini(path);
        QVERIFY(ini.writeString("Program", "Pasmo", "40M"));
        QVERIFY(ini.writeString("Program", "Emisja", "CW"));
        QVERIFY(ini.writeString("Nowa", "Klucz", "1"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("; komentarz\r\n[Program]\r\nLog=C:\\a.kvr\r\nPasmo=40M\r\nEmisja=CW\r\n\r\n"
                            "[Operator]\r\nLokator=JO91RU\r\n\r\n[Nowa]\r\nKlucz=1\r\n"));
    }

    void windows1250FileIsReadAsSuch() {
        TempProgramFolder folder;
        const QString path =
            folder.writeBytes(QStringLiteral("kvr_log.ini"), QByteArray("[Klucz CW]\r\nG\xB3o\x9Cno\x9C\xE6=70\r\n"));
        IniFile ini(path);
        QCOMPARE(ini.readInteger("Klucz CW", "Głośność", 0), 70);
        // Written back as UTF-8 without losing the old key.
        QVERIFY(ini.writeInteger("Klucz CW", "Ton", 700));
        const IniFile again(path);
        QCOMPARE(again.readInteger("Klucz CW", "Głośność", 0), 70);
        QCOMPARE(again.readInteger("Klucz CW", "Ton", 0), 700);
    }

    void leadingByteOrderMarksAreSkipped_data() {
        QTest::addColumn<int>("marks");
        QTest::addColumn<QByteArray>("body");
        const QByteArray utf8("[Program]\r\nLog=dzie\xC5\x84.kvr\r\n");
        QTest::newRow("one") << 1 << utf8;
        QTest::newRow("three") << 3 << utf8;
        QTest::newRow("seven") << 7 << utf8;
        QTest::newRow("three before Windows-1250 text") << 3 << QByteArray("[Program]\r\nLog=dzie\xF1.kvr\r\n");
    }
    void leadingByteOrderMarksAreSkipped() {
        QFETCH(int, marks);
        QFETCH(QByteArray, body);
        TempProgramFolder folder;
        const IniFile ini(
            folder.writeBytes(QStringLiteral("kvr_log.ini"), QByteArray("\xEF\xBB\xBF").repeated(marks) + body));
        QCOMPARE(ini.readString("Program", "Log", "none"), QStringLiteral("dzień.kvr"));
    }

    void numbersThatDoNotParseGiveTheDefault_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << "42" << 42;
        QTest::newRow("negative colour") << "-16777201" << -16777201;
        QTest::newRow("hexadecimal") << "$FF" << 255;
        QTest::newRow("blanks around") << "  7 " << 7;
        QTest::newRow("trailing junk") << "12abc" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("too large") << "99999999999" << -1;
        QTest::newRow("sign only") << "-" << -1;
    }
    void numbersThatDoNotParseGiveTheDefault() {
        QFETCH(QString, value);
        QFETCH(int, expected);
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("kvr_log.ini"));
        IniFile(path).writeString("S", "K", value);
        QCOMPARE(IniFile(path).readInteger("S", "K", -1), expected);
    }

    void junkFileNeverBreaksReading() {
        TempProgramFolder folder;
        QByteArray junk;
        for (int i = 0; i < 20000; ++i)
            junk.append(char((i * 131) % 256));
        junk += "\n[Operator\n=\n==\n[]\nLokator\n[Operator]\nLokator=KO02AA\n";
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"), junk);
        IniFile ini(path);
        QCOMPARE(ini.readString("Operator", "Lokator", ""), QStringLiteral("KO02AA"));
        QVERIFY(ini.writeString("Operator", "Lokator", "JO91RU"));
        QCOMPARE(IniFile(path).readString("Operator", "Lokator", ""), QStringLiteral("JO91RU"));
    }

    void batchWritesOnceAtTheEnd() {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("kvr_log.ini"));
        IniFile ini(path);
        {
            IniFile::Batch batch(ini);
            ini.writeInteger("Widok", "Log", 1);
            ini.writeInteger("Widok", "Powiaty", 0);
            QVERIFY(!QFile::exists(path));
        }
        QCOMPARE(IniFile(path).readInteger("Widok", "Powiaty", -1), 0);
    }

    void startupOptionsFollowTheStartupRules() {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("kvr_log.ini"));
        {
            IniFile ini(path);
            ini.writeString("Analiza grupy", "Opcja", "Lokator");
            ini.writeString("Analiza grupy", "ODX", "9");
            ini.writeString("Analiza grupy", "Analiza", "1");
            ini.writeString("Program", "Log", folder.file(QStringLiteral("gone.kvr")));
        }
        const ProgramFolder programFolder(folder.path());
        StartupOptions options = StartupOptions::read(IniFile(path), programFolder);
        // "Lokator" without an own locator falls back to the county mode.
        QCOMPARE(options.analysis.mode, AnalysisMode::County);
        QCOMPARE(options.analysis.sameLocatorKm, 5);
        QVERIFY(options.analysis.enabled);
        QCOMPARE(options.logPath, programFolder.file(QStringLiteral("log.kvr")));
        IniFile(path).writeString("Operator", "Lokator", "JO91RU");
        options = StartupOptions::read(IniFile(path), programFolder);
        QCOMPARE(options.analysis.mode, AnalysisMode::Locator);
    }

    // A settings file the program cannot read is never written over: it would come back with one key.
    void unreadableFileIsNeverWritten_data() {
        QTest::addColumn<bool>("folder");
        QTest::newRow("no read permission") << false;
        QTest::newRow("a folder of that name") << true;
    }
    void unreadableFileIsNeverWritten() {
        QFETCH(bool, folder);
        TempProgramFolder program;
        const QString path = program.file(QStringLiteral("kvr_log.ini"));
        const QByteArray content("[Program]\r\nSTX=017\r\n");
        if (folder) {
            QVERIFY(QDir(program.path()).mkdir(QStringLiteral("kvr_log.ini")));
        } else {
            program.writeBytes(QStringLiteral("kvr_log.ini"), content);
            QFile::setPermissions(path, QFileDevice::WriteOwner);
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("this user reads files without read permission (root)");
        }
        IniFile ini(path);
        QVERIFY(ini.isUnreadable());
        QVERIFY(!ini.exists());
        QCOMPARE(ini.readString("Program", "STX", "001"), QStringLiteral("001"));
        const TextFile::Status written = ini.writeString("Program", "Log", "x.kvr");
        QVERIFY(!written);
        QVERIFY(written.error.contains(path));
        QVERIFY(ini.unreadableMessage().startsWith(QStringLiteral("Nie można odczytać pliku ustawień:\n") + path));
        {
            IniFile::Batch batch(ini);
            ini.writeBool("Widok", "Log", true);
        }
        if (folder) {
            QVERIFY(QFileInfo(path).isDir());
        } else {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content);
        }
    }

    void largeFileIsReadAndWrittenWhole() {
        TempProgramFolder folder;
        QByteArray big("[Program]\r\nSTX=001\r\n[Notatki]\r\n");
        const QByteArray line = QByteArray(100, 'x') + "\r\n";
        while (big.size() < (9 << 20))
            big += line;
        big += "Ostatni=tak\r\n";
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"), big);
        IniFile ini(path);
        QCOMPARE(ini.readString("Notatki", "Ostatni", ""), QStringLiteral("tak"));
        QVERIFY(ini.writeString("Program", "STX", "002"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray after = file.readAll();
        QCOMPARE(after.size(), big.size());
        QVERIFY(after.endsWith("Ostatni=tak\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
