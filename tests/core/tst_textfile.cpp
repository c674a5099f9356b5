#include "core/logfile.h"
#include "core/textfile.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void polishLettersRoundTripThroughWindows1250() {
        const QString text = QStringLiteral("Zażółć gęślą jaźń ŁÓDŹ Świętokrzyskie");
        const QByteArray bytes = TextFile::encode(text);
        QCOMPARE(bytes.size(), text.size());
        QCOMPARE(bytes.at(2), char(0xBF)); // ż
        QCOMPARE(TextFile::decode(bytes), text);
    }

    void everyByteSurvivesReadAndWrite() {
        QByteArray all;
        for (int b = 1; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                all.append(char(b));
        }
        QCOMPARE(TextFile::encode(TextFile::decode(all)), all);
    }

    void unrepresentableCharactersBecomeQuestionMarks() {
        QCOMPARE(TextFile::encode(QStringLiteral("a€b日c")), QByteArray("a\x80"
                                                                        "b?c"));
    }

    void lineEndsOfEveryKindAreAccepted_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("CR only") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("truncated last line") << QByteArray("a\r\nbc") << QStringList{"a", "bc"};
        QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("NUL bytes") << QByteArray("a\0b\n", 4)
                                   << QStringList{QString(QStringLiteral("a")) + QChar(0) + "b"};
    }
    void lineEndsOfEveryKindAreAccepted() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        TempProgramFolder folder;
        const QString path = folder.writeBytes(QStringLiteral("f.txt"), bytes);
        QStringList read;
        QVERIFY(TextFile::readLines(path, read));
        QCOMPARE(read, lines);
    }

    void crLfSplitAcrossReadChunksIsOneLineEnd() {
        TempProgramFolder folder;
        QByteArray bytes((1 << 20) - 1, 'x');
        bytes += "\r\nnext\r\n";
        const QString path = folder.writeBytes(QStringLiteral("big.txt"), bytes);
        QStringList read;
        QVERIFY(TextFile::readLines(path, read));
        QCOMPARE(read.size(), 2);
        QCOMPARE(read.at(1), QStringLiteral("next"));
    }

    void missingFileIsAClearFailure() {
        TempProgramFolder folder;
        QStringList read;
        const TextFile::Status status = TextFile::readLines(folder.file(QStringLiteral("nope.kvr")), read);
        QVERIFY(!status);
        QVERIFY(status.error.contains(QStringLiteral("nope.kvr")));
    }

    void writeAppendAndCopyKeepCrLfAndContent() {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("log.kvr"));
        QVERIFY(TextFile::writeLines(path, {QStringLiteral("jeden"), QStringLiteral("dwa")}));
        QVERIFY(LogFile(path).append({QStringLiteral("trzy ł")}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("jeden\r\ndwa\r\ntrzy \xB3\r\n"));
        QVERIFY(TextFile::copyFile(path, path + QLatin1Char('~')));
        QCOMPARE(folder.readLines(QStringLiteral("log.kvr~")).size(), 3);
    }

    void appendToAFolderFails() {
        TempProgramFolder folder;
        QVERIFY(!LogFile(folder.path()).append({QStringLiteral("x")}));
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
