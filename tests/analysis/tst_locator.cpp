#include "analysis/locator.h"

#include <QTest>

class TestLocator : public QObject {
    Q_OBJECT

private slots:
    void validation_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("JO91RU") << "JO91RU" << false;
        QTest::newRow("KO02AA") << "KO02AA" << false;
        QTest::newRow("RR99XX corner") << "RR99XX" << false;
        QTest::newRow("lower case") << "jo91ru" << true;
        QTest::newRow("five characters") << "JO91R" << true;
        QTest::newRow("seven characters") << "JO91RUX" << true;
        QTest::newRow("S beyond R") << "SO91RU" << true;
        QTest::newRow("letter in a digit position") << "JO9ARU" << true;
        QTest::newRow("Y beyond X") << "JO91RY" << true;
        QTest::newRow("empty") << "" << true;
    }
    void validation() {
        QFETCH(QString, text);
        QFETCH(bool, invalid);
        QCOMPARE(LocatorInvalid(text), invalid);
    }

    void coordinatesAreTheCentreOfTheSubSquare() {
        const Coordinates low = LocatorToCoordinates(u"AA00AA");
        QCOMPARE(low.longitude, -180.0 + 1.0 / 24);
        QCOMPARE(low.latitude, -90.0 + 1.0 / 48);
        const Coordinates high = LocatorToCoordinates(u"RR99XX");
        QCOMPARE(high.longitude, 180.0 - 1.0 / 24);
        QCOMPARE(high.latitude, 90.0 - 1.0 / 48);
    }

    void distanceAndAzimuth_data() {
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("other");
        QTest::addColumn<int>("km");
        QTest::addColumn<double>("azimuth");
        QTest::newRow("JO91RU-KO02AA") << "JO91RU"
                                       << "KO02AA" << 45 << 64.9;
        QTest::newRow("KO02AA-JO91RU") << "KO02AA"
                                       << "JO91RU" << 45 << 245.4;
        QTest::newRow("JO91RU-JN99AA") << "JO91RU"
                                       << "JN99AA" << 331 << 198.2;
        QTest::newRow("KO00AA-FN31PR") << "KO00AA"
                                       << "FN31PR" << 6767 << 301.4;
        QTest::newRow("beyond a quarter of the globe") << "KO00AA"
                                                       << "RE78IR" << 17827 << 73.3;
        QTest::newRow("same locator") << "JO91RU"
                                      << "JO91RU" << 0 << 0.0;
    }
    void distanceAndAzimuth() {
        QFETCH(QString, own);
        QFETCH(QString, other);
        QFETCH(int, km);
        QFETCH(double, azimuth);
        const DistanceAzimuthResult result = DistanceAzimuth(own, other);
        QCOMPARE(result.km, km);
        QCOMPARE(qRound(result.azimuth * 10) / 10.0, azimuth);
    }

    void neighboursAreAtLeastOneKilometreApart() {
        const DistanceAzimuthResult east = DistanceAzimuth(u"JO91RU", u"JO91SU");
        QVERIFY(east.km >= 1 && east.km < 10);
        QVERIFY(qAbs(east.azimuth - 90) < 1);
        const DistanceAzimuthResult west = DistanceAzimuth(u"JO91SU", u"JO91RU");
        QVERIFY(qAbs(west.azimuth - 270) < 1);
    }

    void dueNorthAndSouthNeverStopTheProgram() {
        const DistanceAzimuthResult north = DistanceAzimuth(u"JO91RU", u"JO95RU");
        QVERIFY(north.azimuth < 1 || north.azimuth > 359 || north.azimuth == 180);
        const DistanceAzimuthResult south = DistanceAzimuth(u"JO95RU", u"JO91RU");
        QVERIFY(qAbs(south.azimuth - 180) < 1);
        const DistanceAzimuthResult pole = DistanceAzimuth(u"AA00AA", u"AR09AX");
        QVERIFY(pole.km > 0);
    }

    // The beam heading to a country's centre agrees with the heading to a locator at that point; an own locator
    // that is not set or mistyped gives none rather than a heading from the middle of the map.
    void azimuthToLatitudeAndLongitude_data() {
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("atLocator");
        QTest::addColumn<bool>("given");
        QTest::newRow("north-east, nearby") << "JO91RU"
                                            << "KO02AA" << true;
        QTest::newRow("across the Atlantic") << "KO00AA"
                                             << "FN31PR" << true;
        QTest::newRow("southern and western hemisphere") << "JO91RU"
                                                         << "GF15VC" << true;
        QTest::newRow("own locator not set") << ""
                                             << "KO02AA" << false;
        QTest::newRow("own locator in lower case") << "jo91ru"
                                                   << "KO02AA" << false;
        QTest::newRow("own locator cut short") << "JO91R"
                                               << "KO02AA" << false;
    }
    void azimuthToLatitudeAndLongitude() {
        QFETCH(QString, own);
        QFETCH(QString, atLocator);
        QFETCH(bool, given);
        const Coordinates point = LocatorToCoordinates(atLocator);
        const std::optional<DistanceAzimuthResult> result = DistanceAzimuthTo(own, point.latitude, point.longitude);
        QCOMPARE(result.has_value(), given);
        if (!given)
            return;
        const DistanceAzimuthResult expected = DistanceAzimuth(own, atLocator);
        QCOMPARE(result->km, expected.km);
        QCOMPARE(result->azimuth, expected.azimuth);
    }

    void labelShowsWholeDegrees() {
        DistanceAzimuthResult result;
        result.azimuth = 45.9;
        QCOMPARE(result.label(), QStringLiteral("Azymut:  45°"));
    }
};

QTEST_GUILESS_MAIN(TestLocator)
#include "tst_locator.moc"
