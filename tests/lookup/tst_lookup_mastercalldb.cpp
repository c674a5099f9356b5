#include "dtawriter.h"
#include "lookup/mastercalldb.h"
#include "testsupport.h"

#include <QTest>

// The .dta reader: searches over databases built from readable lists, and files built to break the reader.
class TestMasterCallDb : public QObject {
    Q_OBJECT

private:
    const QStringList m_calls{"SP7ABC", "SQ7AA", "HF0SP7", "SP9XYZ", "DL1ABC", "SP7A_B", "OE/SP7X"};

    static QByteArray emptyDatabase() {
        QList<quint32> entries(MasterCallDatabase::kHeaderEntries, quint32(MasterCallDatabase::kHeaderSize));
        return DtaWriter::header(entries);
    }

private slots:
    void pairIndexFollowsAlphabet() {
        QCOMPARE(MasterCallDatabase::pairIndex(QLatin1Char('S'), QLatin1Char('P')), 681);
        QCOMPARE(MasterCallDatabase::pairIndex(QLatin1Char('7'), QLatin1Char('A')), 1221);
        QCOMPARE(MasterCallDatabase::pairIndex(QLatin1Char('/'), QLatin1Char('/')), 1368);
        QCOMPARE(MasterCallDatabase::code(QLatin1Char('-')), -1);
        QCOMPARE(MasterCallDatabase::code(QChar(0x0104)), -1);
    }

