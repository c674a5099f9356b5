#include "exchangeanalysisdialog.h"
#include "helpfile.h"
#include "lifecyclefixture.h"
#include "log/analysishandlers.h"
#include "operatordatadialog.h"
#include "settings/inifile.h"
#include "workedcountieswindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

class TestLifecycleDialogs : public QObject {
    Q_OBJECT

private:
    static QStringList countyLog() {
        return {TestQso().time("10:00:00").band("80M").call("SP1AAA").stx("001").srx("BGP"),
                TestQso().time("10:01:00").band("40M").call("SP2BBB").stx("002").srx("BGW"),
                TestQso().time("10:02:00").band("2M").mode("FM").call("SP4DDD").stx("004").srx("KO02MD")};
    }
    template <typename T> static T* child(QWidget& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }
    static void leaveField(QLineEdit* edit) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }

private slots:
    void locatorModeAsksForTheOwnLocator() {
        SessionFixture f(countyLog());
        ExchangeAnalysisDialog dialog(f.session);
        QSignalSpy counties(&dialog, &ExchangeAnalysisDialog::countiesWindowRequested);
        QSignalSpy fixedPart(&dialog, &ExchangeAnalysisDialog::sentFixedPartChanged);
        f.dialogs.inputAnswers = {QStringLiteral("zz11"), QStringLiteral("jo91ru")};
        QVERIFY(!child<QSpinBox>(dialog, "sameLocatorKmSpin")->isEnabled());

        QTest::mouseClick(child<QRadioButton>(dialog, "locatorModeRadio"), Qt::LeftButton);

        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Został wprowadzony niepoprawny lokator !!")});
        QCOMPARE(child<QRadioButton>(dialog, "locatorModeRadio")->text(), QStringLiteral("Lokator  [JO91RU]"));
        QVERIFY(child<QSpinBox>(dialog, "sameLocatorKmSpin")->isEnabled());
        QCOMPARE(counties.count(), 1);
        QCOMPARE(counties.first().first().toBool(), false);
        QCOMPARE(fixedPart.count(), 1);
        QCOMPARE(fixedPart.first().first().toString(), QString());
        QCOMPARE(
            IniFile(f.session.settingsPath()).readString(QStringLiteral("Operator"), QStringLiteral("Lokator"), {}),
            QStringLiteral("JO91RU"));
    }

    void analysisSwitchShowsTheCountiesOfTheCurrentBand() {
        SessionFixture f(countyLog());
        ExchangeAnalysisDialog dialog(f.session);
        WorkedCountiesWindow countiesWindow(f.session);
        QSignalSpy counties(&dialog, &ExchangeAnalysisDialog::countiesWindowRequested);
        QCOMPARE(countiesWindow.windowTitle(), QStringLiteral("[0] Zalogowane powiaty"));

        QTest::mouseClick(child<QCheckBox>(dialog, "analysisCheck"), Qt::LeftButton);

        QVERIFY(f.session.analysis.enabled);
        QCOMPARE(counties.count(), 1);
        QCOMPARE(counties.first().first().toBool(), true);
        QCOMPARE(countiesWindow.counties(), QStringList{QStringLiteral("BGP")});
        QCOMPARE(countiesWindow.windowTitle(), QStringLiteral("[1] Zalogowane powiaty"));

        f.session.setBand(QStringLiteral("40M"));
        AnalysisHandlers::BandOrModeChanged(f.session);
        QCOMPARE(countiesWindow.counties(), QStringList{QStringLiteral("BGW")});
        f.session.setBand(QStringLiteral("20M"));
        AnalysisHandlers::BandOrModeChanged(f.session);
        QVERIFY(countiesWindow.counties().isEmpty());
        QCOMPARE(countiesWindow.windowTitle(), QStringLiteral("[0] Zalogowane powiaty"));
    }

    void vhfBandTicksLocatorModeAndTheSwitch() {
        SessionFixture f(countyLog());
        f.session.operatorData.locator = QStringLiteral("JO91RU");
        ExchangeAnalysisDialog dialog(f.session);
        QSignalSpy fixedPart(&dialog, &ExchangeAnalysisDialog::sentFixedPartChanged);

        dialog.onVhfBandChosen();

        QVERIFY(child<QRadioButton>(dialog, "locatorModeRadio")->isChecked());
        QVERIFY(child<QCheckBox>(dialog, "analysisCheck")->isChecked());
        QCOMPARE(fixedPart.count(), 1);
        QCOMPARE(fixedPart.first().first().toString(), QStringLiteral("JO91RU"));
        QVERIFY(f.session.scoreSummary().contains(QStringLiteral("Suma ODX:")));
    }

    void countiesWindowSettingsRoundTrip() {
        SessionFixture f;
        FontSpec font;
        font.face = QStringLiteral("DejaVu Sans");
        font.pointSize = 12;
        font.bold = true;
        font.italic = true;
        font.colour = 0x000000FF;
        {
            WorkedCountiesWindow countiesWindow(f.session);
            countiesWindow.setGeometry(50, 60, 210, 330);
            countiesWindow.setListFont(font);
            countiesWindow.setBackgroundColour(0x00E0E0E0);
            IniFile settings(f.session.settingsPath());
            countiesWindow.writeSettings(settings);
        }
        const IniFile settings(f.session.settingsPath());
        QCOMPARE(settings.readString(QStringLiteral("Powiaty"), QStringLiteral("Styl czcionki"), {}),
                 QStringLiteral("pogrubienie,kursywa"));
        WorkedCountiesWindow countiesWindow(f.session);
        countiesWindow.readSettings(settings);
        QCOMPARE(countiesWindow.size(), QSize(210, 330));
        QCOMPARE(countiesWindow.backgroundColour(), 0x00E0E0E0);
        const FontSpec back = countiesWindow.listFont();
        QVERIFY(back.bold && back.italic && !back.underline);
        QCOMPARE(back.pointSize, 12);
        QCOMPARE(back.colour, 0x000000FF);
    }

    void operatorDataIsReadAtCreationAndWrittenInOrderOnOk() {
        SessionFixture f;
        {
            IniFile settings(f.session.settingsPath());
            settings.writeString(QStringLiteral("Operator"), QStringLiteral("Uzywany znak"), QStringLiteral("SP9KVR"));
            settings.writeString(QStringLiteral("Cabrillo"), QStringLiteral("Zawody"), QStringLiteral("SP-DX"));
        }
        OperatorDataDialog dialog(f.session);
        QCOMPARE(child<QLineEdit>(dialog, "contestCallEdit")->text(), QStringLiteral("SP9KVR"));
        QCOMPARE(dialog.contestName(), QStringLiteral("SP-DX"));
        QCOMPARE(f.session.operatorData.contestCall, QStringLiteral("SP9KVR"));
        QSignalSpy caption(&dialog, &OperatorDataDialog::locatorCaptionChanged);

        QLineEdit* locator = child<QLineEdit>(dialog, "locatorEdit");
        QTest::keyClicks(locator, QStringLiteral("jo91ru"));
        QCOMPARE(locator->text(), QStringLiteral("JO91RU"));
        QTest::keyClicks(child<QLineEdit>(dialog, "nameEdit"), QStringLiteral("Jan Kowalski"));
        QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);

        QCOMPARE(caption.count(), 1);
        QCOMPARE(f.session.operatorData.locator, QStringLiteral("JO91RU"));
        const IniFile settings(f.session.settingsPath());
        QCOMPARE(settings.readString(QStringLiteral("Operator"), QStringLiteral("Name"), {}),
                 QStringLiteral("Jan Kowalski"));
        QStringList keys;
        bool inOperator = false;
        for (const QString& line : f.folder.readLines(QStringLiteral("kvr_log.ini"))) {
            if (line.startsWith(QLatin1Char('[')))
                inOperator = line == QStringLiteral("[Operator]");
            else if (inOperator && line.contains(QLatin1Char('=')))
                keys.append(line.section(QLatin1Char('='), 0, 0));
        }
        QCOMPARE(keys, (QStringList{"Uzywany znak", "Name", "E-mail", "Adres1", "Adres2", "Miejscowosc", "Kod",
                                    "Lokator", "Znak operatora"}));
    }

    void invalidLocatorIsRefusedWhenLeavingTheField() {
        SessionFixture f;
        OperatorDataDialog dialog(f.session);
        QSignalSpy caption(&dialog, &OperatorDataDialog::locatorCaptionChanged);
        QLineEdit* locator = child<QLineEdit>(dialog, "locatorEdit");

        locator->setText(QStringLiteral("JO91R"));
        leaveField(locator);
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Został wprowadzony niepoprawny lokator !!")});
        QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(caption.count(), 0);

        locator->clear();
        leaveField(locator);
        QCOMPARE(caption.count(), 1);
        QCOMPARE(AnalysisHandlers::locatorOptionCaption(caption.first().first().toString()),
                 QStringLiteral("Lokator  []"));
    }

    void backLeavesTheSettingsFileAlone() {
        SessionFixture f;
        OperatorDataDialog dialog(f.session);
        QTest::keyClicks(child<QLineEdit>(dialog, "contestCallEdit"), QStringLiteral("sp9abc"));
        QTest::mouseClick(child<QPushButton>(dialog, "backButton"), Qt::LeftButton);
        QVERIFY(!IniFile(f.session.settingsPath()).exists());
        QVERIFY(f.session.operatorData.contestCall.isEmpty());
        QCOMPARE(child<QLineEdit>(dialog, "contestCallEdit")->text(), QStringLiteral("SP9ABC"));
    }

    void backAfterAnEditedLocatorShowsTheLocatorInUse() {
        SessionFixture f;
        f.session.operatorData.locator = QStringLiteral("JO91RU");
        OperatorDataDialog dialog(f.session);
        QSignalSpy caption(&dialog, &OperatorDataDialog::locatorCaptionChanged);
        QLineEdit* locator = child<QLineEdit>(dialog, "locatorEdit");
        QCOMPARE(locator->text(), QStringLiteral("JO91RU"));
        locator->setText(QStringLiteral("KO02MD"));
        leaveField(locator);
        QCOMPARE(caption.last().first().toString(), QStringLiteral("KO02MD"));

        QTest::mouseClick(child<QPushButton>(dialog, "backButton"), Qt::LeftButton);

        QCOMPARE(f.session.operatorData.locator, QStringLiteral("JO91RU"));
        QCOMPARE(caption.count(), 2);
        QCOMPARE(caption.last().first().toString(), QStringLiteral("JO91RU"));
    }

    void aboutBoxAndMissingHelpPage() {
        ScriptedDialogs dialogs;
        HelpFile::about(dialogs);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().title, QStringLiteral("O programie..."));
        QCOMPARE(dialogs.messages.first().icon, MessageIcon::Information);
        QCOMPARE(dialogs.lastText(), "Uniwersalny program do logowania w zawodach.\n\nWersja " + buildVersion());

        // The tests run outside the folder the help page is copied to.
        QVERIFY(!QFileInfo::exists(HelpFile::path()));
        QVERIFY(!HelpFile::read(dialogs));
        QCOMPARE(dialogs.lastText(),
                 QStringLiteral("Plik pomocy:\n") + HelpFile::path() + QStringLiteral("\nnie został znaleziony."));
    }

    void helpPageShipsBesideTheProgram() {
        const QString shipped = QStringLiteral(KVR_BIN_DIR "/KVR_Log.html");
        QVERIFY(QFileInfo::exists(shipped));
        QFile page(shipped);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        for (const char* topic : {"lang=\"pl\"", "Okno logu", "Menu", "Pliki programu", "Backup_logs"})
            QVERIFY2(text.contains(QString::fromUtf8(topic)), topic);
    }
};

QTEST_MAIN(TestLifecycleDialogs)
#include "tst_lifecycle_dialogs.moc"
