#include "contest/contestentryline.h"
#include "contest/contestrate.h"
#include "contest/contestscore.h"
#include "contest/countryfile.h"
#include "contesttext.h"
#include "core/bands.h"
#include "testqso.h"

#include <QFileInfo>
#include <QTest>

namespace {

const QDateTime kStart(QDate(2024, 6, 1), QTime(23, 30), Qt::UTC);

// A contact the given seconds after 23:30 UTC on 1 June (so a log can run over midnight).
TestQso at(qint64 seconds, const char* band = "20M") {
    const QDateTime when = kStart.addSecs(seconds);
    return TestQso()
        .date(when.date().toString(QStringLiteral("yyyy-MM-dd")))
        .time(when.time().toString(QStringLiteral("hh:mm:ss")))
        .band(QString::fromLatin1(band));
}

std::vector<QsoRecord> contactsAt(const QList<qint64>& seconds) {
    QStringList lines;
    for (qint64 s : seconds)
        lines.append(at(s));
    return testRecords(lines);
}

QList<qint64> everyMinutes(int first, int count, int step) {
    QList<qint64> seconds;
    for (int i = 0; i < count; ++i)
        seconds.append(qint64(first + i * step) * 60);
    return seconds;
}

} // namespace

Q_DECLARE_METATYPE(RateFigures)

// The rate meter, the statistics and the line under the callsign field, as the contest core gives them.
class TestContestRate : public QObject {
    Q_OBJECT

private slots:
    void rateOverTheLog_data() {
        QTest::addColumn<QList<qint64>>("contacts"); // seconds after the start
        QTest::addColumn<qint64>("now");
        QTest::addColumn<QList<qint64>>("expected"); // last 10/h, last 100/h, last 60 min, operating s, off s, offs
        QTest::newRow("empty log") << QList<qint64>{} << qint64(600) << QList<qint64>{0, 0, 0, 0, 0, 0};
        QTest::newRow("one contact now is measured over a minute")
            << QList<qint64>{300} << qint64(300) << QList<qint64>{60, 60, 1, 0, 0, 0};
        QTest::newRow("ten in five minutes") << QList<qint64>{0, 30, 60, 90, 120, 150, 180, 210, 240, 270}
                                             << qint64(300) << QList<qint64>{120, 120, 10, 270, 0, 0};
        QTest::newRow("last ten faster than the last hundred")
            << everyMinutes(0, 10, 2) + everyMinutes(20, 10, 1) << qint64(30 * 60)
            << QList<qint64>{60, 40, 20, 29 * 60, 0, 0};
        QTest::newRow("a contact exactly an hour ago is not of the last 60 minutes")
            << QList<qint64>{0, 59 * 60} << qint64(60 * 60) << QList<qint64>{2, 2, 1, 59 * 60, 0, 0};
        QTest::newRow("a gap of exactly 60 minutes is an off-time")
            << QList<qint64>{0, 3600, 3660} << qint64(3660) << QList<qint64>{2, 2, 2, 60, 3600, 1};
        QTest::newRow("a gap of 59 minutes is operating time")
            << QList<qint64>{0, 59 * 60, 60 * 60} << qint64(60 * 60) << QList<qint64>{3, 3, 2, 3600, 0, 0};
        QTest::newRow("two off-times, over midnight")
            << QList<qint64>{0, 600, 600 + 2 * 3600, 600 + 2 * 3600 + 60, 600 + 5 * 3600} << qint64(600 + 5 * 3600)
            << QList<qint64>{0, 0, 1, 660, 7200 + 10740, 2};
        QTest::newRow("contacts in any order")
            << QList<qint64>{3660, 0, 3600} << qint64(3660) << QList<qint64>{2, 2, 2, 60, 3600, 1};
    }
    void rateOverTheLog() {
        QFETCH(QList<qint64>, contacts);
        QFETCH(qint64, now);
        QFETCH(QList<qint64>, expected);
        const RateFigures rate = rateOf(contactsAt(contacts), kStart.addSecs(now));
        // The rates of the rows are worked out by hand: contacts x 3600 / seconds since the first of them.
        const QList<qint64> got{rate.last10PerHour,    rate.last100PerHour, rate.lastHour,
                                rate.operatingSeconds, rate.offSeconds,     rate.offTimes};
        QCOMPARE(got, expected);
    }