    void search_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("SP7 finds calls filed under S,P anywhere")
            << "SP7" << QStringList{"SP7ABC", "HF0SP7", "SP7A B", "OE/SP7X"};
        QTest::newRow("wildcard before the first known pair") << "S?7A" << QStringList{"SP7ABC", "SQ7AA", "SP7A B"};
        QTest::newRow("lower case and blanks accepted") << " sp7a " << QStringList{"SP7ABC", "SP7A B"};
        QTest::newRow("single character finds nothing") << "S" << QStringList{};
        QTest::newRow("known and wildcard only") << "S?" << QStringList{};
        QTest::newRow("wildcards around one character") << "?P?" << QStringList{};
        QTest::newRow("character outside the alphabet") << "S-7" << QStringList{};
        QTest::newRow("Polish letter") << "SPĄ" << QStringList{};
        QTest::newRow("underscore in the pattern is not a known character") << "7A_" << QStringList{};
        QTest::newRow("slash is a known character") << "E/S" << QStringList{"OE/SP7X"};
        QTest::newRow("pattern longer than every entry") << "SP7ABCDEFGH" << QStringList{};
        QTest::newRow("empty pattern") << "" << QStringList{};
    }
    void search() {
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        TempProgramFolder folder;
        const QString path = folder.file("calls.dta");
        QVERIFY(DtaWriter::write(path, m_calls));
        MasterCallDatabase db;
        QVERIFY(db.LoadDatabase(path).ok);
        QCOMPARE(db.PartialSearch(pattern), !expected.isEmpty());
        QCOMPARE(db.results(), expected);
    }

    void matchesPattern_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("matches");
        QTest::newRow("at the start") << "SP7"
                                      << "SP7ABC" << true;
        QTest::newRow("inside") << "7AB"
                                << "SP7ABC" << true;
        QTest::newRow("at the end") << "ABC"
                                    << "SP7ABC" << true;
        QTest::newRow("wildcard") << "S?7"
                                  << "SQ7AA" << true;
        QTest::newRow("longer than the entry") << "SP7ABCD"
                                               << "SP7ABC" << false;
        QTest::newRow("same length differs") << "SP7ABD"
                                             << "SP7ABC" << false;
        QTest::newRow("only wildcards up to the length") << "??????"
                                                         << "SP7ABC" << true;
        QTest::newRow("wildcards beyond the length") << "???????"
                                                     << "SP7ABC" << false;
    }
    void matchesPattern() {
        QFETCH(QString, pattern);
        QFETCH(QString, entry);
        QFETCH(bool, matches);
        QCOMPARE(MasterCallDatabase::MatchesPattern(pattern.toLatin1(), entry.toLatin1()), matches);
    }

    void emptyBlocksLoadAndFindNothing() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes("empty.dta", emptyDatabase());
        MasterCallDatabase db;
        QVERIFY(db.LoadDatabase(path).ok);
        QVERIFY(db.isLoaded());
        QCOMPARE(db.fileSize(), 5480);
        QVERIFY(!db.PartialSearch("SP7"));
        QVERIFY(db.results().isEmpty());
    }

    void databaseInfoNamesPathDateAndSize() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes("empty.dta", emptyDatabase());
        MasterCallDatabase db;
        QVERIFY(db.LoadDatabase(path).ok);
        QCOMPARE(db.fileName(), path);
        QVERIFY(db.fileDate().isValid());
        QCOMPARE(db.DatabaseInfo(), path + "   " + db.fileDateText() + "  (5480 bytes)");
    }

    void missingFileIsNotFound() {
        TempProgramFolder folder;
        MasterCallDatabase db;
        const auto result = db.LoadDatabase(folder.file("none.dta"));
        QVERIFY(!result.ok);
        QCOMPARE(result.error, "File not found: " + folder.file("none.dta"));
    }

    // Each row is a file that must be refused as "not a valid" database without reading outside it.
    void hostileFileIsRejected_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = DtaWriter::build({"SP7ABC", "SQ7AA", "DL1ABC"});
        const int sp = 681;
        auto entry = [&](int index) {
            const auto* b = reinterpret_cast<const unsigned char*>(good.constData() + 4 * index);
            return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
        };
        QByteArray bytes;

        QTest::newRow("shorter than the header") << QByteArray(5479, '\0');
        bytes = emptyDatabase();
        bytes.append('\0');
        QTest::newRow("last entry one byte short of the size") << bytes;
        bytes = good;
        DtaWriter::putEntry(bytes, 0, 5481);
        QTest::newRow("first entry not at the data") << bytes;
        bytes = good;
        DtaWriter::putEntry(bytes, sp, 0xFFFFFFF0u);
        QTest::newRow("middle entry far outside the file") << bytes;
        bytes = good;
        DtaWriter::putEntry(bytes, sp + 1, quint32(good.size()) + 100);
        QTest::newRow("block end beyond the file") << bytes;
        bytes = good;
        DtaWriter::putEntry(bytes, sp, entry(sp + 1) + 1);
        QTest::newRow("block running backwards") << bytes;
        bytes = good;
        DtaWriter::putEntry(bytes, sp, 100);
        QTest::newRow("block starting inside the header") << bytes;
        bytes = good;
        DtaWriter::putEntry(bytes, sp + 1, entry(sp + 1) - 1);
        QTest::newRow("block cut before its final NUL") << bytes;
        bytes = good;
        bytes[qsizetype(entry(sp + 1)) - 1] = 'X';
        QTest::newRow("block without its final NUL") << bytes;
        bytes = good;
        bytes[bytes.size() - 1] = 'X';
        QTest::newRow("last block without its final NUL") << bytes;
        bytes = emptyDatabase();
        for (int i = 1; i < MasterCallDatabase::kHeaderEntries - 1; ++i)
            DtaWriter::putEntry(bytes, i, 0);
        bytes.append(QByteArray(8, 'A'));
        DtaWriter::putEntry(bytes, MasterCallDatabase::kHeaderEntries - 1, quint32(bytes.size()));
        QTest::newRow("middle entries zero") << bytes;
    }
    void hostileFileIsRejected() {
        QFETCH(QByteArray, bytes);
        TempProgramFolder folder;
        const QString path = folder.writeBytes("hostile.DTA", bytes);
        MasterCallDatabase db;
        const auto result = db.LoadDatabase(path);
        QVERIFY(!result.ok);
        QCOMPARE(result.error, QStringLiteral("hostile.DTA is not a valid Master Callsign Database file."));
        QVERIFY(!db.isLoaded());
        QVERIFY(!db.PartialSearch("SP7"));
    }

    // The image is checked against the size noted before reading, so a file that grew or shrank between the
    // two is refused rather than trusted.
    void imageOfAnotherSizeIsRejected() {
        const QByteArray good = DtaWriter::build({"SP7ABC"});
        QVERIFY(MasterCallDatabase::checkImage(good, good.size()));
        QVERIFY(!MasterCallDatabase::checkImage(good.left(good.size() - 1), good.size()));
        QVERIFY(!MasterCallDatabase::checkImage(good + QByteArray(1, '\0'), good.size()));
        QVERIFY(!MasterCallDatabase::checkImage(good.left(100), 100));
    }

    void failedLoadForgetsTheEarlierDatabase() {
        TempProgramFolder folder;
        const QString goodPath = folder.file("good.dta");
        QVERIFY(DtaWriter::write(goodPath, m_calls));
        QByteArray bad = DtaWriter::build(m_calls);
        bad.chop(1);
        const QString badPath = folder.writeBytes("bad.dta", bad);
        MasterCallDatabase db;
        QVERIFY(db.LoadDatabase(goodPath).ok);
        QVERIFY(db.PartialSearch("SP7"));
        QVERIFY(!db.LoadDatabase(badPath).ok);
        QVERIFY(!db.isLoaded());
        QVERIFY(!db.PartialSearch("SP7"));
        QVERIFY(db.results().isEmpty());
    }

    void resultsFollowFileOrderAndAreRefilled() {
        TempProgramFolder folder;
        const QString path = folder.file("order.dta");
        QVERIFY(DtaWriter::write(path, {"SP9ZZZ", "SP1AAA", "SP5MMM"}));
        MasterCallDatabase db;
        QVERIFY(db.LoadDatabase(path).ok);
        QVERIFY(db.PartialSearch("SP"));
        QCOMPARE(db.results(), (QStringList{"SP9ZZZ", "SP1AAA", "SP5MMM"}));
        QVERIFY(!db.PartialSearch("DL"));
        QVERIFY(db.results().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMasterCallDb)
#include "tst_lookup_mastercalldb.moc"
