#include "core/qsoline.h"
#include "core/textfile.h"
#include "lifecyclefixture.h"
#include "log/logedit.h"
#include "testqso.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

class TestLogEdit : public QObject {
    Q_OBJECT

private:
    static QStringList dupePair() {
        return {kSicContact.time("10:00:00").call("SP1AAA"), kSicContact.time("10:05:00").call("SP1AAA").stx("002"),
                kSicContact.time("10:10:00").call("SP2BBB").stx("003")};
    }
    static QString refusal(const QString& what) { return what + QStringLiteral("\n\nZmiany nie została wprowadzone."); }

private slots:
    void editedFieldsGiveTheLineBack() {
        const QString line =
            TestQso().time("12:34:56").band("6M").mode("FM").call("SP9ABC").stx("017-KO02MD").srx("JO91RU");
        const EditedQso fields = EditedQso::fromQso(qsoOf(line + QStringLiteral("  12")));
        QCOMPARE(fields.time, QStringLiteral("123456"));
        QCOMPARE(fields.band, QStringLiteral("6M"));
        QCOMPARE(fields.stx, QStringLiteral("017 KO02MD"));
        QCOMPARE(fields.compose(), line);
    }

    // The log file is written back from the contacts in memory: every line the edit or the delete does not
    // touch stays byte for byte. The one change is the dupe mark the demo file lacks on its fifth line, which the
    // load works out again and the first rewrite writes.
    void rewritesKeepTheOtherLinesByteForByte() {
        QFile demo(QStringLiteral(KVR_SOURCE_DIR "/data/demo.kvr"));
        QVERIFY(demo.open(QIODevice::ReadOnly));
        const QByteArray original = demo.readAll();
        QStringList lines;
        TextFile::forEachLine(demo.fileName(), [&lines](QString&& line) {
            lines.append(line);
            return true;
        });
        SessionFixture f(lines);
        QCOMPARE(fileBytes(f.session.logPath()), original);
        QByteArray marked = original;
        marked.replace("014 GW \r\n", "014 GW DUPE\r\n");
        QCOMPARE(f.session.log().fileBytes(), marked);

        EditedQso fields = EditedQso::fromQso(f.session.log().qso(2));
        const QString call = fields.call;
        fields.call = QStringLiteral("SP7ZZZ");
        QCOMPARE(LogEdit::SaveEditedQso(f.session, 2, fields).outcome, LogEdit::EditOutcome::Saved);
        fields.call = call;
        QCOMPARE(LogEdit::SaveEditedQso(f.session, 2, fields).outcome, LogEdit::EditOutcome::Saved);
        QCOMPARE(fileBytes(f.session.logPath()), marked);

        f.dialogs.buttonAnswers.push_back(DialogButton::Yes);
        QVERIFY(LogEdit::DeleteQso(f.session, 1).deleted);
        QByteArray withoutSecond = marked;
        const qsizetype second = withoutSecond.indexOf('\n') + 1;
        withoutSecond.remove(second, withoutSecond.indexOf('\n', second) + 1 - second);
        QCOMPARE(fileBytes(f.session.logPath()), withoutSecond);
    }

