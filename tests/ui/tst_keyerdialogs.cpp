#include "applicationwindows.h"
#include "buffereditordialog.h"
#include "entrywindow.h"
#include "fakecwdaemon.h"
#include "keyer/calibration.h"
#include "keyer/keyertime.h"
#include "keyer/morseengine.h"
#include "keyerpanel.h"
#include "keyersettingsdialog.h"
#include "log/logsession.h"
#include "manualcwdialog.h"
#include "recordingport.h"
#include "scripteddialogs.h"
#include "scriptedvoice.h"
#include "serialportstream.h"
#include "settings/inifile.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"
#include "udpdatagrams.h"
#include "winkeyeremulator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

namespace {

const TestQso kContact = TestQso().date("2026-03-14").band("80M").stx("1");

// The whole program on one program folder, with the keyer on virtual time and a recording port. A second
// Program on the same folder is the next start.
struct Program {
    explicit Program(const TempProgramFolder& programFolder) : folder(programFolder) {
        port.setAvailablePorts({QStringLiteral("ttyUSB0"), QStringLiteral("ttyS0")});
    }
    bool start() {
        windows =
            std::make_unique<ApplicationWindows>(session, KeyerDevices{&time, &port, &port, &port, &voice, &recorder,
                                                                       [this](ProcessPriority p) {
                                                                           priorities << p;
                                                                           return true;
                                                                       },
                                                                       &winkeyerStream, &cwdaemonSocket});
        if (!windows->startUp())
            return false;
        windows->entryWindow()->restoreWindowsOnFirstActivation();
        return true;
    }
    template <typename T> T* entryChild(const char* name) const {
        return windows->entryWindow()->findChild<T*>(QLatin1String(name));
    }
    template <typename T> T* settingsChild(const char* name) const {
        return windows->keyerSettings()->findChild<T*>(QLatin1String(name));
    }
    MorseEngine& engine() const { return windows->keyer()->engine(); }
    void close() const { windows->entryWindow()->close(); }
    IniFile settings() const { return IniFile(folder.file(QStringLiteral("kvr_log.ini"))); }
    // Opens the buffer editor as the right mouse button does and runs edit inside it before it closes.
    void editBuffer(int number, const std::function<void(BufferEditorDialog&)>& edit) const {
        auto* button = entryChild<QAbstractButton>(QStringLiteral("buffer%1Button").arg(number).toLatin1().constData());
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* editor = qobject_cast<BufferEditorDialog*>(QApplication::activeModalWidget());
            QVERIFY(editor);
            edit(*editor);
            ran = true;
            if (editor->isVisible())
                editor->reject();
        });
        QTest::mouseRelease(button, Qt::RightButton);
        QVERIFY(ran);
    }

    const TempProgramFolder& folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 5))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};
    VirtualKeyerTime time;
    RecordingPort port{time};
    ScriptedVoicePlayer voice;
    ScriptedVoiceRecorder recorder;
    SerialPortStream winkeyerStream;
    UdpDatagrams cwdaemonSocket;
    QList<ProcessPriority> priorities;
    std::unique_ptr<ApplicationWindows> windows;
};

template <typename T> T* child(QWidget* parent, const char* name) {
    return parent->findChild<T*>(QLatin1String(name));
}

QList<int> dtrChanges(const RecordingPort& port) {
    QList<int> changes;
    for (const RecordingPort::Event& e : port.events())
        if (e.kind == RecordingPort::Kind::Dtr)
            changes << e.value;
    return changes;
}

// How a keying test is let go of.
enum Ending { MouseReleased, Escape, F12, Ok, WindowClosed };

} // namespace

class TestKeyerDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    // Each keyer chosen in the configuration window is opened at once, greys what it cannot do, is kept in
    // "Klucz CW" when the program ends and is opened again at the next start.
    void theKeyerChoiceIsOpenedKeptAndOpenedAgainAtTheNextStart_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("calibration");
        QTest::newRow("Winkeyer") << "winkeyerRadio"
                                  << "Winkeyer"
                                  << "Winkeyer (wersja 31)" << false;
        QTest::newRow("cwdaemon") << "cwdaemonRadio"
                                  << "cwdaemon"
                                  << "cwdaemon 127.0.0.1" << false;
        QTest::newRow("the radio's keyer") << "rigKeyerRadio"
                                           << "Radio"
                                           << "" << true;
        QTest::newRow("the port's lines") << "lineKeyerRadio"
                                          << "Port"
                                          << "Brak ustawionych portów" << true;
    }
    void theKeyerChoiceIsOpenedKeptAndOpenedAgainAtTheNextStart() {
        QFETCH(QString, radio);
        QFETCH(QString, stored);
        QFETCH(QString, status);
        QFETCH(bool, calibration);
        WinkeyerEmulator chip;
        QVERIFY(chip.start());
        FakeCwdaemon daemon;
        TempProgramFolder folder;
        // Another keyer first, so that every row is a change.
        folder.writeLines(QStringLiteral("kvr_log.ini"),
                          {QStringLiteral("[Klucz CW]"),
                           QStringLiteral("Klucz=") + (stored == "Radio" ? "Port" : "Radio"),
                           QStringLiteral("Port=brak")});
        {
            Program p(folder);
            p.port.setAvailablePorts({QStringLiteral("ttyS0"), chip.portName()});
            QVERIFY(p.start());
            p.windows->keyerSettings()->show();
            auto* winkeyerPort = p.settingsChild<QComboBox>("winkeyerPortCombo");
            winkeyerPort->setCurrentIndex(winkeyerPort->findText(chip.portName()));
            auto* address = p.settingsChild<QLineEdit>("cwdaemonAddressEdit");
            address->setText(daemon.address());
            p.settingsChild<QRadioButton>(radio.toLatin1().constData())->click();
            // Opened on a thread of its own: the window goes on meanwhile.
            auto* shown = p.settingsChild<QLabel>("keyerStatusLabel");
            QTRY_VERIFY2(status.isEmpty() ? shown->text().isEmpty() : shown->text().startsWith(status),
                         qPrintable(shown->text()));
            QVERIFY2(p.dialogs.messages.isEmpty(), qPrintable(p.dialogs.lastText()));
            auto* calibrate = p.settingsChild<QPushButton>("calibrateButton");
            QCOMPARE(calibrate->isEnabled(), calibration);
            QCOMPARE(calibrate->toolTip().isEmpty(), calibration);
            QCOMPARE(p.settingsChild<QWidget>("portGroup")->isEnabled(), calibration);
            p.windows->keyerSettings()->accept();
            p.close();
        }
        const IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
        QCOMPARE(ini.value(SettingsKeys::Keyer::kind), stored);
        QCOMPARE(ini.value(SettingsKeys::Radio::cwKeyer), stored == QLatin1String("Radio"));
        const int hostOpens = chip.commands().size();
        const int datagrams = int(daemon.datagrams().size());
        {
            Program again(folder);
            again.port.setAvailablePorts({QStringLiteral("ttyS0"), chip.portName()});
            QVERIFY(again.start());
            again.windows->keyerSettings()->show();
            QVERIFY(again.settingsChild<QRadioButton>(radio.toLatin1().constData())->isChecked());
            if (stored == QLatin1String("Winkeyer")) {
                QCOMPARE(again.settingsChild<QComboBox>("winkeyerPortCombo")->currentText(), chip.portName());
                QTRY_VERIFY(chip.commands().size() > hostOpens);
                QVERIFY(chip.hostOpen());
            }
            if (stored == QLatin1String("cwdaemon")) {
                QCOMPARE(again.settingsChild<QLineEdit>("cwdaemonAddressEdit")->text(), daemon.address());
                QTRY_VERIFY(daemon.datagrams().size() > datagrams);
            }
            again.windows->keyerSettings()->accept();
            again.close();
        }
        // Closing the program leaves host mode.
        if (stored == QLatin1String("Winkeyer"))
            QTRY_VERIFY(!chip.hostOpen());
    }

    // A daemon that does not answer is told once, in red and in one message box, and the window went on meanwhile.
    void aKeyerThatDoesNotAnswerIsToldOnce() {
        quint16 unused = 0;
        {
            QUdpSocket probe;
            QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
            unused = probe.localPort();
        }
        TempProgramFolder folder;
        Program p(folder);
        QVERIFY(p.start());
        p.windows->keyerSettings()->show();
        p.settingsChild<QLineEdit>("cwdaemonAddressEdit")->setText(QStringLiteral("127.0.0.1:%1").arg(unused));
        p.settingsChild<QRadioButton>("cwdaemonRadio")->click();
        QVERIFY(p.dialogs.messages.isEmpty());
        const QString told = QStringLiteral("cwdaemon nie odpowiada (127.0.0.1:%1)").arg(unused);
        QTRY_VERIFY(p.settingsChild<QLabel>("keyerStatusLabel")->text().startsWith(told));
        QTRY_COMPARE(p.dialogs.messages.size(), 1);
        QVERIFY(p.dialogs.lastText().startsWith(told));
        // Nothing keys the port's lines instead: F1 ends at once.
        p.engine().StartBuffer(1);
        QTRY_VERIFY(!p.engine().sending());
        QCOMPARE(p.dialogs.messages.size(), 1);
        p.windows->keyerSettings()->accept();
        p.close();
    }

    void bufferEditedFromItsButtonIsSentAndFoundAfterARestart() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"),
                          {QStringLiteral("[Klucz CW]"), QStringLiteral("Port=LPT1"), QStringLiteral("Predkosc=20"),
                           QStringLiteral("Wielowątkowość=0"), QStringLiteral("Podsłuch=0")});
        {
            Program p(folder);
            QVERIFY(p.start());
            p.editBuffer(3, [&](BufferEditorDialog& editor) {
                QCOMPARE(editor.windowTitle(), QStringLiteral("Bufor F3"));
                auto* text = child<QPlainTextEdit>(&editor, "bufferTextEdit");
                auto* macros = child<QListWidget>(&editor, "macroList");
                auto* insert = child<QAbstractButton>(&editor, "insertMacroButton");
                QCOMPARE(text->toPlainText(), QStringLiteral("TU <MYCALL> TEST"));
                QCOMPARE(macros->currentRow(), 0);
                text->clear();
                QTest::keyClicks(text, QStringLiteral("tu "));
                QTest::keyClick(text, Qt::Key_Return); // one line: Enter breaks nothing
                insert->click();                       // "<CALL>" at the caret
                QCOMPARE(text->toPlainText(), QStringLiteral("tu <CALL>"));
                QCOMPARE(text->textCursor().position(), 9);
                // Inside "<CALL>" nothing may go.
                QTextCursor inside = text->textCursor();
                inside.setPosition(6);
                text->setTextCursor(inside);
                insert->click();
                QCOMPARE(p.dialogs.lastText(), QStringLiteral("Nie można wstawić makro w tym miejscu !!"));
                QCOMPARE(p.dialogs.messages.constLast().title, QStringLiteral("Błąd"));
                QCOMPARE(text->toPlainText(), QStringLiteral("tu <CALL>"));
                QCOMPARE(text->textCursor().position(), 6);
                text->moveCursor(QTextCursor::End);
                QTest::keyClicks(text, QStringLiteral(" 5nn "));
                // "<MYCALL>" without a contest callsign warns, and goes in all the same.
                macros->setCurrentRow(5);
                macros->itemDoubleClicked(macros->currentItem());
                QCOMPARE(p.dialogs.messages.constLast().title, QStringLiteral("Ostrzeżenie"));
                QVERIFY(p.dialogs.lastText().startsWith(QStringLiteral("Makro <MYCALL> zastępowane")));
                child<QLineEdit>(&editor, "bufferNameEdit")->setText(QStringLiteral("Raport"));
                child<QCheckBox>(&editor, "loopCheck")->setChecked(true);
                child<QAbstractButton>(&editor, "okButton")->click();
            });
            auto* button = p.entryChild<QAbstractButton>("buffer3Button");
            QCOMPARE(button->text(), QStringLiteral("Raport"));
            QCOMPARE(button->toolTip(), QStringLiteral("TU <CALL> 5NN <MYCALL>"));
            // Written at once, before the program closes.
            QCOMPARE(p.settings().value(SettingsKeys::Buffers::text(3)), QStringLiteral("TU <CALL> 5NN <MYCALL>"));
            QCOMPARE(p.settings().value(SettingsKeys::Buffers::name(3)), QStringLiteral("Raport"));
            QVERIFY(p.settings().value(SettingsKeys::Buffers::loop(3)));

            // Sent: the call from the field, on the port, on virtual time.
            p.entryChild<QLineEdit>("callsignEdit")->setText(QStringLiteral("SP1ABC"));
            p.port.clear();
            button->click();
            QCoreApplication::processEvents();
            QVERIFY(p.entryChild<QLineEdit>("sentTextEdit")->text().trimmed().startsWith(QStringLiteral("TU ")));
            // Key-down writes: T U, then S P 1 A B C read from the field at send time, then 5 N N.
            QCOMPARE(p.port.lptWrites().count(1), 4 + 22 + 9);
            p.close();
        }
        Program again(folder);
        QVERIFY(again.start());
        QCOMPARE(again.entryChild<QAbstractButton>("buffer3Button")->text(), QStringLiteral("Raport"));
        QCOMPARE(again.engine().buffers().at(3).text, QStringLiteral("TU <CALL> 5NN <MYCALL>"));
        // "Anuluj" changes nothing.
        again.editBuffer(3, [](BufferEditorDialog& editor) {
            child<QPlainTextEdit>(&editor, "bufferTextEdit")->setPlainText(QStringLiteral("QRZ"));
            child<QAbstractButton>(&editor, "cancelButton")->click();
        });
        QCOMPARE(again.engine().buffers().at(3).text, QStringLiteral("TU <CALL> 5NN <MYCALL>"));
    }

    void recordedMessageBecomesTheBuffersWavFile() {
        TempProgramFolder folder;
        Program p(folder);
        QVERIFY(p.start());
        const QString target = folder.file(QStringLiteral("cq_moj"));
        p.dialogs.fileAnswers = {target};
        p.editBuffer(1, [&](BufferEditorDialog& editor) {
            auto* record = child<QAbstractButton>(&editor, "recordButton");
            QVERIFY(record->isVisibleTo(&editor));
            record->click();
            QCOMPARE(p.dialogs.fileRequests.constLast().proposedName, QStringLiteral("bufor_f1.wav"));
            QCOMPARE(p.recorder.recorded, QStringList{target + QStringLiteral(".wav")});
            QCOMPARE(record->text(), QStringLiteral("Zatrzymaj"));
            record->click();
            QCOMPARE(p.recorder.stops, 1);
            p.recorder.finish(true);
            QCOMPARE(record->text(), QStringLiteral("Nagraj"));
            QVERIFY(!record->isChecked());
            QCOMPARE(child<QLineEdit>(&editor, "wavFileEdit")->text(), target + QStringLiteral(".wav"));
            // A recording that fails is told and changes nothing.
            p.dialogs.fileAnswers = {folder.file(QStringLiteral("drugi.wav"))};
            record->click();
            p.recorder.finish(false, QStringLiteral("Nie ma mikrofonu: nie można nagrać komunikatu."));
            QCOMPARE(p.dialogs.lastText(), QStringLiteral("Nie ma mikrofonu: nie można nagrać komunikatu."));
            QCOMPARE(child<QLineEdit>(&editor, "wavFileEdit")->text(), target + QStringLiteral(".wav"));
            child<QAbstractButton>(&editor, "okButton")->click();
        });
        QCOMPARE(p.settings().value(SettingsKeys::Buffers::wavFile(1)), target + QStringLiteral(".wav"));
    }

    void withoutAMicrophoneRecordingSaysSoBeforeAskingForAName() {
        TempProgramFolder folder;
        Program p(folder);
        QVERIFY(p.start());
        p.recorder.microphone = false;
        p.editBuffer(2, [&](BufferEditorDialog& editor) {
            child<QAbstractButton>(&editor, "recordButton")->click();
            QVERIFY(p.dialogs.fileRequests.isEmpty());
            QCOMPARE(p.dialogs.lastText(), QStringLiteral("Nie ma mikrofonu: nie można nagrać komunikatu."));
            QVERIFY(p.recorder.recorded.isEmpty());
        });
    }

    // The buffer's own message is recorded over at once; any other existing file only after a yes.
    void recordingOverAnotherFileAsksFirst() {
        TempProgramFolder folder;
        const QString own = folder.writeBytes(QStringLiteral("cq.wav"), "RIFF");
        const QString other = folder.writeBytes(QStringLiteral("agn.wav"), "RIFF");
        folder.writeLines(QStringLiteral("kvr_log.ini"),
                          {QStringLiteral("[Bufory]"), QStringLiteral("Bufor1-plik=") + own});
        Program p(folder);
        QVERIFY(p.start());
        p.editBuffer(1, [&](BufferEditorDialog& editor) {
            auto* record = child<QAbstractButton>(&editor, "recordButton");
            p.dialogs.fileAnswers = {own};
            record->click();
            QVERIFY(p.dialogs.messages.isEmpty());
            QCOMPARE(p.recorder.recorded, QStringList{own});
            record->click();
            p.recorder.finish(true);

            // No is the default: a stray Enter keeps the other buffer's message.
            p.dialogs.fileAnswers = {other};
            record->click();
            QCOMPARE(p.dialogs.lastText(),
                     QStringLiteral("Plik WAV:\n") + other + QStringLiteral("\nistnieje.\nCzy zastąpić ten plik ?"));
            QCOMPARE(p.dialogs.messages.constLast().defaultButton, DialogButton::No);
            QCOMPARE(p.recorder.recorded.size(), 1);
            QVERIFY(!record->isChecked());
            QCOMPARE(record->text(), QStringLiteral("Nagraj"));

            p.dialogs.fileAnswers = {other};
            p.dialogs.buttonAnswers = {DialogButton::Yes};
            record->click();
            QCOMPARE(p.recorder.recorded, (QStringList{own, other}));
            record->click();
        });
    }

    void everyControlOfTheConfigurationSurvivesARestart() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Program]"), QStringLiteral("STX=7")});
        {
            Program p(folder);
            QVERIFY(p.start());
            QAction* item = child<QAction>(p.windows->entryWindow(), "actionProgramSettings");
            QVERIFY(item->isEnabled());
            KeyerSettingsDialog* dialog = p.windows->keyerSettings();
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Konfiguracja programu"));
            // The design values of a file without "Klucz CW".
            QVERIFY(p.settingsChild<QRadioButton>("noPortRadio")->isChecked());
            QCOMPARE(p.settingsChild<QSlider>("speedSlider")->value(), 30);
            QCOMPARE(p.settingsChild<QLineEdit>("dashRatioText")->text(), QStringLiteral("3.0"));
            QCOMPARE(p.settingsChild<QLineEdit>("gapRatioText")->text(), QStringLiteral("1.0"));
            QCOMPARE(p.settingsChild<QComboBox>("serialFormatCombo")->currentText(), QStringLiteral("001"));
            QCOMPARE(p.settingsChild<QComboBox>("priorityCombo")->currentIndex(), -1);
            QVERIFY(p.settingsChild<QCheckBox>("cutNumbersCheck")->isChecked());
            QCOMPARE(p.settingsChild<QComboBox>("comPortCombo")->count(), 2);
            dialog->show();

            // RTS/DTR is a choice of the serial port only.
            p.settingsChild<QRadioButton>("comPortRadio")->click();
            p.settingsChild<QRadioButton>("rtsKeyingRadio")->click();
            p.settingsChild<QRadioButton>("lptPortRadio")->click();
            QVERIFY(!p.settingsChild<QWidget>("keyingLineGroup")->isEnabled());
            auto* lpt = p.settingsChild<QComboBox>("lptPortCombo");
            lpt->setCurrentIndex(1);
            lpt->activated(1);
            QCOMPARE(p.settingsChild<QLabel>("lptAddressLabel")->text(), QStringLiteral("Port LPT [$3BC]"));
            QCOMPARE(p.port.lptAddress(), 0x3BC + 2);
            QVERIFY(!p.settingsChild<QComboBox>("comPortCombo")->isEnabled());
            p.settingsChild<QCheckBox>("pttOnPortCheck")->click();
            p.settingsChild<QSpinBox>("pttDelaySpin")->setValue(250);
            p.settingsChild<QSpinBox>("loopDelaySpin")->setValue(7);
            p.settingsChild<QSlider>("speedSlider")->setValue(28);
            QCOMPARE(p.engine().speed(), 28);
            QCoreApplication::processEvents();
            QCOMPARE(p.entryChild<QLabel>("speedLabel")->text(), QStringLiteral("28"));
            p.settingsChild<QSpinBox>("dashRatioSpin")->setValue(33);
            p.settingsChild<QSpinBox>("gapRatioSpin")->setValue(5);
            p.settingsChild<QSpinBox>("longGapRatioSpin")->setValue(40);
            QCOMPARE(p.settingsChild<QLineEdit>("dashRatioText")->text(), QStringLiteral("3.3"));
            QCOMPARE(p.settingsChild<QLineEdit>("gapRatioText")->text(), QStringLiteral("0.5"));
            p.settingsChild<QCheckBox>("sidetoneCheck")->click();
            QVERIFY(!p.entryChild<QCheckBox>("sidetoneCheck")->isChecked()); // the main window's box follows
            p.settingsChild<QSpinBox>("toneSpin")->setValue(650);
            p.settingsChild<QSpinBox>("volumeSpin")->setValue(35);
            for (const char* box : {"multithreadedCheck", "extraGapCheck", "cutNumbersCheck", "mapDownCheck",
                                    "mapUpCheck", "manualUtcCheck"})
                p.settingsChild<QCheckBox>(box)->click();
            auto* priority = p.settingsChild<QComboBox>("priorityCombo");
            priority->setCurrentIndex(3);
            priority->textActivated(QStringLiteral("Niski"));
            QCOMPARE(p.priorities.constLast(), ProcessPriority::Idle);
            p.settingsChild<QSpinBox>("utcOffsetSpin")->setValue(-3);
            // The clock follows at once: local time + 3 hours.
            QCOMPARE(p.entryChild<QLineEdit>("utcTimeEdit")->text(), QStringLiteral("11:00:05"));
            p.settingsChild<QComboBox>("serialFormatCombo")->setCurrentIndex(0);
            QCOMPARE(p.entryChild<QLineEdit>("sentSerialEdit")->text(), QStringLiteral("7"));
            p.settingsChild<QAbstractButton>("okButton")->click();
            QVERIFY(!dialog->isVisible());
            p.close();
        }
        Program p(folder);
        const IniFile ini = p.settings();
        namespace Keys = SettingsKeys::Keyer;
        QCOMPARE(ini.value(Keys::port), QStringLiteral("LPT2"));
        QCOMPARE(ini.value(Keys::keyingLine), QStringLiteral("RTS"));
        QCOMPARE(ini.value(Keys::speed), 28);
        QCOMPARE(ini.value(Keys::dashRatio), 33);
        QCOMPARE(ini.value(Keys::gapRatio), 5);
        QCOMPARE(ini.value(Keys::longGapRatio), 40);
        QCOMPARE(ini.value(Keys::pttDelayMs), 250);
        QCOMPARE(ini.value(Keys::loopDelaySeconds), 7);
        QCOMPARE(ini.value(Keys::serialFormat), 0);
        QCOMPARE(ini.value(Keys::toneHz), 650);
        QCOMPARE(ini.value(Keys::volume), 35);
        QVERIFY(ini.value(Keys::ptt));
        QVERIFY(!ini.value(Keys::sidetone));
        QVERIFY(!ini.value(Keys::multithreaded));
        QVERIFY(!ini.value(Keys::extraGap));
        QVERIFY(!ini.value(Keys::cutNumbers));
        QVERIFY(ini.value(Keys::mapDownAsInsert));
        QVERIFY(ini.value(Keys::mapUpAsPlus));
        QCOMPARE(ini.value(SettingsKeys::Program::priority), QStringLiteral("Niski"));
        QVERIFY(ini.value(SettingsKeys::Program::manualUtc));
        QCOMPARE(ini.value(SettingsKeys::Program::utcOffsetHours), -3);
        // The buffers of a fresh program are written with the rest.
        QCOMPARE(ini.value(SettingsKeys::Buffers::text(1)), QStringLiteral("CQ TEST <MYCALL> <MYCALL> TEST"));

        QVERIFY(p.start());
        QCOMPARE(p.priorities.constFirst(), ProcessPriority::Idle);
        p.windows->keyerSettings()->show();
        QVERIFY(p.settingsChild<QRadioButton>("lptPortRadio")->isChecked());
        QCOMPARE(p.settingsChild<QComboBox>("lptPortCombo")->currentText(), QStringLiteral("LPT2"));
        QVERIFY(p.settingsChild<QRadioButton>("rtsKeyingRadio")->isChecked());
        QCOMPARE(p.settingsChild<QSlider>("speedSlider")->value(), 28);
        QCOMPARE(p.settingsChild<QLineEdit>("longGapRatioText")->text(), QStringLiteral("4.0"));
        QCOMPARE(p.settingsChild<QComboBox>("priorityCombo")->currentText(), QStringLiteral("Niski"));
        QVERIFY(p.settingsChild<QCheckBox>("manualUtcCheck")->isChecked());
        QCOMPARE(p.settingsChild<QSpinBox>("utcOffsetSpin")->value(), -3);
        QVERIFY(p.settingsChild<QCheckBox>("mapUpCheck")->isChecked());
        QVERIFY(!p.settingsChild<QCheckBox>("sidetoneCheck")->isChecked());
        QCOMPARE(p.entryChild<QLineEdit>("sentSerialEdit")->text(), QStringLiteral("7"));
    }

    void serialFieldTakesTheFormatWhileItCountsItself() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Program]"), QStringLiteral("STX=7"),
                                                          QStringLiteral("[Klucz CW]"), QStringLiteral("Format=0")});
        Program p(folder);
        QVERIFY(p.start());
        auto* serial = p.entryChild<QLineEdit>("sentSerialEdit");
        auto* format = p.settingsChild<QComboBox>("serialFormatCombo");
        QCOMPARE(serial->text(), QStringLiteral("7"));
        format->setCurrentIndex(2);
        QCOMPARE(serial->text(), QStringLiteral("007"));
        format->setCurrentIndex(1);
        QCOMPARE(serial->text(), QStringLiteral("07"));
        format->setCurrentIndex(0);
        QCOMPARE(serial->text(), QStringLiteral("7"));
        // Without automatic increment the field holds what the operator typed.
        p.entryChild<QCheckBox>("autoIncrementCheck")->setChecked(false);
        format->setCurrentIndex(2);
        QCOMPARE(serial->text(), QStringLiteral("7"));
    }

    void aSavedSerialGetsTheLeadingZerosOfTheFormatAtStart() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Program]"), QStringLiteral("STX=7"),
                                                          QStringLiteral("[Klucz CW]"), QStringLiteral("Format=2")});
        Program p(folder);
        QVERIFY(p.start());
        QCOMPARE(p.entryChild<QLineEdit>("sentSerialEdit")->text(), QStringLiteral("007"));
    }

    void calibrationFromTheWindowWritesTheFactor() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Klucz CW]"), QStringLiteral("Predkosc=25")});
        Program p(folder);
        QVERIFY(p.start());
        KeyerSettingsDialog* dialog = p.windows->keyerSettings();
        dialog->show();
        p.settingsChild<QAbstractButton>("calibrateButton")->click();
        // 58.62 s of exact virtual time: the factor that brings twenty PARIS to a minute.
        QCOMPARE(p.settings().value(SettingsKeys::Keyer::calibrationFactor), 58.62 / 60.0);
        QCOMPARE(p.dialogs.messages.size(), 2);
        QCOMPARE(p.dialogs.messages.constLast().text, Calibration::resultMessage(58.62));
        QCOMPARE(dialog->windowOpacity(), 1.0);
        QCOMPARE(p.settingsChild<QSlider>("speedSlider")->value(), 25);
        QCOMPARE(p.engine().speed(), 25);
    }

    // Each test keys while its button is held and stops on any way of letting go; "Strojenie" is a carrier.
    void keyingTestKeysOnlyWhileItsButtonIsHeld_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("ending");
        QTest::addColumn<int>("period"); // ms from one key-down to the next; 0: one key-down held throughout
        QTest::newRow("Kropki, mouse released") << "dotsTestButton" << int(MouseReleased) << 80;
        QTest::newRow("Kreski, mouse released") << "dashesTestButton" << int(MouseReleased) << 160;
        QTest::newRow("Strojenie, mouse released") << "tuneTestButton" << int(MouseReleased) << 0;
        QTest::newRow("Strojenie, Esc") << "tuneTestButton" << int(Escape) << 0;
        QTest::newRow("Kropki, F12") << "dotsTestButton" << int(F12) << 80;
        QTest::newRow("Kreski, OK") << "dashesTestButton" << int(Ok) << 160;
        QTest::newRow("Strojenie, window closed") << "tuneTestButton" << int(WindowClosed) << 0;
    }
    void keyingTestKeysOnlyWhileItsButtonIsHeld() {
        QFETCH(QString, button);
        QFETCH(int, ending);
        QFETCH(int, period);
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Klucz CW]"), QStringLiteral("Port=ttyUSB0"),
                                                          QStringLiteral("Predkosc=30"), QStringLiteral("Podsłuch=0")});
        Program p(folder);
        QVERIFY(p.start());
        p.windows->keyerSettings()->show();
        auto* test = p.settingsChild<QAbstractButton>(button.toLatin1().constData());
        p.port.clear();
        // The sender stops a second into the test until the window has looked at the port.
        const qint64 from = p.time.nowMs();
        QSemaphore reached, goOn;
        p.time.at(from + 1000, [&] {
            reached.release();
            goOn.acquire();
        });
        QTest::mousePress(test, Qt::LeftButton);
        QVERIFY2(reached.tryAcquire(1, 10000), "the test does not key while its button is held");
        QList<qint64> raises, expected{0};
        for (const RecordingPort::Event& e : p.port.events())
            if (e.kind == RecordingPort::Kind::Dtr && e.value == 1)
                raises << e.ms() - from;
        for (qint64 at = period; period > 0 && at < 1000; at += period)
            expected << at;
        QCOMPARE(raises, expected);
        QVERIFY(p.port.dtr() || period > 0);
        goOn.release();

        if (ending == MouseReleased)
            QTest::mouseRelease(test, Qt::LeftButton);
        else if (ending == Escape || ending == F12)
            QTest::keyClick(test, ending == Escape ? Qt::Key_Escape : Qt::Key_F12);
        else if (ending == Ok)
            p.settingsChild<QAbstractButton>("okButton")->click();
        else
            p.windows->keyerSettings()->close();
        QVERIFY(!p.engine().keyingTestRunning());
        QVERIFY(!p.port.dtr());
        // Letting go of the mouse after the test ended another way starts nothing again.
        const qsizetype changes = p.port.events().size();
        QTest::mouseRelease(test, Qt::LeftButton);
        QCOMPARE(p.port.events().size(), changes);
    }

    void aNewUserSetsUpTheKeyerThroughTheDialogsOnly() {
        TempProgramFolder folder;
        {
            Program p(folder);
            QVERIFY(p.start());
            p.windows->keyerSettings()->show();
            auto* com = p.settingsChild<QComboBox>("comPortCombo");
            com->setCurrentIndex(com->findText(QStringLiteral("ttyUSB0")));
            p.settingsChild<QRadioButton>("comPortRadio")->click();
            QVERIFY(p.port.isOpen());
            QVERIFY(!p.entryChild<QLabel>("portStatusLabel")->isVisibleTo(p.windows->entryWindow()));
            p.settingsChild<QSlider>("speedSlider")->setValue(28);
            p.settingsChild<QAbstractButton>("okButton")->click();
            p.editBuffer(1, [](BufferEditorDialog& editor) {
                child<QPlainTextEdit>(&editor, "bufferTextEdit")->setPlainText(QStringLiteral("cq sp"));
                child<QAbstractButton>(&editor, "okButton")->click();
            });
            p.port.clear();
            auto* call = p.entryChild<QLineEdit>("callsignEdit");
            call->setFocus();
            QTest::keyClick(call, Qt::Key_F1);
            p.engine().waitForSender();
            // Keyed on DTR: C Q S P have 4 + 4 + 3 + 4 elements, each a raise and a fall.
            QCOMPARE(dtrChanges(p.port).count(1), 15);
            QCOMPARE(p.engine().timing().dotLength, 43);
            // A buffer without text says so instead of doing nothing.
            QTest::keyClick(call, Qt::Key_F10);
            QCoreApplication::processEvents();
            QVERIFY(p.windows->entryWindow()->statusBar()->currentMessage().startsWith(
                QStringLiteral("Bufor F10 jest pusty")));
            p.close();
        }
        Program again(folder);
        QVERIFY(again.start());
        QVERIFY(again.port.isOpen());
        QCOMPARE(again.engine().config().comPort, QStringLiteral("ttyUSB0"));
        QCOMPARE(again.engine().speed(), 28);
        QCOMPARE(again.engine().buffers().at(1).text, QStringLiteral("CQ SP"));
        QCOMPARE(again.engine().buffers().at(2).text, QStringLiteral("<CALL> <RAPORT> <STX>"));
        // The port the keyer holds is listed and chosen in the configuration window.
        again.windows->keyerSettings()->show();
        QCOMPARE(again.settingsChild<QComboBox>("comPortCombo")->currentText(), QStringLiteral("ttyUSB0"));
    }

    void everyOpenerOpensTheManualWindow_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Alt+K in the callsign") << "callsignEdit" << int(Qt::Key_K) << int(Qt::AltModifier);
        QTest::newRow("Alt+K in the received exchange")
            << "receivedExchangeEdit" << int(Qt::Key_K) << int(Qt::AltModifier);
        QTest::newRow("Ctrl+Enter in the callsign")
            << "callsignEdit" << int(Qt::Key_Return) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Enter in the received exchange")
            << "receivedExchangeEdit" << int(Qt::Key_Enter) << int(Qt::ControlModifier | Qt::KeypadModifier);
        for (const char* field : {"callsignEdit", "receivedExchangeEdit", "sentSerialEdit", "sentFixedPartEdit"})
            QTest::newRow(qPrintable(QStringLiteral("backquote in ") + QLatin1String(field)))
                << field << int(Qt::Key_QuoteLeft) << 0;
        QTest::newRow("click in the outgoing text") << "outgoingTextEdit" << -1 << 0;
    }
    void everyOpenerOpensTheManualWindow() {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        TempProgramFolder folder;
        Program p(folder);
        QVERIFY(p.start());
        auto* edit = p.entryChild<QLineEdit>(field.toLatin1().constData());
        const QString before = edit->text();
        QString caption;
        QTimer::singleShot(0, [&] {
            auto* manual = qobject_cast<ManualCwDialog*>(QApplication::activeModalWidget());
            QVERIFY(manual);
            caption = manual->windowTitle();
            QTest::keyClick(child<QLineEdit>(manual, "manualTextEdit"), Qt::Key_Escape);
        });
        edit->setFocus();
        if (key < 0)
            QTest::mouseClick(edit, Qt::LeftButton);
        else if (key == Qt::Key_QuoteLeft)
            QTest::keyClick(edit, '`');
        else
            QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(caption.startsWith(QStringLiteral("Nadawanie CW")));
        QVERIFY(caption.endsWith(QStringLiteral("(ESC - wyjście)")));
        QCOMPARE(edit->text(), before); // the backquote is never typed in
    }

    void manualWindowKeysWhatIsTypedWithPttHeldAndReturnsToTheFieldEnteredLast() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"),
                          {QStringLiteral("[Klucz CW]"), QStringLiteral("Port=LPT1"), QStringLiteral("PTT=1"),
                           QStringLiteral("Predkosc=20"), QStringLiteral("Podsłuch=0")});
        Program p(folder);
        QVERIFY(p.start());
        QVERIFY(QTest::qWaitForWindowActive(p.windows->entryWindow()));
        auto* received = p.entryChild<QLineEdit>("receivedExchangeEdit");
        received->setFocus();
        p.port.clear();
        QList<int> writesWhileOpen;
        QTimer::singleShot(0, [&] {
            auto* manual = qobject_cast<ManualCwDialog*>(QApplication::activeModalWidget());
            QVERIFY(manual);
            auto* text = child<QLineEdit>(manual, "manualTextEdit");
            QTest::keyClicks(text, QStringLiteral("ee"));
            QCOMPARE(text->text(), QStringLiteral("EE"));
            writesWhileOpen = p.port.lptWrites();
            QTest::keyClick(text, Qt::Key_Escape);
        });
        QTest::keyClick(received, Qt::Key_K, Qt::AltModifier);
        // PTT (13), two dots (5 down, 13 up), PTT released when the window closed.
        QCOMPARE(writesWhileOpen, (QList<int>{13, 5, 13, 5, 13}));
        QCOMPARE(p.port.lptWrites().constLast(), 8);
        QVERIFY(QTest::qWaitForWindowActive(p.windows->entryWindow()));
        QVERIFY(received->hasFocus());
    }

    // A silent sidetone is told in the status bar: a message box coming up in the middle of a transmission would
    // take the characters typed next, and they would never be sent.
    void aSilentSidetoneIsToldWithoutTakingTheManualWindowsKeys() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"), {QStringLiteral("[Klucz CW]"), QStringLiteral("Port=LPT1"),
                                                          QStringLiteral("Predkosc=20"), QStringLiteral("Podsłuch=1")});
        Program p(folder);
        QVERIFY(p.start());
        auto* call = p.entryChild<QLineEdit>("callsignEdit");
        call->setFocus();
        p.port.clear();
        QTimer::singleShot(0, [&] {
            auto* manual = QApplication::activeModalWidget();
            auto* text = child<QLineEdit>(manual, "manualTextEdit");
            QTest::keyClick(text, 'e');
            p.port.unavailable(); // as the sidetone reports its first tone without a sound device
            QCoreApplication::processEvents();
            QCOMPARE(QApplication::activeModalWidget(), manual);
            QTest::keyClick(text, 't');
            QTest::keyClick(text, Qt::Key_Escape);
        });
        QTest::keyClick(call, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(p.port.lptWrites().count(1), 2); // E and T both keyed
        QVERIFY(p.dialogs.messages.isEmpty());
        QCOMPARE(p.windows->entryWindow()->statusBar()->currentMessage(),
                 QStringLiteral("Nie ma urządzenia dźwiękowego: podsłuch CW jest niesłyszalny. Kluczowanie działa "
                                "normalnie."));
    }

    void aBufferKeyInTheManualWindowClosesItAndSendsTheBuffer() {
        TempProgramFolder folder;
        folder.writeLines(QStringLiteral("kvr_log.ini"),
                          {QStringLiteral("[Klucz CW]"), QStringLiteral("Port=LPT1"),
                           QStringLiteral("Wielowątkowość=0"), QStringLiteral("Podsłuch=0"), QStringLiteral("[Bufory]"),
                           QStringLiteral("Bufor6-tekst=E")});
        Program p(folder);
        QVERIFY(p.start());
        auto* call = p.entryChild<QLineEdit>("callsignEdit");
        p.port.clear();
        QTimer::singleShot(0, [&] {
            auto* manual = QApplication::activeModalWidget();
            QTest::keyClick(child<QLineEdit>(manual, "manualTextEdit"), Qt::Key_F6);
        });
        call->setFocus();
        QTest::keyClick(call, '`');
        QCOMPARE(p.port.lptWrites().count(1), 1); // buffer F6: one dot
        QCOMPARE(QApplication::focusWidget(), call);
    }

    void phoneModeBufferPlaysItsFileWithPttAround() {
        TempProgramFolder folder;
        const QString wav = folder.writeBytes(QStringLiteral("cq.wav"), "RIFF");
        folder.writeLines(QStringLiteral("kvr_log.ini"),
                          {QStringLiteral("[Program]"), QStringLiteral("Emisja=SSB"), QStringLiteral("[Klucz CW]"),
                           QStringLiteral("Port=LPT1"), QStringLiteral("PTT=1"), QStringLiteral("[Bufory]"),
                           QStringLiteral("Bufor1-plik=") + wav, QStringLiteral("Bufor1-petla=1")});
        Program p(folder);
        QVERIFY(p.start());
        auto* call = p.entryChild<QLineEdit>("callsignEdit");
        call->setFocus();
        p.port.clear();
        QTest::keyClick(call, Qt::Key_F1);
        QCOMPARE(p.voice.played, QStringList{wav});
        QCOMPARE(p.port.lptWrites(), QList<int>{13});
        // "TX" is down while the message plays, and releasing it stops the message.
        auto* tx = p.entryChild<QAbstractButton>("txButton");
        QVERIFY(tx->isChecked());
        tx->click();
        QCOMPARE(p.voice.stops, 1);
        QCOMPARE(p.port.lptWrites(), (QList<int>{13, 8}));
        QVERIFY(!tx->isEnabled());
        QTest::keyClick(call, Qt::Key_F1);
        QCOMPARE(p.port.lptWrites(), (QList<int>{13, 8, 13}));
        QCoreApplication::processEvents();
        QVERIFY(p.entryChild<QLabel>("loopLabel")->isVisibleTo(p.windows->entryWindow()));
        p.voice.finish(VoiceResult::Success);
        QCOMPARE(p.port.lptWrites(), (QList<int>{13, 8, 13, 8}));
        QVERIFY(p.engine().loopArmed());
        // Esc ends the loop.
        QTest::keyClick(call, Qt::Key_Escape);
        QVERIFY(!p.engine().loopArmed());

        // A buffer without a file says so.
        QTest::keyClick(call, Qt::Key_F2);
        QCOMPARE(p.voice.played.size(), 2);
        QCoreApplication::processEvents();
        QVERIFY(p.windows->entryWindow()->statusBar()->currentMessage().startsWith(
            QStringLiteral("Bufor F2 nie ma pliku WAV")));
    }
};

QTEST_MAIN(TestKeyerDialogs)
#include "tst_keyerdialogs.moc"
