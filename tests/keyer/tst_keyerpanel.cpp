#include "keyer/keyerentry.h"
#include "keyer/keyerkeys.h"
#include "keyer/morseengine.h"
#include "keyerpanel.h"
#include "log/logsession.h"
#include "recordingport.h"
#include "scripteddialogs.h"
#include "scriptedvoice.h"
#include "settings/inifile.h"
#include "testclock.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

struct PanelFixture {
    explicit PanelFixture(const QStringList& ini) {
        folder.writeLines(QStringLiteral("kvr_log.ini"), ini);
        port.setAvailablePorts({QStringLiteral("ttyS0")});
        panel = std::make_unique<KeyerPanel>(session, entry, nullptr,
                                             KeyerDevices{&time, &port, &port, &port, &voice, nullptr, {}});
    }
    template <typename T> T* child(const char* name) { return panel->findChild<T*>(QString::fromLatin1(name)); }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 0))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};
    VirtualKeyerTime time;
    RecordingPort port{time};
    ScriptedVoicePlayer voice;
    PlainKeyerEntry entry;
    std::unique_ptr<KeyerPanel> panel;
};

const QStringList kDirectLpt{
    QStringLiteral("[Klucz CW]"),      QStringLiteral("Predkosc=20"),    QStringLiteral("Wielowątkowość=0"),
    QStringLiteral("Podsłuch=0"),      QStringLiteral("Port=LPT1"),      QStringLiteral("[Bufory]"),
    QStringLiteral("Bufor1-nazwa=CQ"), QStringLiteral("Bufor1-tekst=E"), QStringLiteral("Bufor2-tekst=TEST")};

} // namespace

class TestKeyerPanel : public QObject {
    Q_OBJECT
private slots:
    void readsSettingsAndBuffersAtCreation() {
        PanelFixture f(kDirectLpt);
        QCOMPARE(f.child<QAbstractButton>("buffer1Button")->text(), QStringLiteral("CQ"));
        QCOMPARE(f.child<QAbstractButton>("buffer1Button")->toolTip(), QStringLiteral("E"));
        QCOMPARE(f.child<QAbstractButton>("buffer11Button")->text(), QStringLiteral("INS"));
        QCOMPARE(f.child<QAbstractButton>("buffer12Button")->text(), QStringLiteral("+"));
        QCOMPARE(f.child<QLabel>("speedLabel")->text(), QStringLiteral("20"));
        QVERIFY(!f.child<QLabel>("portStatusLabel")->isVisibleTo(f.panel.get()));
        QVERIFY(!f.child<QLabel>("loopLabel")->isVisibleTo(f.panel.get()));
        QCOMPARE(f.port.lptWrites(), QList<int>{8});
        QVERIFY(!f.child<QToolButton>("txButton")->isEnabled());
        QCOMPARE(f.child<QToolButton>("txButton")->toolTip(), QStringLiteral("Także ESC lub F12"));
    }