    void badFieldIsRefusedAndNothingChanges_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("date of 9 characters") << "date"
                                              << "2024-06-1" << refusal("Została wprowadzona niewłaściwa data!");
        QTest::newRow("time of 5 digits") << "time"
                                          << "12345" << refusal("Został wprowadzony niewłaściwy czas!");
        QTest::newRow("mode of 3 characters") << "mode"
                                              << "CWX" << refusal("Została wprowadzona niewłaściwa emisja!");
        QTest::newRow("band not in the table") << "band"
                                               << "21M" << refusal("Zostało wprowadzone niewłaściwe pasmo!");
        QTest::newRow("band that is no number") << "band"
                                                << "XX" << refusal("Zostało wprowadzone niewłaściwe pasmo!");
    }
    void badFieldIsRefusedAndNothingChanges() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        SessionFixture f(dupePair());
        const QByteArray before = fileBytes(f.session.logPath());
        EditedQso fields = EditedQso::fromQso(f.session.log().qso(0));
        fields.call = QStringLiteral("SP7ZZZ");
        if (field == QLatin1String("date"))
            fields.date = value;
        else if (field == QLatin1String("time"))
            fields.time = value;
        else if (field == QLatin1String("mode"))
            fields.modeCode = value;
        else
            fields.band = value;

        const LogEdit::EditResult result = LogEdit::SaveEditedQso(f.session, 0, fields);

        QCOMPARE(result.outcome, LogEdit::EditOutcome::Refused);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Error);
        QCOMPARE(f.dialogs.lastText(), message);
        QCOMPARE(fileBytes(f.session.logPath()), before);
        QVERIFY(!QFileInfo::exists(f.session.logPath() + QStringLiteral("~")));
        QCOMPARE(f.session.log().line(0), dupePair().first());
    }

    void editRewritesTheFileReloadsAndRecomputesTheDupeMark() {
        SessionFixture f(dupePair());
        QVERIFY(QsoLine::isDupe(f.session.log().line(1)));
        const QByteArray before = fileBytes(f.session.logPath());
        QSignalSpy selected(&f.session, &LogSession::rowSelectionRequested);
        EditedQso fields = EditedQso::fromQso(f.session.log().qso(1));
        fields.call = QStringLiteral("SP1AAB");
        fields.time = QStringLiteral("103000");

        const LogEdit::EditResult result = LogEdit::SaveEditedQso(f.session, 1, fields);

        QCOMPARE(result.outcome, LogEdit::EditOutcome::Saved);
        QCOMPARE(result.row, 2);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.first().first().value<qsizetype>(), 2);
        QCOMPARE(fileBytes(f.session.logPath() + QStringLiteral("~")), before);
        const QStringList onDisk = f.folder.readLines(QStringLiteral("log.kvr"));
        QCOMPARE(onDisk.size(), 3);
        QCOMPARE(onDisk.at(2), fields.compose());
        for (const QString& line : f.session.log().lineTexts())
            QVERIFY2(!QsoLine::isDupe(line), qPrintable(line));
    }

    void editGivingTheSameLineChangesNothing() {
        SessionFixture f(dupePair());
        const LogEdit::EditResult result =
            LogEdit::SaveEditedQso(f.session, 0, EditedQso::fromQso(f.session.log().qso(0)));
        QCOMPARE(result.outcome, LogEdit::EditOutcome::Unchanged);
        QVERIFY(!QFileInfo::exists(f.session.logPath() + QStringLiteral("~")));
    }

    void editBackupHoldsTheWholeLogUnderTheLocalTime() {
        SessionFixture f(dupePair());
        QVERIFY(LogEdit::writeEditBackup(f.session));
        const QString backup =
            QDir(f.folder.file(QStringLiteral("Backup_logs"))).filePath(QStringLiteral("edit_2024_06_01_123456.kvr"));
        QVERIFY(QFileInfo::exists(backup));
        QStringList lines;
        TextFile::readLines(backup, lines);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(1).endsWith(QStringLiteral(" DUPE")));
    }

    void deleteAsksAndFollowsTheAnswer() {
        SessionFixture f(dupePair());
        QVERIFY(!LogEdit::DeleteQso(f.session, -1).deleted);
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Należy najpierw zaznaczyć łączność do usunięcia!"));
        QCOMPARE(f.dialogs.messages.last().title, QStringLiteral("Błąd"));

        f.dialogs.buttonAnswers = {DialogButton::No};
        QVERIFY(!LogEdit::DeleteQso(f.session, 0).deleted);
        QCOMPARE(f.dialogs.messages.last().title, QStringLiteral("Potwierdzenie"));
        QCOMPARE(f.dialogs.messages.last().icon, MessageIcon::Question);
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Czy na pewno usunąć zaznaczoną łączność?"));
        QCOMPARE(f.session.log().size(), 3);
        QVERIFY(!QFileInfo::exists(f.session.logPath() + QStringLiteral("~")));
    }

    void deletingTheFirstOfTwoRemovesTheMarkFromTheSecond() {
        SessionFixture f(dupePair());
        const QByteArray before = fileBytes(f.session.logPath());
        f.dialogs.buttonAnswers = {DialogButton::Yes};

        const LogEdit::DeleteResult result = LogEdit::DeleteQso(f.session, 0);

        QVERIFY(result.deleted);
        QVERIFY(!result.newestDeleted);
        QCOMPARE(fileBytes(f.session.logPath() + QStringLiteral("~")), before);
        QCOMPARE(f.session.log().size(), 2);
        QVERIFY(!QsoLine::isDupe(f.session.log().line(0)));
        QCOMPARE(f.folder.readLines(QStringLiteral("log.kvr")).size(), 2);
    }

    void deletingTheNewestIsReported() {
        SessionFixture f(dupePair());
        f.dialogs.buttonAnswers = {DialogButton::Yes};
        const LogEdit::DeleteResult result = LogEdit::DeleteQso(f.session, 2);
        QVERIFY(result.deleted);
        QVERIFY(result.newestDeleted);
    }

    void aLogThatStoppedAtABadLineIsNeverRewritten() {
        QStringList lines = dupePair();
        lines.insert(1, QStringLiteral("2024-06-01 100200 XYZ  CW 599          001 SP9BAD          599          SIC "));
        SessionFixture f(lines);
        QCOMPARE(f.session.log().size(), 1);
        QVERIFY(!f.session.logComplete());
        const QByteArray before = fileBytes(f.session.logPath());
        f.dialogs.buttonAnswers = {DialogButton::Yes};

        QVERIFY(!LogEdit::DeleteQso(f.session, 0).deleted);
        EditedQso fields = EditedQso::fromQso(f.session.log().qso(0));
        fields.call = QStringLiteral("SP7ZZZ");
        QCOMPARE(LogEdit::SaveEditedQso(f.session, 0, fields).outcome, LogEdit::EditOutcome::Refused);

        QCOMPARE(fileBytes(f.session.logPath()), before);
        QCOMPARE(f.dialogs.texts().count(LogEdit::incompleteLogMessage()), 2);
    }

    void serialStepsBackAfterTheNewestIsDeleted_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("015 with three digits") << "015" << 3 << "014";
        QTest::newRow("10 with two digits") << "10" << 2 << "09";
        QTest::newRow("not a number is left alone") << "SIC" << 3 << "<none>";
    }
    void serialStepsBackAfterTheNewestIsDeleted() {
        QFETCH(QString, serial);
        QFETCH(int, digits);
        QFETCH(QString, expected);
        QCOMPARE(LogEdit::serialAfterDeletingNewest(serial, digits).value_or(QStringLiteral("<none>")), expected);
    }
};

QTEST_GUILESS_MAIN(TestLogEdit)
#include "tst_logedit.moc"
