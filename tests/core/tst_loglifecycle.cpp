#include "analysis/operatordata.h"
#include "lifecyclefixture.h"
#include "log/loglifecycle.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

class TestLogLifecycle : public QObject {
    Q_OBJECT

private:
    static QStringList twoQsos() {
        return {kSicContact.time("10:00:00").call("SP1AAA"), kSicContact.time("10:05:00").call("SP2BBB").stx("002")};
    }
    static QString automaticMessage(const QString& path) {
        return QStringLiteral("Ponieważ nie został wybrany plik nowego logu,\nprogramautomatycznie utworzył log o "
                              "nazwie:\n\n") +
               path + QStringLiteral("\n\nSkorzystaj z funkcji ZAPISZ LOG JAKO.. w celu zmiany nazwy logu.");
    }

private slots:
    void bandAndModeChangesAreSignalledOnlyWhenTheyDiffer() {
        SessionFixture f;
        QSignalSpy bands(&f.session, &LogSession::bandChanged);
        QSignalSpy modes(&f.session, &LogSession::modeChanged);
        f.session.setBand(f.session.band());
        f.session.setMode(f.session.mode());
        QCOMPARE(bands.size() + modes.size(), 0);
        f.session.setBand(QStringLiteral("2M"));
        f.session.setMode(QStringLiteral("SSB"));
        QCOMPARE(bands.size(), 1);
        QCOMPARE(bands.first().first().toString(), QStringLiteral("2M"));
        QCOMPARE(modes.first().first().toString(), QStringLiteral("SSB"));
        QCOMPARE(f.session.analysisContext().currentBand, Band::fromName(u"2M"));
    }

    void cancelledNewLogGetsTheFirstFreeAutomaticName_data() {
        QTest::addColumn<QByteArray>("existingLog1");
        QTest::addColumn<QString>("expectedName");
        QTest::newRow("no automatic log yet") << QByteArray() << QStringLiteral("log1_20240601.kvr");
        QTest::newRow("log1 holds a QSO") << QByteArray(80, 'x') << QStringLiteral("log2_20240601.kvr");
        QTest::newRow("log1 shorter than 10 bytes is reused")
            << QByteArray("abc\r\n") << QStringLiteral("log1_20240601.kvr");
    }
    void cancelledNewLogGetsTheFirstFreeAutomaticName() {
        QFETCH(QByteArray, existingLog1);
        QFETCH(QString, expectedName);
        SessionFixture f(twoQsos());
        if (!existingLog1.isEmpty())
            f.folder.writeBytes(QStringLiteral("log1_20240601.kvr"), existingLog1);
        QSignalSpy reloaded(&f.session, &LogSession::logReloaded);
        LogLifecycle lifecycle(f.session);

        const auto result = lifecycle.NewLog(QStringLiteral("2024-06-01"), 3);

        QVERIFY(result);
        QCOMPARE(result->serialText, QStringLiteral("001"));
        const QString path = f.folder.file(expectedName);
        QCOMPARE(f.session.logPath(), path);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(QFileInfo(path).size(), 0);
        QVERIFY(f.session.log().isEmpty());
        QCOMPARE(reloaded.count(), 1);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Informacja"));
        QCOMPARE(f.dialogs.lastText(), automaticMessage(path));
        // The old log is not touched.
        QCOMPARE(f.folder.readLines(QStringLiteral("log.kvr")).size(), 2);
    }

    void newLogWithEveryAutomaticNameTakenKeepsTheCurrentLog() {
        SessionFixture f(twoQsos());
        for (int n = 1; n <= 3; ++n)
            f.folder.writeBytes(QStringLiteral("log%1_20240601.kvr").arg(n), QByteArray(20, 'q'));
        LogLifecycle lifecycle(f.session);
        lifecycle.setAutomaticNameLimit(3);

        QVERIFY(!lifecycle.NewLog(QStringLiteral("2024-06-01"), 1));

        QCOMPARE(f.session.logPath(), f.folder.file(QStringLiteral("log.kvr")));
        QCOMPARE(f.session.log().size(), 2);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(f.dialogs.lastText(),
                 LogLifecycle::automaticNamesExhaustedMessage(QStringLiteral("log1_20240601.kvr … log3_20240601.kvr")));
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(QFileInfo(f.folder.file(QStringLiteral("log%1_20240601.kvr").arg(n))).size(), 20);
    }

