#include "entrywindow.h"
#include "log/logsession.h"
#include "loggedcallswindow.h"
#include "scripteddialogs.h"
#include "settings/inifile.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"
#include "translations.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime kStart(QDate(2026, 3, 14), QTime(8, 0, 5));
// The contacts of these logs: CW on 14 March 2026, serial 1.
const TestQso kContact = TestQso().date("2026-03-14").stx("1");

// A program folder with settings (UTC time taken as it is, so the clock decides the logged time) and a window
// started on it.
struct Window {
    explicit Window(const QStringList& logLines = {}, const QString& extraSettings = {}) {
        folder.writeBytes(
            QStringLiteral("kvr_log.ini"),
            (QStringLiteral("[Program]\r\nCzas UTC manualny=1\r\nOffset=0\r\n") + extraSettings).toUtf8());
        if (!logLines.isEmpty())
            folder.writeLines(QStringLiteral("log.kvr"), logLines);
    }
    bool start() {
        form = std::make_unique<EntryWindow>(session);
        if (!form->startUp())
            return false;
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }
    template <typename T> T* child(const char* name) const { return form->findChild<T*>(QLatin1String(name)); }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
    void type(const char* field, const QString& text) {
        edit(field)->setFocus();
        QTest::keyClicks(edit(field), text);
    }
    void enter(const char* field) { QTest::keyClick(edit(field), Qt::Key_Return); }
    QStringList logLines() const { return folder.readLines(QStringLiteral("log.kvr")); }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{kStart};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};
    std::unique_ptr<EntryWindow> form;
};

// Records what the window tells the keyer; takes F1 as a keyer key.
class RecordingKeyer final : public KeyerHooks {
public:
    void qsoLogged() override { ++logged; }
    void clockTick() override { ++ticks; }
    void callsignChanged(const QString& call) override { calls.append(call); }
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers) override {
        return key == Qt::Key_F1 && modifiers == Qt::NoModifier;
    }
    void changeSpeed(int step) override { speedSteps.append(step); }
    void manualCwRequested() override { ++manualCw; }
    int logged = 0;
    int ticks = 0;
    QStringList calls;
    QList<int> speedSteps;
    int manualCw = 0;
};

} // namespace

