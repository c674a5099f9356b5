#include "hamlibrig.h"
#include "rigctldprocess.h"

#include <QTest>

#include <hamlib/rig.h>

namespace {

RigSettings through(const QString& address) {
    RigSettings s;
    s.connection = RigSettings::Connection::Rigctld;
    s.rigctldAddress = address;
    return s;
}

} // namespace

// hamlib's network model against hamlib's dummy radio behind rigctld: what the poller's thread does.
class TestHamlibRig : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QString reason;
        if (QByteArray(QTest::currentTestFunction()).startsWith("hamlib"))
            return; // needs no radio
        if (!RigctldProcess::available(&reason))
            QSKIP(qPrintable(reason));
    }

    // The known errors in Polish, whichever sign the code has; any other keeps hamlib's text with its number.
    void hamlibErrorsAreToldInPolish_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("I/O error as hamlib returns it") << -RIG_EIO << "błąd wejścia/wyjścia";
        QTest::newRow("I/O error positive") << int(RIG_EIO) << "błąd wejścia/wyjścia";
        QTest::newRow("timeout") << -RIG_ETIMEOUT << "radio nie odpowiada";
        QTest::newRow("protocol") << -RIG_EPROTO << "błąd protokołu";
        QTest::newRow("powered off") << -RIG_EPOWER << "radio jest wyłączone";
        QTest::newRow("no Polish text") << -RIG_EARG
                                        << QString::fromLocal8Bit(rigerror2(-RIG_EARG)).trimmed() +
                                               " (błąd hamlib -15)";
    }
    void hamlibErrorsAreToldInPolish() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(HamlibRig::errorText(code), text);
    }

    void readsAndSetsTheDummyRadio() {
        RigctldProcess rigctld;
        QVERIFY(rigctld.start());
        QVERIFY(rigctld.set(QStringLiteral("F 14025000")));
        QVERIFY(rigctld.set(QStringLiteral("M CW 0")));
        HamlibRig rig(through(rigctld.address()));
        QVERIFY(rig.open().ok());
        RigReading reading = rig.read();
        QVERIFY2(reading.ok(), qPrintable(reading.error));
        QCOMPARE(reading.frequencyHz, qint64(14'025'000));
        QCOMPARE(reading.mode, QStringLiteral("CW"));

        QVERIFY(rig.setFrequency(3'750'000).ok());
        QVERIFY(rig.setMode(QStringLiteral("LSB")).ok());
        QCOMPARE(rigctld.frequency(), qint64(3'750'000));
        QCOMPARE(rigctld.mode(), QStringLiteral("LSB"));
        QVERIFY(rig.setPtt(true).ok());
        QCOMPARE(rigctld.value(QStringLiteral("t"), QStringLiteral("PTT")), QStringLiteral("1"));
        QVERIFY(rig.setPtt(false).ok());
        QCOMPARE(rigctld.value(QStringLiteral("t"), QStringLiteral("PTT")), QStringLiteral("0"));
        QVERIFY(rig.sendMorse(QStringLiteral("CQ"), 28).ok());
        QVERIFY(!rig.setMode(QStringLiteral("NO SUCH MODE")).ok());
        // What another program changes on the shared radio is read at once, not from hamlib's cache.
        QVERIFY(rigctld.set(QStringLiteral("F 144300000")));
        QCOMPARE(rig.read().frequencyHz, qint64(144'300'000));
    }

    void aRadioThatIsGoneGivesAnErrorNotAReading() {
        RigctldProcess rigctld;
        QVERIFY(rigctld.start());
        HamlibRig rig(through(rigctld.address()));
        QVERIFY(rig.open().ok());
        rigctld.kill();
        const RigReading reading = rig.read();
        QVERIFY(!reading.ok());
        QVERIFY(!reading.error.isEmpty());
        rig.close();
        // Nothing listens there now.
        QVERIFY(!rig.open().ok());
        QVERIFY(!rig.read().ok());

        RigSettings unknown;
        unknown.connection = RigSettings::Connection::Serial;
        unknown.model = 999999;
        unknown.port = QStringLiteral("/dev/null");
        QCOMPARE(HamlibRig(unknown).open().error, QStringLiteral("hamlib nie zna modelu 999999"));
    }
};

QTEST_GUILESS_MAIN(TestHamlibRig)
#include "tst_hamlibrig.moc"