    void newLogChosenNameIsLowerCasedAndGetsItsExtension() {
        SessionFixture f(twoQsos());
        f.dialogs.fileAnswers.push_back(f.folder.file(QStringLiteral("Zawody_SP")));
        LogLifecycle lifecycle(f.session);

        const auto result = lifecycle.NewLog(QStringLiteral("2024-06-01"), 2);

        QVERIFY(result);
        QCOMPARE(result->serialText, QStringLiteral("01"));
        QCOMPARE(f.session.logPath(), f.folder.file(QStringLiteral("zawody_sp.kvr")));
        QVERIFY(QFileInfo::exists(f.session.logPath()));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void newLogOntoAnExistingFileAsksAndNoChoosesAgain() {
        SessionFixture f(twoQsos());
        const QString existing = f.folder.writeLines(QStringLiteral("stary.kvr"), twoQsos());
        f.dialogs.fileAnswers = {existing, f.folder.file(QStringLiteral("nowy.kvr"))};
        f.dialogs.buttonAnswers = {DialogButton::No};
        LogLifecycle lifecycle(f.session);

        QVERIFY(lifecycle.NewLog(QStringLiteral("2024-06-01"), 3));

        QCOMPARE(f.dialogs.messages.size(), 1);
        const ShownMessage& asked = f.dialogs.messages.first();
        QCOMPARE(asked.title, QStringLiteral("Ostrzeżenie"));
        QCOMPARE(asked.defaultButton, DialogButton::No);
        QCOMPARE(asked.text, QStringLiteral("Plik ") + existing +
                                 QStringLiteral(" istnieje!\n\nWybierz:\nTAK - aby zastąpić istniejący plik\nNIE  "
                                                "- aby ponownie wybrać nazwę pliku"));
        QCOMPARE(f.folder.readLines(QStringLiteral("stary.kvr")).size(), 2);
        QCOMPARE(f.session.logPath(), f.folder.file(QStringLiteral("nowy.kvr")));
    }

    void newLogOntoAnExistingFileWithYesEmptiesIt() {
        SessionFixture f(twoQsos());
        const QString existing = f.folder.writeLines(QStringLiteral("stary.kvr"), twoQsos());
        f.dialogs.fileAnswers = {existing};
        f.dialogs.buttonAnswers = {DialogButton::Yes};
        LogLifecycle lifecycle(f.session);

        QVERIFY(lifecycle.NewLog(QStringLiteral("2024-06-01"), 3));

        QCOMPARE(f.session.logPath(), existing);
        QCOMPARE(QFileInfo(existing).size(), 0);
    }

    void openLogRestoresTheSerial_data() {
        QTest::addColumn<QString>("lastStx");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("serial with locator 017 KO02MD") << QStringLiteral("017-KO02MD") << 3 << QStringLiteral("018");
        QTest::newRow("plain serial, two digits") << QStringLiteral("9") << 2 << QStringLiteral("10");
        QTest::newRow("serial beyond the format keeps its digits")
            << QStringLiteral("1234") << 3 << QStringLiteral("1235");
        QTest::newRow("fixed group is not a number") << QStringLiteral("SIC") << 3 << QStringLiteral("1");
        QTest::newRow("empty log") << QString() << 3 << QStringLiteral("001");
    }
    void openLogRestoresTheSerial() {
        QFETCH(QString, lastStx);
        QFETCH(int, digits);
        QFETCH(QString, expected);
        SessionFixture f;
        QStringList lines;
        if (!lastStx.isNull())
            lines = {kSicContact.time("09:00:00").band("2M").mode("FM").call("SP3CCC").stx("3"),
                     kSicContact.time("10:00:00").band("2M").mode("FM").call("SP1AAA").stx(lastStx)};
        f.folder.writeLines(QStringLiteral("zawody.kvr"), lines);
        f.dialogs.fileAnswers.push_back(f.folder.file(QStringLiteral("zawody")));
        LogLifecycle lifecycle(f.session);

        const auto result = lifecycle.OpenLog(true, digits);

        QVERIFY(result);
        QCOMPARE(result->serialText.value_or(QStringLiteral("<none>")), expected);
        QCOMPARE(f.session.logPath(), f.folder.file(QStringLiteral("zawody.kvr")));
        QCOMPARE(f.session.log().size(), lines.size());
    }

    void openLogWithoutAutoIncrementLeavesTheSerialAndCancelChangesNothing() {
        SessionFixture f(twoQsos());
        f.folder.writeLines(QStringLiteral("inny.kvr"), {kSicContact.time("11:00:00").call("SP5X")});
        LogLifecycle lifecycle(f.session);

        QVERIFY(!lifecycle.OpenLog(true, 3));
        QCOMPARE(f.session.log().size(), 2);

        f.dialogs.fileAnswers.push_back(f.folder.file(QStringLiteral("inny.kvr")));
        const auto result = lifecycle.OpenLog(false, 3);
        QVERIFY(result);
        QVERIFY(!result->serialText);
        QCOMPARE(f.session.log().size(), 1);
    }

    void saveAsOntoTheCurrentNameIsRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("the same name") << QStringLiteral("log.kvr");
        QTest::newRow("the same name without its extension") << QStringLiteral("log");
    }
    void saveAsOntoTheCurrentNameIsRefused() {
        QFETCH(QString, typed);
        SessionFixture f(twoQsos());
        const QByteArray before = fileBytes(f.session.logPath());
        f.dialogs.fileAnswers = {f.folder.file(typed), f.folder.file(QStringLiteral("kopia"))};
        f.session.operatorData.contestCall = QStringLiteral("SP9ABC/P");
        LogLifecycle lifecycle(f.session);

        QVERIFY(lifecycle.SaveLogAs(f.session.operatorData));

        QCOMPARE(f.dialogs.fileRequests.first().proposedName, QStringLiteral("sp9abc_p.kvr"));
        QCOMPARE(f.dialogs.fileRequests.size(), 2);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(f.dialogs.lastText(),
                 QStringLiteral("Log o tej nazwie jest właśnie używany.\nUżyj innej nazwy logu."));
        const QString saved = f.folder.file(QStringLiteral("kopia.kvr"));
        QCOMPARE(f.session.logPath(), saved);
        QCOMPARE(fileBytes(saved), before);
        QCOMPARE(fileBytes(f.folder.file(QStringLiteral("log.kvr~"))), before);
        QCOMPARE(fileBytes(f.folder.file(QStringLiteral("log.kvr"))), before);
    }

