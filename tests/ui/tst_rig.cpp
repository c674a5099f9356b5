#include "applicationwindows.h"
#include "entrywindow.h"
#include "entrywindowrig.h"
#include "log/logsession.h"
#include "rigctldprocess.h"
#include "rigsettingsdialog.h"
#include "scripteddialogs.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"
#include "testclock.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

// The whole program on a fresh program folder, its radio reached through rigctld.
struct Program {
    explicit Program(const QString& settingsText) {
        folder.writeBytes(QStringLiteral("kvr_log.ini"), settingsText.toUtf8());
    }
    bool start() {
        windows = std::make_unique<ApplicationWindows>(session);
        if (!windows->startUp())
            return false;
        windows->entryWindow()->restoreWindowsOnFirstActivation();
        return true;
    }
    EntryWindow* window() const { return windows->entryWindow(); }
    template <typename T> T* child(const char* name) const { return window()->findChild<T*>(QLatin1String(name)); }
    QString band() const { return child<QComboBox>("bandCombo")->currentText(); }
    QString mode() const { return child<QComboBox>("modeCombo")->currentText(); }
    QString status() const { return child<QLabel>("rigStatusLabel")->text(); }
    RigControl& rig() const { return windows->rig()->control(); }
    // The radio is set to this by another program; true once a reading of the window's radio shows it.
    bool radioSetTo(RigctldProcess& rigctld, qint64 hz, const char* mode) {
        // The mode first: a reading that shows the new frequency then shows the new mode too.
        if (!rigctld.set(QStringLiteral("M %1 0").arg(QLatin1String(mode))) ||
            !rigctld.set(QStringLiteral("F %1").arg(hz)))
            return false;
        // The first reading that shows the frequency has been taken by the window when this returns.
        QSignalSpy spy(&rig(), &RigControl::frequencyChanged);
        while (rig().frequency() != hz) {
            if (!spy.wait(5000))
                return false;
        }
        return true;
    }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 5))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};
    std::unique_ptr<ApplicationWindows> windows;
};

QString radioSettings(const RigctldProcess& rigctld, int direction) {
    return QStringLiteral("[Radio]\r\nPolaczenie=2\r\nRigctld=%1\r\nOdpytywanie=100\r\nTryb=%2\r\n")
        .arg(rigctld.address())
        .arg(direction);
}

const QList<RigModel> kModels = {{1, QStringLiteral("Hamlib"), QStringLiteral("Dummy")},
                                 {3070, QStringLiteral("Icom"), QStringLiteral("IC-7100")},
                                 {3073, QStringLiteral("Icom"), QStringLiteral("IC-7300")},
                                 {1035, QStringLiteral("Yaesu"), QStringLiteral("FT-991")}};

QStringList shownModels(const QListWidget* list) {
    QStringList shown;
    for (int row = 0; row < list->count(); ++row) {
        if (!list->item(row)->isHidden())
            shown << list->item(row)->text();
    }
    return shown;
}

} // namespace