    void rateLineShowsHoursAndMinutes_data() {
        QTest::addColumn<RateFigures>("figures");
        QTest::addColumn<QString>("line");
        QTest::newRow("nothing logged") << RateFigures{}
                                        << "Tempo 10: 0/h   100: 0/h   60 min: 0   Czas pracy 0:00   Przerwy 0:00";
        QTest::newRow("hours and padded minutes")
            << RateFigures{120, 95, 87, 5 * 3600 + 12 * 60 + 59, 3900, 1}
            << "Tempo 10: 120/h   100: 95/h   60 min: 87   Czas pracy 5:12   Przerwy 1:05";
        QTest::newRow("a long contest") << RateFigures{3, 4, 5, 47 * 3600 + 60, 0, 0}
                                        << "Tempo 10: 3/h   100: 4/h   60 min: 5   Czas pracy 47:01   Przerwy 0:00";
    }
    void rateLineShowsHoursAndMinutes() {
        QFETCH(RateFigures, figures);
        QFETCH(QString, line);
        QCOMPARE(rateLine(figures), line);
    }

    // Hours by their UTC start, contacts per band and hour, the running claimed score and the continents.
    void statisticsFollowTheHoursAndTheScore() {
        CountryFile countries;
        if (!QFileInfo::exists(CountryFile::systemPath()))
            QSKIP("hamradio-files' cty.dat is not installed");
        QVERIFY(countries.load(CountryFile::systemPath()).ok);
        const ContestDefinitionRead read = parseContestDefinition(
            contestText({"Pasma=20M 40M", "Powtorzenia=pasmo"},
                        {"Regula=1 kontynent=wlasny", "Regula=3 kontynent=inny"}, {"Mnoznik=kraj pasmo"}),
            QStringLiteral("test.ini"));
        QVERIFY2(read.definition, qPrintable(read.error));
        ContestScore score(*read.definition, &countries, {QStringLiteral("SP9XYZ"), countries.find(u"SP9XYZ")}, {});
        // 23:30 hour: DL 20M (1 pt, DL), JA 20M (3, JA), DL 40M (1, DL on 40M), dupe of DL 20M;
        // 00:00 hour (the next day): SP 20M (1, SP), 80M outside the contest; 03:00 hour: JA 40M (3, JA).
        const std::vector<QsoRecord> records = testRecords(
            {at(60).call("DL1ABC"), at(120).call("JA1ABC"), at(180, "40M").call("DL1ABC"), at(240).call("DL1ABC"),
             at(1800).call("SP5ABC"), at(1900, "80M").call("OK1ABC"), at(3 * 3600 + 1800, "40M").call("JA2XYZ")});
        score.rebuild(records);
        const ContestStatistics statistics = gatherStatistics(records, &score);
        const auto band = [](const char* name) { return size_t(Band::fromName(QString::fromLatin1(name)).index()); };
        QCOMPARE(statistics.hours.size(), size_t(3));
        QCOMPARE(statistics.hours[0].hour, QDateTime(QDate(2024, 6, 1), QTime(23, 0), Qt::UTC));
        QCOMPARE(statistics.hours[1].hour, QDateTime(QDate(2024, 6, 2), QTime(0, 0), Qt::UTC));
        QCOMPARE(statistics.hours[2].hour, QDateTime(QDate(2024, 6, 2), QTime(3, 0), Qt::UTC));
        QCOMPARE(statistics.hours[0].total, 4);
        QCOMPARE(statistics.hours[0].perBand[band("20M")], 3);
        QCOMPARE(statistics.hours[0].perBand[band("40M")], 1);
        QCOMPARE(statistics.hours[1].perBand[band("80M")], 1);
        QCOMPARE(statistics.hours[1].total, 2);
        // points x multipliers at each hour's end: 5 x 3, then 6 x 4, then 9 x 5.
        QCOMPARE(statistics.hours[0].claimedAtEnd, qint64(15));
        QCOMPARE(statistics.hours[1].claimedAtEnd, qint64(24));
        QCOMPARE(statistics.hours[2].claimedAtEnd, qint64(45));
        QCOMPARE(statistics.hours[2].claimedAtEnd, score.totals().claimed);
        // The dupe and the contact outside the contest count on no continent.
        const QMap<QString, int> continents{{"EU", 3}, {"AS", 2}};
        QCOMPARE(statistics.perContinent, continents);
        std::vector<int> worked{int(band("80M")), int(band("40M")), int(band("20M"))};
        std::sort(worked.begin(), worked.end());
        QCOMPARE(bandsWorked(statistics), worked);
        // Without a score the hours still count, with no score and no continent.
        const ContestStatistics plain = gatherStatistics(records, nullptr);
        QCOMPARE(plain.hours.size(), size_t(3));
        QCOMPARE(plain.hours[2].claimedAtEnd, qint64(0));
        QVERIFY(plain.perContinent.isEmpty());
        QVERIFY(bandsWorked(gatherStatistics({}, nullptr)).empty());
    }