    void saveAsOntoAnExistingFileFollowsTheAnswer() {
        SessionFixture f(twoQsos());
        const QString other = f.folder.writeLines(QStringLiteral("inny.kvr"), {QStringLiteral("x")});
        LogLifecycle lifecycle(f.session);

        f.dialogs.fileAnswers = {other};
        f.dialogs.buttonAnswers = {DialogButton::Cancel};
        QVERIFY(!lifecycle.SaveLogAs(f.session.operatorData));
        QCOMPARE(f.dialogs.lastText(),
                 QStringLiteral("Plik ") + other + QStringLiteral(" istnieje.\nCzy zastąpić istniejący plik?"));
        QCOMPARE(f.dialogs.messages.last().buttons,
                 unsigned(DialogButton::Yes) | unsigned(DialogButton::No) | unsigned(DialogButton::Cancel));
        QCOMPARE(f.folder.readLines(QStringLiteral("inny.kvr")), QStringList{QStringLiteral("x")});
        QVERIFY(!QFileInfo::exists(f.folder.file(QStringLiteral("log.kvr~"))));

        f.dialogs.fileAnswers = {other, other};
        f.dialogs.buttonAnswers = {DialogButton::No, DialogButton::Yes};
        QVERIFY(lifecycle.SaveLogAs(f.session.operatorData));
        QCOMPARE(f.dialogs.fileRequests.size(), 3);
        QCOMPARE(f.folder.readLines(QStringLiteral("inny.kvr")), twoQsos());
        QCOMPARE(f.session.logPath(), other);
    }