class TestRig : public QObject {
    Q_OBJECT
private slots:
    void theDialogFindsModelsAndRefusesWhatCannotConnect() {
        ScriptedDialogs dialogs;
        RigSettings saved;
        saved.connection = RigSettings::Connection::Serial;
        saved.model = 3073;
        saved.port = QStringLiteral("/dev/ttyUSB1");
        saved.speed = 19200;
        RigSettingsDialog dialog(saved, kModels, {QStringLiteral("/dev/ttyUSB0")}, dialogs);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Radio (CAT)"));
        auto* models = dialog.findChild<QListWidget*>(QStringLiteral("modelList"));
        QCOMPARE(models->currentItem()->text(), QStringLiteral("Icom IC-7300 (3073)"));
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("portCombo"))->currentText(), saved.port);
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("speedCombo"))->currentText(), QStringLiteral("19200"));

        // Every word typed must be in the maker, the name or the number.
        QTest::keyClicks(dialog.findChild<QLineEdit*>(QStringLiteral("modelSearchEdit")), QStringLiteral("icom 7100"));
        QCOMPARE(shownModels(models), QStringList{QStringLiteral("Icom IC-7100 (3070)")});
        models->setCurrentRow(1);
        QCOMPARE(dialog.settings().model, 3070);

        dialog.findChild<QRadioButton*>(QStringLiteral("rigctldRadio"))->setChecked(true);
        QVERIFY(!models->isEnabled());
        auto* address = dialog.findChild<QLineEdit*>(QStringLiteral("rigctldAddressEdit"));
        QVERIFY(address->isEnabled());
        address->setText(QStringLiteral("localhost"));
        dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Adres rigctld ma postać host:port, np. localhost:4532")});
        QVERIFY(dialog.isVisible());
        address->setText(QStringLiteral("localhost:4533"));
        dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.settings().rigctldAddress, QStringLiteral("localhost:4533"));
        QCOMPARE(dialog.settings().model, 3070);

        // A model this hamlib does not list is kept as it was saved.
        saved.model = 99999;
        RigSettingsDialog older(saved, kModels, {}, dialogs);
        QCOMPARE(older.settings().model, 99999);
    }

    void theMenuItemSavesTheRadioAndConnects() {
        QString reason;
        if (!RigctldProcess::available(&reason))
            QSKIP(qPrintable(reason));
        RigctldProcess rigctld;
        QVERIFY(rigctld.start());
        Program p(QStringLiteral("[Program]\r\nCzas UTC manualny=1\r\n"));
        QVERIFY(p.start());
        QVERIFY(!p.child<QLabel>("rigStatusLabel")->isVisible());
        // "Radio (CAT)" follows "Konfiguracja programu" in "Konfiguracja".
        const QList<QAction*> items = p.child<QMenu>("settingsMenu")->actions();
        const qsizetype at = items.indexOf(p.child<QAction>("actionProgramSettings"));
        QCOMPARE(items.value(at + 1)->text(), QStringLiteral("Radio (CAT)"));

        QTimer::singleShot(0, [&rigctld] {
            auto* dialog = qobject_cast<RigSettingsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QRadioButton*>(QStringLiteral("rigctldRadio"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("rigctldAddressEdit"))->setText(rigctld.address());
            dialog->findChild<QSpinBox*>(QStringLiteral("pollIntervalSpin"))->setValue(200);
            dialog->findChild<QComboBox*>(QStringLiteral("directionCombo"))->setCurrentIndex(1);
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        p.child<QAction>("actionRigSettings")->trigger();
        const IniFile ini(p.folder.file(QStringLiteral("kvr_log.ini")));
        QCOMPARE(ini.value(SettingsKeys::Radio::connection), 2);
        QCOMPARE(ini.value(SettingsKeys::Radio::rigctld), rigctld.address());
        QCOMPARE(ini.value(SettingsKeys::Radio::pollMs), 200);
        QCOMPARE(ini.value(SettingsKeys::Radio::direction), 1);
        QTRY_COMPARE(p.status(), QStringLiteral("Radio: połączone"));
        // The dummy's 145 MHz FM is where the window goes.
        QTRY_COMPARE(p.band(), QStringLiteral("2M"));
        QCOMPARE(p.mode(), QStringLiteral("FM"));
        QCOMPARE(p.child<QLabel>("rigFrequencyLabel")->text(), QStringLiteral("145000.0 kHz"));
    }

    void theEntryWindowFollowsTheRadioBothWays() {
        QString reason;
        if (!RigctldProcess::available(&reason))
            QSKIP(qPrintable(reason));
        RigctldProcess rigctld;
        QVERIFY(rigctld.start());
        QVERIFY(rigctld.set(QStringLiteral("F 14025000")));
        QVERIFY(rigctld.set(QStringLiteral("M CW 0")));
        Program p(QStringLiteral("[Program]\r\nCzas UTC manualny=1\r\nPasmo=80M\r\nEmisja=SSB\r\n"
                                 "[Operator]\r\nLokator=JO91RU\r\n") +
                  radioSettings(rigctld, 1));
        QVERIFY(p.start());
        QTRY_COMPARE(p.band(), QStringLiteral("20M"));
        QCOMPARE(p.mode(), QStringLiteral("CW"));
        QCOMPARE(p.child<QLineEdit>("rstSentEdit")->text(), QStringLiteral("599"));
        QCOMPARE(p.status(), QStringLiteral("Radio: połączone"));
        QCOMPARE(p.child<QLabel>("rigFrequencyLabel")->text(), QStringLiteral("14025.0 kHz"));

        // The reading that shows the radio's new frequency is the one that moves the window.
        QVERIFY(p.radioSetTo(rigctld, 3'750'000, "LSB"));
        QCOMPARE(p.band(), QStringLiteral("80M"));
        QCOMPARE(p.mode(), QStringLiteral("SSB"));
        QCOMPARE(p.child<QLineEdit>("rstSentEdit")->text(), QStringLiteral("59"));

        // A VHF band switches the locator analysis on, as the operator's own band change does.
        QVERIFY(!p.session.analysis.enabled);
        QVERIFY(p.radioSetTo(rigctld, 144'300'000, "USB"));
        QCOMPARE(p.band(), QStringLiteral("2M"));
        QCOMPARE(p.mode(), QStringLiteral("SSB"));
        QVERIFY(p.session.analysis.enabled);
        QCOMPARE(p.session.analysis.mode, AnalysisMode::Locator);
        QCOMPARE(p.child<QLineEdit>("sentFixedPartEdit")->text(), QStringLiteral("JO91RU"));

        // Both ways: the operator's band change tunes the radio, and the window stays on the operator's band.
        auto* call = p.child<QLineEdit>("callsignEdit");
        call->setFocus();
        QTest::keyClicks(call, QStringLiteral("40M"));
        QTest::keyClick(call, Qt::Key_Return);
        QCOMPARE(p.band(), QStringLiteral("40M"));
        QTRY_COMPARE(rigctld.frequency(), qint64(7'100'000));
        QTRY_COMPARE(rigctld.mode(), QStringLiteral("LSB"));
        QTRY_COMPARE(p.rig().frequency(), qint64(7'100'000));
        QCOMPARE(p.band(), QStringLiteral("40M"));
        QVERIFY(p.dialogs.messages.isEmpty());

        // rigctld gone: shown at once, the window keeps working; back again: connected without a hand.
        rigctld.kill();
        QTRY_VERIFY(p.status().startsWith(QStringLiteral("Radio: brak połączenia")));
        QVERIFY(!p.child<QLabel>("rigFrequencyLabel")->isVisible());
        QTest::keyClicks(call, QStringLiteral("SP9ABC"));
        QCOMPARE(call->text(), QStringLiteral("SP9ABC"));
        QVERIFY(rigctld.start());
        QTRY_COMPARE_WITH_TIMEOUT(p.status(), QStringLiteral("Radio: połączone"), 10000);
    }
};

QTEST_MAIN(TestRig)
#include "tst_rig.moc"