    void bufferButtonSendsAndTheFieldsFollow() {
        PanelFixture f(kDirectLpt);
        f.entry.callFocused = false;
        QTest::mouseClick(f.child<QAbstractButton>("buffer1Button"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(f.entry.focused, QStringLiteral("callsignEdit"));
        QCOMPARE(f.port.lptWrites(), (QList<int>{8, 1, 9, 8}));
        QCOMPARE(f.child<QLineEdit>("sentTextEdit")->text(), QString(37, u' ') + u'E');
        QCOMPARE(f.child<QLineEdit>("currentCharEdit")->text(), QStringLiteral(" "));
        QVERIFY(f.child<QLineEdit>("outgoingTextEdit")->text().isEmpty());
        QVERIFY(!f.child<QToolButton>("txButton")->isChecked());
        QVERIFY(!f.child<QToolButton>("txButton")->isEnabled());
    }

    void txButtonStopsAtTheEndOfTheElement() {
        PanelFixture f(kDirectLpt);
        auto* tx = f.child<QToolButton>("txButton");
        f.time.at(100, [&] {
            QVERIFY(tx->isEnabled() && tx->isChecked());
            QTest::mouseClick(tx, Qt::LeftButton);
        });
        QTest::mouseClick(f.child<QAbstractButton>("buffer2Button"), Qt::LeftButton);
        QCoreApplication::processEvents();
        // T is a dash from 50 to 230 ms; nothing is keyed after it.
        const QList<int> writes = f.port.lptWrites();
        QCOMPARE(writes.mid(0, 3), (QList<int>{8, 1, 9}));
        QCOMPARE(writes.mid(3), QList<int>(writes.size() - 3, 8)); // only "at rest" after the dash
        QCOMPARE(f.port.events().last().ms(), 230);
        QVERIFY(!tx->isChecked());
    }

    void typingIntoTheOutgoingFieldEditsTheQueue() {
        PanelFixture f(kDirectLpt);
        QTest::keyClicks(f.child<QLineEdit>("outgoingTextEdit"), QStringLiteral("tu"));
        QCOMPARE(f.panel->engine().outgoingText(), QStringLiteral("TU"));
    }

    void speedDisplayButtonsChangeTheSpeed() {
        PanelFixture f(kDirectLpt);
        auto* speed = f.child<QLabel>("speedLabel");
        QTest::mouseClick(speed, Qt::RightButton);
        QTest::mouseClick(speed, Qt::RightButton);
        QTest::mouseClick(speed, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(speed->text(), QStringLiteral("21"));
        QCOMPARE(f.panel->engine().savedSpeed(), 21);
        f.panel->writeSettings();
        IniFile ini(f.folder.file(QStringLiteral("kvr_log.ini")));
        QCOMPARE(ini.readInteger(QStringLiteral("Klucz CW"), QStringLiteral("Predkosc"), 0), 21);
        QCOMPARE(ini.readString(QStringLiteral("Klucz CW"), QStringLiteral("Port"), {}), QStringLiteral("LPT1"));
    }

    void rightButtonOnABufferOpensItsEditor() {
        PanelFixture f(kDirectLpt);
        QSignalSpy spy(f.panel.get(), &KeyerPanel::editBufferRequested);
        QTest::mouseClick(f.child<QAbstractButton>("buffer3Button"), Qt::RightButton);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().first().toInt(), 3);
        QVERIFY(f.port.lptWrites() == QList<int>{8}); // nothing was sent
    }

    void loopLabelShowsWhileArmed() {
        PanelFixture f({QStringLiteral("[Klucz CW]"), QStringLiteral("Wielowątkowość=0"), QStringLiteral("Podsłuch=0"),
                        QStringLiteral("[Bufory]"), QStringLiteral("Bufor1-tekst=E<LOOP>")});
        f.panel->hooks().keyPressed(Qt::Key_F1, Qt::NoModifier);
        QCoreApplication::processEvents();
        QVERIFY(f.child<QLabel>("loopLabel")->isVisibleTo(f.panel.get()));
        QCOMPARE(f.child<QLabel>("loopLabel")->text(), QStringLiteral("Pętla"));
        f.panel->hooks().keyPressed(Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::processEvents();
        QVERIFY(!f.child<QLabel>("loopLabel")->isVisibleTo(f.panel.get()));
    }

    void missingSerialPortShowsTheStatus() {
        PanelFixture f({QStringLiteral("[Klucz CW]"), QStringLiteral("Port=COM9")});
        auto* status = f.child<QLabel>("portStatusLabel");
        QVERIFY(status->isVisibleTo(f.panel.get()));
        QCOMPARE(status->text(), QStringLiteral("Port COM nieaktywny"));
        QVERIFY(status->styleSheet().contains(QStringLiteral("red")));
    }

    void noPortShowsTheStatusInNavy() {
        PanelFixture f({QStringLiteral("[Klucz CW]"), QStringLiteral("Port=brak")});
        QCOMPARE(f.child<QLabel>("portStatusLabel")->text(), QStringLiteral("Brak ustawionych portów"));
        QVERIFY(f.child<QLabel>("portStatusLabel")->styleSheet().contains(QStringLiteral("navy")));
    }

    void threadedSendingUpdatesTheFieldsThroughTheWindowThread() {
        PanelFixture f({QStringLiteral("[Klucz CW]"), QStringLiteral("Wielowątkowość=1"), QStringLiteral("Podsłuch=0"),
                        QStringLiteral("Port=LPT1"), QStringLiteral("[Bufory]"), QStringLiteral("Bufor2-tekst=TEST")});
        QTest::mouseClick(f.child<QAbstractButton>("buffer2Button"), Qt::LeftButton);
        f.panel->engine().waitForSender();
        QTRY_COMPARE(f.child<QLineEdit>("sentTextEdit")->text(), QString(34, u' ') + QStringLiteral("TEST"));
        QTRY_VERIFY(!f.child<QToolButton>("txButton")->isEnabled());
        QCOMPARE(f.port.lptRegister(), 8);
    }
};

QTEST_MAIN(TestKeyerPanel)
#include "tst_keyerpanel.moc"