    void choosersOpenInTheLogFolderThenInTheFolderLastChosen_data() {
        QTest::addColumn<QString>("title");
        QTest::newRow("new log") << QStringLiteral("Nowy log");
        QTest::newRow("open log") << QStringLiteral("Otwórz log");
        QTest::newRow("save log as") << QStringLiteral("Zapisz log jako");
        QTest::newRow("save a copy") << QStringLiteral("Zapisz kopię logu");
    }
    void choosersOpenInTheLogFolderThenInTheFolderLastChosen() {
        QFETCH(QString, title);
        SessionFixture f;
        // The log lives apart from the program folder and from the folder the operator picks.
        QDir(f.folder.path()).mkpath(QStringLiteral("zawody"));
        QDir(f.folder.path()).mkpath(QStringLiteral("inne"));
        f.session.setLogPath(f.folder.writeLines(QStringLiteral("zawody/log.kvr"), twoQsos()));
        f.session.reload();
        const QString picked = f.folder.writeLines(QStringLiteral("inne/wybrany.kvr"), twoQsos());
        LogLifecycle lifecycle(f.session);
        const auto run = [&] {
            if (title == QStringLiteral("Nowy log"))
                lifecycle.NewLog(QStringLiteral("2024-06-01"), 1);
            else if (title == QStringLiteral("Otwórz log"))
                lifecycle.OpenLog(true, 1);
            else if (title == QStringLiteral("Zapisz log jako"))
                lifecycle.SaveLogAs(f.session.operatorData);
            else
                lifecycle.SaveLogCopy();
        };

        f.dialogs.fileAnswers = {std::nullopt};
        run();
        QCOMPARE(f.dialogs.fileRequests.last().title, title);
        QCOMPARE(f.dialogs.fileRequests.last().directory, f.folder.file(QStringLiteral("zawody")));

        f.dialogs.fileAnswers = {picked};
        f.dialogs.buttonAnswers = {DialogButton::Yes};
        run();
        f.dialogs.fileAnswers = {std::nullopt};
        run();
        QCOMPARE(f.dialogs.fileRequests.last().directory, f.folder.file(QStringLiteral("inne")));
    }

    void withoutALogTheChoosersOpenInTheProgramFolder() {
        SessionFixture f;
        f.session.setLogPath(QString());
        LogLifecycle(f.session).OpenLog(true, 1);
        QCOMPARE(f.dialogs.fileRequests.first().directory, f.folder.path());
    }

    void saveCopyKeepsTheLogAndClearsThePendingFlagOnlyWhenWritten() {
        SessionFixture f(twoQsos());
        LogLifecycle lifecycle(f.session);
        QVERIFY(!lifecycle.copyPending());

        QVERIFY(!lifecycle.SaveLogCopy());
        QVERIFY(lifecycle.copyPending());
        QCOMPARE(f.dialogs.fileRequests.first().filter, QStringLiteral("Wszystkie pliki (*)"));

        const QString copy = f.folder.file(QStringLiteral("kopia.txt"));
        f.dialogs.fileAnswers = {copy};
        QVERIFY(lifecycle.SaveLogCopy());
        QVERIFY(!lifecycle.copyPending());
        QCOMPARE(fileBytes(copy), fileBytes(f.session.logPath()));
        QCOMPARE(f.session.logPath(), f.folder.file(QStringLiteral("log.kvr")));
        QCOMPARE(f.dialogs.messages.last().title, QStringLiteral("Informacja"));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Log został zapisany."));
    }
};

QTEST_GUILESS_MAIN(TestLogLifecycle)
#include "tst_loglifecycle.moc"