class TestEntryWindow : public QObject {
    Q_OBJECT
private slots:
    void keyboardOnlyContactIsLoggedAndBackedUp() {
        Window w;
        QVERIFY(w.start());
        QCOMPARE(w.edit("dateEdit")->text(), QStringLiteral("2026-03-14"));
        QCOMPARE(w.edit("utcTimeEdit")->text(), QStringLiteral("08:00:05"));
        w.type("callsignEdit", QStringLiteral("sp9abc+"));
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("SP9ABC"));
        // A blank moves on to the exchange field and back, inserting nothing.
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_Space);
        QVERIFY(w.edit("receivedExchangeEdit")->hasFocus());
        QTest::keyClick(w.edit("receivedExchangeEdit"), Qt::Key_Space);
        QVERIFY(w.edit("callsignEdit")->hasFocus());
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("SP9ABC"));
        w.enter("callsignEdit");
        QVERIFY(w.edit("receivedExchangeEdit")->hasFocus());
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("012gw"));
        w.clock.set(QDateTime(QDate(2026, 3, 14), QTime(8, 1, 7)));
        QMetaObject::invokeMethod(w.form.get(), "showUtcClock");
        w.enter("receivedExchangeEdit");

        QCOMPARE(w.logLines(), QStringList{QStringLiteral(
                                   "2026-03-14 080107  80M CW 599         001 SP9ABC          599       012GW ")});
        QVERIFY(w.dialogs.messages.isEmpty());
        QVERIFY(QFile::exists(w.folder.file(QStringLiteral("log.kvr~"))));
        QCOMPARE(w.folder.readLines(QStringLiteral("Backup_logs/temporary_1.kvr")).size(), 1);
        QCOMPARE(w.edit("callsignEdit")->text(), QString());
        QCOMPARE(w.edit("receivedExchangeEdit")->text(), QString());
        QCOMPARE(w.edit("sentSerialEdit")->text(), QStringLiteral("002"));
        QVERIFY(w.edit("callsignEdit")->hasFocus());

        // The same station again on the same band and mode: the panel, and the line is marked.
        w.type("callsignEdit", QStringLiteral("SP9ABC"));
        QVERIFY(w.child<QLabel>("dupeLabel")->isVisible());
        QCOMPARE(w.child<QLabel>("dupeLabel")->text(), QStringLiteral("SP9ABC - QSO zaliczone!"));
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("013GW"));
        w.enter("receivedExchangeEdit");
        QCOMPARE(w.logLines().size(), 2);
        QVERIFY(w.logLines().last().endsWith(QStringLiteral(" DUPE")));
        // The status bar holds the whole summary, current after every contact.
        QCOMPARE(w.child<QLabel>("scoreSummaryLabel")->text(), w.session.scoreSummary());
        QVERIFY(w.session.scoreSummary().contains(QStringLiteral("QSO:      2")));
        QCOMPARE(w.folder.readLines(QStringLiteral("log.kvr~")).size(), 1);
        QCOMPARE(w.edit("sentSerialEdit")->text(), QStringLiteral("003"));
        QVERIFY(!w.child<QLabel>("dupeLabel")->isVisible());
    }

    // Blank and Enter hop between the callsign and the exchange; each field gets its cursor back once, and a
    // logged contact forgets the positions.
    void hopsGiveEachFieldItsCursorBackOnce() {
        Window w;
        QVERIFY(w.start());
        QLineEdit* call = w.edit("callsignEdit");
        QLineEdit* exchange = w.edit("receivedExchangeEdit");
        w.type("callsignEdit", QStringLiteral("SP9ABC"));
        call->setCursorPosition(3);
        QTest::keyClick(call, Qt::Key_Space);
        QTest::keyClicks(exchange, QStringLiteral("12GW"));
        exchange->setCursorPosition(2);
        QTest::keyClick(exchange, Qt::Key_Space);
        QVERIFY(call->hasFocus());
        QCOMPARE(call->cursorPosition(), 3);
        QTest::keyClick(call, Qt::Key_End);
        w.enter("callsignEdit");
        QVERIFY(exchange->hasFocus());
        QCOMPARE(exchange->cursorPosition(), 2);
        QTest::keyClick(exchange, Qt::Key_Space);
        QCOMPARE(call->cursorPosition(), 6);
        call->setCursorPosition(2);
        QTest::keyClick(call, Qt::Key_Space);
        QCOMPARE(exchange->cursorPosition(), 2);
        QCOMPARE(exchange->text(), QStringLiteral("12GW"));
        w.enter("receivedExchangeEdit");
        QCOMPARE(w.logLines().size(), 1);
        w.type("callsignEdit", QStringLiteral("SP9XYZ"));
        w.type("receivedExchangeEdit", QStringLiteral("1"));
        QTest::keyClick(exchange, Qt::Key_Space);
        QCOMPARE(call->cursorPosition(), 6);
    }

    void dupeSelectsTheEarlierContactAndFollowsTheMode() {
        Window w({kContact.time("08:00:00").call("SP9ABC").srx("1"), kContact.time("08:01:00").call("SP6XYZ").srx("2")},
                 QStringLiteral("Pasmo=20M\r\nEmisja=CW\r\n"));
        QVERIFY(w.start());
        QSignalSpy selected(&w.session, &LogSession::rowSelectionRequested);
        w.type("callsignEdit", QStringLiteral("SP9ABC"));
        QVERIFY(w.child<QLabel>("dupeLabel")->isVisible());
        QCOMPARE(selected.last().at(0).value<qsizetype>(), 0);
        // Ctrl+F1 from CW goes back to SSB: not worked there, the last line is selected.
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_F1, Qt::ControlModifier);
        QCOMPARE(w.child<QComboBox>("modeCombo")->currentText(), QStringLiteral("SSB"));
        QVERIFY(!w.child<QLabel>("dupeLabel")->isVisible());
        QCOMPARE(selected.last().at(0).value<qsizetype>(), 1);
        QCOMPARE(w.edit("rstSentEdit")->text(), QStringLiteral("59"));
        // Leaving the callsign field in SSB shows what the station gave in CW.
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_Return);
        QVERIFY(w.child<QLabel>("crossModeExchangeLabel")->isVisible());
        QCOMPARE(w.child<QLabel>("crossModeExchangeLabel")->text(), QStringLiteral(" CW:  1"));
    }

    void bandShortcutsWrapAndCommandsSelect() {
        Window w;
        QVERIFY(w.start());
        QComboBox* band = w.child<QComboBox>("bandCombo");
        QCOMPARE(band->currentText(), QStringLiteral("80M"));
        w.edit("callsignEdit")->setFocus();
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_F2, Qt::AltModifier);
        QCOMPARE(band->currentText(), QStringLiteral("40M"));
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_F1, Qt::AltModifier);
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_F1, Qt::AltModifier);
        QCOMPARE(band->currentText(), QStringLiteral("160M"));
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_F1, Qt::AltModifier);
        QCOMPARE(band->currentText(), QStringLiteral("23CM"));

        // The keys act on the press: Alt may be let go before F2, and a held key steps once.
        QTest::keyPress(w.edit("callsignEdit"), Qt::Key_F2, Qt::AltModifier);
        QCOMPARE(band->currentText(), QStringLiteral("160M"));
        QKeyEvent held(QEvent::KeyPress, Qt::Key_F2, Qt::AltModifier, QString(), true);
        QApplication::sendEvent(w.edit("callsignEdit"), &held);
        QTest::keyRelease(w.edit("callsignEdit"), Qt::Key_F2);
        QCOMPARE(band->currentText(), QStringLiteral("160M"));
        QComboBox* mode = w.child<QComboBox>("modeCombo");
        const QString modeBefore = mode->currentText();
        QTest::keyPress(w.edit("callsignEdit"), Qt::Key_F2, Qt::ControlModifier);
        QVERIFY(mode->currentText() != modeBefore);
        QTest::keyRelease(w.edit("callsignEdit"), Qt::Key_F2);
        QVERIFY(w.edit("callsignEdit")->text().isEmpty());

        w.type("callsignEdit", QStringLiteral("20m"));
        QCOMPARE(w.edit("callsignEdit")->palette().color(QPalette::Text), QColor(0xFF, 0x00, 0xFF));
        w.enter("callsignEdit");
        QCOMPARE(band->currentText(), QStringLiteral("20M"));
        QCOMPARE(w.edit("callsignEdit")->text(), QString());
        w.type("callsignEdit", QStringLiteral("SP9"));
        QCOMPARE(w.edit("callsignEdit")->palette().color(QPalette::Text), QColor(0x00, 0x00, 0x80));
    }

    void vhfBandTurnsOnLocatorAnalysisAndItsSerial() {
        Window w({}, QStringLiteral("Osobna numeracja na UKF=1\r\n"));
        QVERIFY(w.start());
        QVERIFY(!w.session.analysis.enabled);
        // Without an own locator the analysis asks for one; cancelled, the analysis stays off.
        w.type("callsignEdit", QStringLiteral("2M"));
        w.enter("callsignEdit");
        QCOMPARE(w.dialogs.inputPrompts, QStringList{QStringLiteral("Własny lokator|Wprowadź lokator")});
        QVERIFY(!w.session.analysis.enabled);
        w.type("callsignEdit", QStringLiteral("80M"));
        w.enter("callsignEdit");
        w.dialogs.inputAnswers.push_back(QStringLiteral("jo91ru"));
        w.type("callsignEdit", QStringLiteral("2M"));
        w.enter("callsignEdit");
        QVERIFY(w.session.analysis.enabled);
        QCOMPARE(w.session.analysis.mode, AnalysisMode::Locator);
        QCOMPARE(w.session.operatorData.locator, QStringLiteral("JO91RU"));
        QCOMPARE(w.edit("sentFixedPartEdit")->text(), QStringLiteral("JO91RU"));
        QCOMPARE(w.edit("sentSerialEdit")->text(), QStringLiteral("001"));
        w.type("callsignEdit", QStringLiteral("SP9ABC"));
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("KO02MD"));
        w.enter("receivedExchangeEdit");
        QCOMPARE(w.session.log().nextVhfSerial(1), 2);
        QCOMPARE(w.edit("sentSerialEdit")->text(), QStringLiteral("002"));
        w.type("callsignEdit", QStringLiteral("20M"));
        w.enter("callsignEdit");
        QCOMPARE(w.edit("sentSerialEdit")->text(), QStringLiteral("002"));
    }

    void savedVhfBandIsOnlySelectedAtStart() {
        Window w({kContact.time("08:00:00").band("2M").call("SP9ABC").srx("KO02MD")},
                 QStringLiteral("Pasmo=2M\r\nEmisja=CW\r\nSTX=015\r\nOsobna numeracja na UKF=1\r\n"
                                "[Analiza grupy]\r\nAnaliza=0\r\n"));
        QVERIFY(w.start());
        QCOMPARE(w.child<QComboBox>("bandCombo")->currentText(), QStringLiteral("2M"));
        // The analysis the operator switched off stays off, nothing is asked, the saved serial stays.
        QVERIFY(!w.session.analysis.enabled);
        QVERIFY(w.dialogs.inputPrompts.isEmpty());
        QVERIFY(w.dialogs.messages.isEmpty());
        QCOMPARE(w.edit("sentSerialEdit")->text(), QStringLiteral("015"));
        // The saved mode does run the mode change: its reports.
        QCOMPARE(w.edit("rstSentEdit")->text(), QStringLiteral("599"));
    }

    void validationMessages() {
        Window w;
        QVERIFY(w.start());
        w.type("receivedExchangeEdit", QStringLiteral("5"));
        w.enter("receivedExchangeEdit");
        QCOMPARE(w.dialogs.texts(), QStringList{QStringLiteral("Brak znaku stacji!")});
        QVERIFY(w.edit("callsignEdit")->hasFocus());
        w.edit("receivedExchangeEdit")->clear();
        w.type("callsignEdit", QStringLiteral("SP9ABC"));
        w.dialogs.buttonAnswers.push_back(DialogButton::No);
        QMetaObject::invokeMethod(w.form.get(), "logQso");
        QCOMPARE(w.dialogs.lastText(), QStringLiteral("Brak odebranej grupy kontrolnej !\nCzy na pewno zalogować ?"));
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("SP9ABC"));
        QVERIFY(w.logLines().isEmpty());
    }

    void failedWriteKeepsTheContactInTheFields() {
        Window w;
        QVERIFY(w.start());
        const QString bad = w.folder.file(QStringLiteral("missing/log.kvr"));
        w.session.setLogPath(bad);
        w.type("callsignEdit", QStringLiteral("SP9ABC"));
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("12GW"));
        w.enter("receivedExchangeEdit");
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages[0].title, QStringLiteral("Błąd"));
        QVERIFY(w.dialogs.lastText().contains(bad));
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("SP9ABC"));
        QCOMPARE(w.edit("receivedExchangeEdit")->text(), QStringLiteral("12GW"));
        QCOMPARE(w.session.log().size(), 0);
        QCOMPARE(w.edit("sentSerialEdit")->text(), QStringLiteral("001"));
    }

    void offlineEntryWithTimeCommandsAndMinuteSteps() {
        Window w;
        QVERIFY(w.start());
        w.child<QAction>("actionOfflineEntry")->trigger();
        QVERIFY(w.form->isOffline());
        QCOMPARE(w.edit("manualTimeEdit")->text(), QStringLiteral("08:00:00"));
        w.type("callsignEdit", QStringLiteral("2530"));
        w.enter("callsignEdit");
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("2530"));
        w.edit("callsignEdit")->clear();
        w.type("callsignEdit", QStringLiteral("2359"));
        w.enter("callsignEdit");
        QCOMPARE(w.edit("manualTimeEdit")->text(), QStringLiteral("23:59:00"));
        QCOMPARE(w.edit("callsignEdit")->text(), QString());
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_PageUp);
        QCOMPARE(w.edit("manualTimeEdit")->text(), QStringLiteral("00:00:00"));
        QCOMPARE(w.child<QDateEdit>("manualDateEdit")->date(), QDate(2026, 3, 15));
        w.type("callsignEdit", QStringLiteral("SP9ABC"));
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("1"));
        w.enter("receivedExchangeEdit");
        w.type("callsignEdit", QStringLiteral("SP9XYZ"));
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("2"));
        w.enter("receivedExchangeEdit");
        QCOMPARE(w.logLines().size(), 2);
        QVERIFY(w.logLines()[0].startsWith(QStringLiteral("2026-03-15 000000")));
        QVERIFY(w.logLines()[1].startsWith(QStringLiteral("2026-03-15 000001")));
        QCOMPARE(w.edit("manualTimeEdit")->text(), QStringLiteral("00:00:01"));

        // A wrong manual time is put back when the field is left.
        w.edit("manualTimeEdit")->setFocus();
        w.edit("manualTimeEdit")->setText(QStringLiteral("24:00:00"));
        w.edit("callsignEdit")->setFocus();
        QCOMPARE(w.dialogs.lastText(), QStringLiteral("Niewłaściwy format czasu!"));
        QCOMPARE(w.edit("manualTimeEdit")->text(), QStringLiteral("00:00:01"));

        QMetaObject::invokeMethod(w.form.get(), "endOfflineEntry");
        QVERIFY(!w.form->isOffline());
    }

    // Offline entry starts in the date field with the year selected; Alt+W or Esc lead back to the callsign field.
    void typedDatesInTheOfflineDateField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("full date") << "2026-03-13" << QDate(2026, 3, 13);
        QTest::newRow("end of the year") << "2025-12-31" << QDate(2025, 12, 31);
        QTest::newRow("one-digit month and day") << "2024-1-5" << QDate(2024, 1, 5);
        QTest::newRow("month that moves on by itself") << "2026-3-04" << QDate(2026, 3, 4);
        QTest::newRow("digits only") << "20251102" << QDate(2025, 11, 2);
    }
    void typedDatesInTheOfflineDateField() {
        QFETCH(QString, typed);
        QFETCH(QDate, expected);
        // Contacts of that day are in the log already, a later one among them.
        const TestQso paper = kContact.date(expected.toString(Qt::ISODate));
        Window w({paper.time("08:00:00").call("SP9ABC").srx("1"), paper.time("10:00:00").call("SP6XYZ").srx("2")},
                 QStringLiteral("Pasmo=20M\r\nEmisja=CW\r\n"));
        QVERIFY(w.start());
        w.child<QAction>("actionOfflineEntry")->trigger();
        auto* date = w.child<QDateEdit>("manualDateEdit");
        QVERIFY(date->hasFocus());
        QTest::keyClicks(date, typed);
        QCOMPARE(date->date(), expected);
        QTest::keyClick(date, Qt::Key_W, Qt::AltModifier);
        QVERIFY(w.edit("callsignEdit")->hasFocus());
        w.edit("manualTimeEdit")->setFocus();
        QTest::keyClick(w.edit("manualTimeEdit"), Qt::Key_Escape);
        QVERIFY(w.edit("callsignEdit")->hasFocus());
        w.type("callsignEdit", QStringLiteral("SP1AAA"));
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("3"));
        w.enter("receivedExchangeEdit");
        // The time is checked against the whole log, not only its last line.
        QCOMPARE(w.logLines().value(2).left(17), expected.toString(Qt::ISODate) + QStringLiteral(" 080001"));
    }

    void wildcardIsTypedForTheSearchButNeverLogged() {
        Window w;
        QVERIFY(w.start());
        w.type("callsignEdit", QStringLiteral("s?7a"));
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("5"));
        w.enter("receivedExchangeEdit");
        QCOMPARE(w.dialogs.messages.size(), 1);
        QVERIFY(w.logLines().isEmpty());
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("S?7A"));
        QVERIFY(w.edit("callsignEdit")->hasFocus());
    }

    void configuredOffsetShiftsTheClock() {
        Window w({}, QStringLiteral("Czas UTC manualny=1\r\n"));
        w.folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nCzas UTC manualny=1\r\nOffset=-3\r\n");
        QVERIFY(w.start());
        QCOMPARE(w.edit("utcTimeEdit")->text(), QStringLiteral("11:00:05"));
    }

    void autoIncrementNeedsDigits() {
        Window w;
        QVERIFY(w.start());
        QCheckBox* box = w.child<QCheckBox>("autoIncrementCheck");
        w.type("sentSerialEdit", QStringLiteral("A"));
        QVERIFY(!box->isChecked());
        box->click();
        QVERIFY(!box->isChecked());
        QVERIFY(w.dialogs.lastText().startsWith(
            QStringLiteral("Aby uaktywnić funkcję ZWIĘKSZ AUTOMATYCZNIE, w polu NADAWANA GRUPA KONTROLNA\n")));
    }

    void reportFieldsTakeDigitsAandS() {
        Window w;
        QVERIFY(w.start());
        w.edit("rstSentEdit")->clear();
        w.type("rstSentEdit", QStringLiteral("5x7s9"));
        QCOMPARE(w.edit("rstSentEdit")->text(), QStringLiteral("57S"));
    }

    void loggedCallSuggestions() {
        Window w({kContact.time("08:00:00").band("80M").call("SP9ABC").srx("1"),
                  kContact.time("08:01:00").band("80M").call("SP9ABD").srx("2"),
                  kContact.time("08:02:00").band("40M").call("SP9ABE").srx("3")});
        QVERIFY(w.start());
        w.child<QAction>("actionShowLoggedCalls")->trigger();
        w.type("callsignEdit", QStringLiteral("S"));
        QCOMPARE(w.form->loggedCallsWindow()->calls(), QStringList());
        w.type("callsignEdit", QStringLiteral("P9AB"));
        QCOMPARE(w.form->loggedCallsWindow()->calls(), (QStringList{"SP9ABC", "SP9ABD"}));

        // Home in the list goes back to the callsign field.
        LoggedCallsWindow* calls = w.form->loggedCallsWindow();
        QSignalSpy back(calls, &LoggedCallsWindow::returnToCallsign);
        calls->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), calls);
        auto* list = calls->findChild<QListView*>(QStringLiteral("callList"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(back.size(), 1);
    }

    void secondCopyWorksOnItsOwnLog() {
        Window w;
        QVERIFY(w.start());
        QCOMPARE(w.form->windowTitle(), QStringLiteral("KVR_Log"));
        ScriptedDialogs dialogs;
        LogSession session(ProgramFolder(w.folder.path()), dialogs, w.clock);
        EntryWindow second(session);
        QVERIFY(second.startUp());
        QCOMPARE(second.windowTitle(), QStringLiteral("KVR_Log  [kopia]"));
        QCOMPARE(session.logPath(), w.folder.file(QStringLiteral("log1.kvr")));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.lastText().startsWith(QStringLiteral("Program KVR_Log jest juz uruchomiony !")));
    }

    void closingWritesTheEntrySettings() {
        Window w;
        QVERIFY(w.start());
        w.edit("sentFixedPartEdit")->setText(QStringLiteral("KO02MD"));
        w.child<QAction>("actionOneQsoPerBand")->trigger();
        w.form->close();
        const IniFile ini(w.folder.file(QStringLiteral("kvr_log.ini")));
        QCOMPARE(ini.readString(QStringLiteral("Program"), QStringLiteral("Grupa"), {}), QStringLiteral("KO02MD"));
        QCOMPARE(ini.readString(QStringLiteral("Program"), QStringLiteral("Jedno QSO"), {}), QStringLiteral("1"));
        QCOMPARE(ini.readString(QStringLiteral("Program"), QStringLiteral("Log"), {}),
                 w.folder.file(QStringLiteral("log.kvr")));
        QCOMPARE(ini.readString(QStringLiteral("Program"), QStringLiteral("Pasmo"), {}), QStringLiteral("80M"));
        QVERIFY(ini.hasKey(QStringLiteral("Analiza grupy"), QStringLiteral("Analiza")));
    }

    void keyerIsToldOfCallsignsTicksAndLoggedContacts() {
        Window w;
        QVERIFY(w.start());
        RecordingKeyer keyer;
        w.form->setKeyerHooks(&keyer);
        QVERIFY(w.form->keyerArea());
        QSignalSpy changed(w.form.get(), &EntryWindow::callsignChanged);
        w.type("callsignEdit", QStringLiteral("SP9"));
        QCOMPARE(keyer.calls.last(), QStringLiteral("SP9"));
        QCOMPARE(changed.last().at(0).toString(), QStringLiteral("SP9"));
        QCOMPARE(w.form->entryFields().call, QStringLiteral("SP9"));
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_F1);
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("SP9"));
        QMetaObject::invokeMethod(w.form.get(), "showUtcClock");
        QCOMPARE(keyer.ticks, 1);
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("1"));
        w.enter("receivedExchangeEdit");
        QCOMPARE(keyer.logged, 1);
        w.form->setKeyerHooks(nullptr);
    }

    void keyerShortcutsOfTheEntryFields() {
        Window w;
        QVERIFY(w.start());
        RecordingKeyer keyer;
        w.form->setKeyerHooks(&keyer);
        w.type("callsignEdit", QStringLiteral("SP9ABC"));
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_T, Qt::AltModifier);
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_T, Qt::AltModifier | Qt::ControlModifier);
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(keyer.speedSteps, (QList<int>{1, 1, -1}));
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("SP9ABC"));
        // Alt or Ctrl let go before the letter: the shortcut still acts, once, when the letter is let go.
        QTest::keyPress(w.edit("callsignEdit"), Qt::Key_T, Qt::ControlModifier);
        QTest::keyRelease(w.edit("callsignEdit"), Qt::Key_Control);
        QTest::keyRelease(w.edit("callsignEdit"), Qt::Key_T);
        QTest::keyPress(w.edit("callsignEdit"), Qt::Key_K, Qt::AltModifier);
        QTest::keyRelease(w.edit("callsignEdit"), Qt::Key_Alt);
        QTest::keyRelease(w.edit("callsignEdit"), Qt::Key_K);
        QCOMPARE(keyer.speedSteps, (QList<int>{1, 1, -1, -1}));
        QCOMPARE(keyer.manualCw, 1);
        // A plain T afterwards is only a letter.
        QTest::keyClick(w.edit("callsignEdit"), Qt::Key_T);
        QCOMPARE(keyer.speedSteps.size(), 4);
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("SP9ABCT"));
        w.edit("callsignEdit")->backspace();
        keyer.manualCw = 0;

        // Ctrl+Enter in the exchange field opens the manual CW window; it does not log the contact.
        w.enter("callsignEdit");
        QTest::keyClicks(w.edit("receivedExchangeEdit"), QStringLiteral("12"));
        QTest::keyClick(w.edit("receivedExchangeEdit"), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(keyer.manualCw, 1);
        QVERIFY(w.logLines().isEmpty());
        QCOMPARE(w.edit("receivedExchangeEdit")->text(), QStringLiteral("12"));
        QTest::keyClick(w.edit("receivedExchangeEdit"), Qt::Key_K, Qt::AltModifier);
        QCOMPARE(keyer.manualCw, 2);
        // A backquote in the serial field opens it too and is not typed.
        w.type("sentSerialEdit", QStringLiteral("`"));
        QCOMPARE(keyer.manualCw, 3);
        QCOMPARE(w.edit("sentSerialEdit")->text(), QStringLiteral("001"));
        QCOMPARE(keyer.logged, 0);
        w.form->setKeyerHooks(nullptr);
    }

    void azimuthLabelFollowsTheTypedLocator() {
        Window w;
        w.folder.writeBytes(QStringLiteral("kvr_log.ini"),
                            "[Program]\r\nCzas UTC manualny=1\r\n[Operator]\r\nLokator=JO90LN\r\n"
                            "[Analiza grupy]\r\nOpcja=Lokator\r\nAnaliza=1\r\n");
        QVERIFY(w.start());
        QLabel* label = w.child<QLabel>("azimuthLabel");
        QVERIFY(!label->isVisible());
        w.type("receivedExchangeEdit", QStringLiteral("jo90ln"));
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), QStringLiteral("Azymut: ???"));
        w.edit("receivedExchangeEdit")->clear();
        w.type("receivedExchangeEdit", QStringLiteral("001KO02MD"));
        QVERIFY(label->isVisible());
        QVERIFY(label->text().startsWith(QStringLiteral("Azymut:  ")));
        QVERIFY(label->text().endsWith(QStringLiteral("°")));
        auto textColour = [&] { return w.edit("receivedExchangeEdit")->palette().color(QPalette::Text); };
        QVERIFY(textColour() != QColor(Qt::red));
        QTest::keyClick(w.edit("receivedExchangeEdit"), Qt::Key_Backspace);
        QVERIFY(!label->isVisible());
        // An incomplete or wrong locator is shown in red and still typed in full.
        QCOMPARE(textColour(), QColor(Qt::red));
        QCOMPARE(w.edit("receivedExchangeEdit")->text(), QStringLiteral("001KO02M"));
        QTest::keyClick(w.edit("receivedExchangeEdit"), Qt::Key_D);
        QVERIFY(textColour() != QColor(Qt::red));
        w.edit("receivedExchangeEdit")->clear();
        QVERIFY(textColour() != QColor(Qt::red));
    }

    // The own locator changes while a received locator is shown: the operator data (or the exchange analysis)
    // writing it, or another program whose change the next read of the settings finds.
    void azimuthFollowsAChangedOwnLocator_data() {
        QTest::addColumn<bool>("byAnotherProgram");
        QTest::newRow("written by the program") << false;
        QTest::newRow("written by another program") << true;
    }
    void azimuthFollowsAChangedOwnLocator() {
        QFETCH(bool, byAnotherProgram);
        Window w({},
                 QStringLiteral("[Operator]\r\nLokator=JO90LN\r\n[Analiza grupy]\r\nOpcja=Lokator\r\nAnaliza=1\r\n"));
        QVERIFY(w.start());
        QLabel* label = w.child<QLabel>("azimuthLabel");
        w.type("receivedExchangeEdit", QStringLiteral("001KO02MD"));
        // Measured from the contact's own square: no distance.
        const QString fromThere = QStringLiteral("Azymut:  0°");
        QVERIFY(label->isVisible());
        QVERIFY(label->text() != fromThere);
        if (byAnotherProgram) {
            QVERIFY(IniFile(w.folder.file(QStringLiteral("kvr_log.ini")))
                        .setValue(SettingsKeys::Operator::locator, QStringLiteral("KO02MD")));
            QCOMPARE(w.session.settings().value(SettingsKeys::Operator::locator), QStringLiteral("KO02MD"));
        } else {
            w.session.operatorData.locator = QStringLiteral("KO02MD");
            QVERIFY(w.session.settings().setValue(SettingsKeys::Operator::locator, QStringLiteral("KO02MD")));
        }
        QCOMPARE(w.session.operatorData.locator, QStringLiteral("KO02MD"));
        QCOMPARE(label->text(), fromThere);
        QCOMPARE(w.edit("receivedExchangeEdit")->text(), QStringLiteral("001KO02MD"));
    }

    void missingCountyListEndsTheProgram() {
        TempProgramFolder folder(false);
        ScriptedDialogs dialogs;
        TestClock clock{kStart};
        LogSession session(ProgramFolder(folder.path()), dialogs, clock);
        EntryWindow form(session);
        QVERIFY(!form.startUp());
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.lastText().startsWith(QStringLiteral("Wykaz powiatów (plik \"powiaty.txt\") \n")));
        // The operator learns where the list is looked for.
        QVERIFY(dialogs.lastText().endsWith(QStringLiteral("\n") + QDir::toNativeSeparators(folder.path())));
    }

    void callsignFieldTakesOnlyCallsignAndCommandCharacters() {
        Window w;
        QVERIFY(w.start());
        // "?" stays: it is the wildcard of the MASTER search.
        w.type("callsignEdit", QStringLiteral("sp9.,;?*/p"));
        w.edit("callsignEdit")->insert(QStringLiteral("ąm"));
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("SP9?/PM"));
        w.edit("callsignEdit")->clear();
        // A pasted text is cleaned the same way; a date command keeps its dashes.
        w.edit("callsignEdit")->insert(QStringLiteral("2026-03-15 #"));
        QCOMPARE(w.edit("callsignEdit")->text(), QStringLiteral("2026-03-15"));
        // The exchange field still takes what the exchanges hold.
        w.type("receivedExchangeEdit", QStringLiteral("12.gw"));
        QCOMPARE(w.edit("receivedExchangeEdit")->text(), QStringLiteral("12.GW"));
    }

    void menusHaveMnemonicsThatLeaveTheContestKeysAlone() {
        Window w;
        QVERIFY(w.start());
        // Alt+B, Alt+M, Alt+T, Alt+K and Alt+W are keys of the entry window; a menu must not take them.
        const QString contestKeys = QStringLiteral("BMTKW");
        QString taken;
        for (QAction* top : w.form->menuBar()->actions()) {
            const QString title = top->text();
            const qsizetype amp = title.indexOf(QLatin1Char('&'));
            QVERIFY2(amp >= 0 && amp + 1 < title.size(), qPrintable(title));
            const QChar letter = title.at(amp + 1).toUpper();
            QVERIFY2(!contestKeys.contains(letter), qPrintable(title));
            QVERIFY2(!taken.contains(letter), qPrintable(title));
            taken += letter;
            // The texts themselves are as they were.
            QVERIFY(QStringList({"Plik", "Widok", "Konfiguracja", "Pomoc"}).contains(QString(title).remove('&')));
        }
        QCOMPARE(taken.size(), 4);
    }

    void fileMenuNamesTheProgramFolder() {
        // A folder name with "&" is shown as it is, not as a menu shortcut.
        QTemporaryDir root;
        const QString path = QDir(root.path()).filePath(QStringLiteral("Zawody & logi"));
        QVERIFY(QDir().mkpath(path));
        ScriptedDialogs dialogs;
        TestClock clock{kStart};
        LogSession session{ProgramFolder(path), dialogs, clock};
        EntryWindow form(session);
        QAction* item = form.findChild<QAction*>(QStringLiteral("actionProgramFolder"));
        QVERIFY(item);
        QVERIFY(item->isEnabled());
        QCOMPARE(item->text(), QStringLiteral("Folder programu: ") + QString(path).replace('&', QStringLiteral("&&")));
        QMenu* fileMenu = form.findChild<QMenu*>(QStringLiteral("fileMenu"));
        QVERIFY(fileMenu->actions().contains(item));
        QVERIFY(fileMenu->actions().indexOf(item) <
                fileMenu->actions().indexOf(form.findChild<QAction*>(QStringLiteral("actionQuit"))));
    }

    void standardButtonsSpeakPolish() {
        QVERIFY(installPolishTranslations(*QCoreApplication::instance()));
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text().remove('&'), QStringLiteral("Tak"));
        QCOMPARE(box.button(QDialogButtonBox::No)->text().remove('&'), QStringLiteral("Nie"));
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove('&'), QStringLiteral("Anuluj"));
    }
};

QTEST_MAIN(TestEntryWindow)
#include "tst_entrywindow.moc"