    void entryLineSaysCountryHeadingAndScore_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("locator");
        QTest::addColumn<int>("scored"); // -1: no contest, 0: outside, 1: counted, 2: dupe
        QTest::addColumn<QStringList>("multipliers");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("score");
        QTest::addColumn<int>("mark");
        const QStringList none;
        QTest::newRow("empty field") << "  " << true << "JO91RU" << 1 << QStringList{"DL"} << ""
                                     << "" << 0;
        QTest::newRow("no contest, no locator") << "DL1ABC" << true << "" << -1 << none << "Germany (EU)"
                                                << "" << 0;
        QTest::newRow("no contest, heading from the locator")
            << "DL1ABC" << true << "JO91RU" << -1 << none << "Germany (EU)   Azymut:  265°"
            << "" << 0;
        QTest::newRow("mistyped locator gives no heading")
            << "DL1ABC" << true << "JO91R" << -1 << none << "Germany (EU)"
            << "" << 0;
        QTest::newRow("unknown call") << "XX" << false << "JO91RU" << 1 << none << "Kraj nieznany"
                                      << "0 pkt" << 0;
        QTest::newRow("new multipliers") << "DL1ABC" << true << "" << 1 << QStringList{"DL", "EU"} << "Germany (EU)"
                                         << "NOWY MNOŻNIK: DL, EU   3 pkt" << 1;
        QTest::newRow("points only") << "DL1ABC" << true << "" << 1 << none << "Germany (EU)"
                                     << "3 pkt" << 0;
        QTest::newRow("dupe") << "DL1ABC" << true << "" << 2 << QStringList{"DL"} << "Germany (EU)"
                              << "DUPE w zawodach" << 2;
        QTest::newRow("outside the contest") << "DL1ABC" << true << "" << 0 << none << "Germany (EU)"
                                             << "poza zawodami" << 0;
    }
    void entryLineSaysCountryHeadingAndScore() {
        QFETCH(QString, call);
        QFETCH(bool, known);
        QFETCH(QString, locator);
        QFETCH(int, scored);
        QFETCH(QStringList, multipliers);
        QFETCH(QString, country);
        QFETCH(QString, score);
        QFETCH(int, mark);
        // Germany's centre as the country file gives it.
        Country germany{"Germany", "DL", "DL", "EU", 14, 28, 51.0, 10.0};
        std::optional<ContactScore> contact;
        if (scored >= 0) {
            contact.emplace();
            contact->inContest = scored > 0;
            contact->dupe = scored == 2;
            contact->points = known ? 3 : 0;
            contact->newMultipliers = multipliers;
        }
        const ContestEntryLine line =
            contestEntryLine(call, known ? std::optional<Country>(germany) : std::nullopt, contact, locator);
        QCOMPARE(line.country, country);
        QCOMPARE(line.score, score);
        QCOMPARE(int(line.mark), mark);
    }
};

QTEST_GUILESS_MAIN(TestContestRate)
#include "tst_contestrate.moc"
