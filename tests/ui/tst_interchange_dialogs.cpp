#include "adifexportdialog.h"
#include "cabrilloexportdialog.h"
#include "edibanddatadialog.h"
#include "ediexportdialog.h"
#include "interchangemenu.h"
#include "log/logsession.h"
#include "scripteddialogs.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"
#include "ui_adifexportdialog.h"
#include "ui_cabrilloexportdialog.h"
#include "ui_edibanddatadialog.h"
#include "ui_ediexportdialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

struct Fixture {
    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2024, 6, 2), QTime(8, 9, 10))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};
    QWidget mainWindow;

    explicit Fixture(const QStringList& log = {}) {
        session.setLogPath(folder.file("log.kvr"));
        OperatorData& op = session.operatorData;
        op.contestCall = QStringLiteral("sp9xyz/p");
        op.operatorCall = QStringLiteral("SP9XYZ");
        op.name = QStringLiteral("Jan Kowalski");
        op.address1 = QStringLiteral("ul. Długa 1");
        op.postcode = QStringLiteral("43-300");
        op.town = QStringLiteral("Bielsko-Biała");
        op.locator = QStringLiteral("KO02MD");
        folder.writeLines("log.kvr", log);
        session.LoadCountyList();
        session.reload();
    }
    IniFile settings() const { return IniFile(folder.file("kvr_log.ini")); }
    // Moves the log into the folder "zawody", apart from the program folder; returns that folder.
    QString moveLogToItsOwnFolder() {
        QDir(folder.path()).mkpath("zawody");
        const QString moved = folder.file("zawody/log.kvr");
        QFile::rename(session.logPath(), moved);
        session.setLogPath(moved);
        session.reload();
        return folder.file("zawody");
    }
    // The folder the operator picks in the choosers.
    QString pickedFolder() const {
        QDir(folder.path()).mkpath("inne");
        return folder.file("inne");
    }
};

QStringList vhfLog() {
    const TestQso nextDay = TestQso().date("2024-06-02");
    return {
        TestQso().time("10:00:00").band("2M").call("SP1AA").stx("001 KO02MD").srx("005JO90AB"),
        TestQso().time("10:01:00").band("2M").call("SP2BB").stx("002 KO02MD").srx("006JO80CD"),
        nextDay.time("10:02:00").band("70CM").mode("PH").rst("59").call("SP3CC").stx("003 KO02MD").srx("007JO91EF")};
}

// Closes the next modal dialog once the event loop runs it.
void closeModalSoon() {
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

} // namespace

class TestInterchangeDialogs : public QObject {
    Q_OBJECT
private slots:
    void cabrilloDialogStartsAtTwoPointZeroWithoutSettings();
    void cabrilloVersionSwitchesTheEnabledControls();
    void cabrilloFieldsFilterTheirInput();
    void cabrilloMenuCommandWarnsAboutWarcAndFillsOperatorData();
    void cabrilloOkWritesTheFileAndSavesTheSettings();
    void cabrilloSettingsAreRestoredByTheNextWindow();
    void adifDialogFillsContestAndOperatorAndWrites();
    void ediCommandNeedsLocatorAnalysis();
    void ediDialogShowsStatisticsAndScores();
    void ediSpinsAndPresetsRecompute();
    void ediSaveValidatesThenWritesEveryBand();
    void ediSettingsAreWrittenOnClose();
    void importCommandsUseTheHooks();
    void choosersOpenInTheLogFolderThenInTheFolderLastChosen();
    void adifDialogWithoutContestNameWritesNoContestId();
    void importFromTheMenuTellsTheCountAndSetsTheSerial();
};

void TestInterchangeDialogs::cabrilloDialogStartsAtTwoPointZeroWithoutSettings() {
    Fixture f;
    CabrilloExportDialog dialog(f.session);
    const auto ui = dialog.ui();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Nagłówek pliku Cabrillo"));
    QVERIFY(ui->domesticContestRadio->isChecked());
    QCOMPARE(ui->claimedScoreEdit->text(), QStringLiteral("0"));
    QCOMPARE(ui->locationEdit->text(), QStringLiteral("DX"));
    QCOMPARE(ui->operatorsEdit->text(), QStringLiteral("SP9XYZ"));
    QCOMPARE(ui->assistedCombo->currentText(), QStringLiteral("NON-ASSISTED"));
    QCOMPARE(ui->modeCombo->currentText(), QStringLiteral("MIXED"));
    QCOMPARE(ui->powerCombo->currentText(), QStringLiteral("LOW"));
    QCOMPARE(ui->bandCombo->currentText(), QStringLiteral("ALL "));
    QCOMPARE(ui->contestCombo->count(), 46);
    QCOMPARE(ui->contestCombo->itemText(0), QStringLiteral(" Zawody nie wymienione na liście"));
    QCOMPARE(ui->contestCombo->itemText(40), QStringLiteral("RSGB-IOTA"));
    QCOMPARE(ui->overlayCombo->isEditable(), true);
    QCOMPARE(ui->categoryEdit->toolTip(),
             QStringLiteral("Kategoria zawodów, np. A KF, B KF, SINGLE-OP ALL SSB HIGH, UKF, CHECKLOG itp."));
    // The required fields are blue and grey as the messages say; the others keep the plain background.
    auto background = [](QWidget* edit) { return edit->palette().color(QPalette::Base); };
    const QColor blue = background(ui->callsignEdit);
    QVERIFY(blue.blue() > blue.red());
    QCOMPARE(background(ui->nameEdit), blue);
    QCOMPARE(background(ui->address1Edit).red(), background(ui->address1Edit).blue());
    QVERIFY(background(ui->address1Edit) != background(ui->provinceEdit));
    QVERIFY(background(ui->callsignEdit) != background(ui->provinceEdit));
}

void TestInterchangeDialogs::cabrilloVersionSwitchesTheEnabledControls() {
    Fixture f;
    CabrilloExportDialog dialog(f.session);
    dialog.show();
    const auto ui = dialog.ui();
    QVERIFY(ui->domesticContestEdit->isEnabled() && ui->categoryEdit->isEnabled() &&
            ui->domesticContestCaption->isEnabled());
    QVERIFY(!ui->contestCombo->isEnabled() && !ui->stationCombo->isEnabled() && !ui->locationEdit->isEnabled());
    QVERIFY(ui->overlayCombo->isEnabled());
    QTest::mouseClick(ui->internationalContestRadio, Qt::LeftButton);
    QVERIFY(!ui->domesticContestEdit->isEnabled() && !ui->categoryEdit->isEnabled() &&
            !ui->categoryCaption->isEnabled());
    QVERIFY(ui->contestCombo->isEnabled() && ui->categoryOperatorCombo->isEnabled() && ui->locationEdit->isEnabled() &&
            ui->timeCaption->isEnabled());
    QVERIFY(ui->overlayCombo->isEnabled());
    QTest::mouseClick(ui->domesticContestRadio, Qt::LeftButton);
    QVERIFY(ui->domesticContestEdit->isEnabled() && !ui->contestCombo->isEnabled());
}

void TestInterchangeDialogs::cabrilloFieldsFilterTheirInput() {
    Fixture f;
    CabrilloExportDialog dialog(f.session);
    dialog.show();
    const auto ui = dialog.ui();
    ui->claimedScoreEdit->clear();
    QTest::keyClicks(ui->claimedScoreEdit, "12a-3");
    QCOMPARE(ui->claimedScoreEdit->text(), QStringLiteral("123"));
    QTest::keyClicks(ui->callsignEdit, "sp9abc/p");
    QCOMPARE(ui->callsignEdit->text(), QStringLiteral("SP9ABC/P"));
    QTest::keyClicks(ui->nameEdit, "jan");
    QCOMPARE(ui->nameEdit->text(), QStringLiteral("jan"));
    // Typed overlay text stays out of the list and out of the header; a list item typed in is written.
    ui->overlayCombo->setFocus();
    QTest::keyClicks(ui->overlayCombo, "XYZ");
    QTest::keyClick(ui->overlayCombo, Qt::Key_Return);
    QCOMPARE(ui->overlayCombo->count(), 5);
    QVERIFY(dialog.header().overlay.isEmpty());
    ui->overlayCombo->setEditText(QStringLiteral("ROOKIE"));
    QCOMPARE(dialog.header().overlay, QStringLiteral("ROOKIE"));
}

void TestInterchangeDialogs::cabrilloMenuCommandWarnsAboutWarcAndFillsOperatorData() {
    Fixture f;
    InterchangeMenu::Hooks hooks;
    hooks.warcOption = [] { return true; };
    InterchangeMenu menu(f.session, hooks, &f.mainWindow);
    closeModalSoon();
    menu.exportCabrillo();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Informacja"));
    QCOMPARE(f.dialogs.messages.first().text,
             QStringLiteral("Ponieważ wybrana jest opcja logowania na pasmach WARC,\na podczas zawodów nie można "
                            "pracować  na tych pasmach,\nwszystkie QSO z  pasm  WARC zostaną   pominięte  w  pliku "
                            "\nCabrillo."));
    const auto ui = menu.cabrilloDialog()->ui();
    QCOMPARE(ui->callsignEdit->text(), QStringLiteral("SP9XYZ/P"));
    QCOMPARE(ui->address3Edit->text(), QStringLiteral("43-300 Bielsko-Biała, Poland"));
    QCOMPARE(ui->locatorEdit->text(), QStringLiteral("KO02MD"));
    // Closing by the window's box saves the settings.
    QCOMPARE(f.settings().readString("Cabrillo", "Wersja", {}), QStringLiteral("2.0"));
}

void TestInterchangeDialogs::cabrilloOkWritesTheFileAndSavesTheSettings() {
    Fixture f({TestQso().time("12:00:00").call("SP1AA"), TestQso().time("12:01:00").band("30M").call("SP2BB")});
    CabrilloExportDialog dialog(f.session);
    dialog.prepare(false);
    dialog.show();
    const auto ui = dialog.ui();
    QTest::keyClicks(ui->domesticContestEdit, "sp dx");
    QTest::keyClicks(ui->remarksEdit, "pierwsza");
    QTest::keyClick(ui->remarksEdit, Qt::Key_Return);
    QTest::keyClicks(ui->remarksEdit, "druga");
    // A line break after the last remark adds no empty remark.
    QTest::keyClick(ui->remarksEdit, Qt::Key_Return);
    ui->address1Edit->clear();
    QTest::mouseClick(ui->okButton, Qt::LeftButton);
    QCOMPARE(f.dialogs.lastText(),
             QStringLiteral("Proszę wprowadzić adres!\nWszystkie szare pola muszą być wypełnione!"));
    QVERIFY(dialog.isVisible());
    QTest::keyClicks(ui->address1Edit, "Adres 1");
    f.dialogs.fileAnswers = {f.folder.file("wynik")};
    QSignalSpy exported(&dialog, &CabrilloExportDialog::exported);
    QTest::mouseClick(ui->okButton, Qt::LeftButton);
    QCOMPARE(exported.size(), 1);
    QVERIFY(!dialog.isVisible());
    const QStringList lines = f.folder.readLines("wynik.cbr");
    QCOMPARE(lines.mid(0, 3), QStringList({"START-OF-LOG: 2.0", "CONTEST: SP DX", "CALLSIGN: SP9XYZ/P"}));
    QVERIFY(lines.contains("SOAPBOX: pierwsza"));
    QVERIFY(lines.contains("SOAPBOX: druga"));
    QCOMPARE(lines.filter("SOAPBOX:").size(), 2);
    QCOMPARE(lines.filter("QSO:").size(), 1); // the 30 m contact is left out
    QCOMPARE(f.dialogs.lastText(), "Plik Cabrillo: \n" + f.folder.file("wynik.cbr") + "\nzostał zapisany!");
    const IniFile ini = f.settings();
    QCOMPARE(ini.readString("Cabrillo", "Zawody_krajowe", {}), QStringLiteral("SP DX"));
    QCOMPARE(ini.readString("Cabrillo", "Uwagi", {}), QStringLiteral("pierwsza|druga"));
    // Only the declared keys of the section are written, none named after a control of the window.
    QSet<QString> declared;
    for (const SettingsKeys::AnyKey& key : SettingsKeys::fixedKeys())
        std::visit([&](const auto& k) { declared.insert(k.section + '/' + k.name); }, key);
    QString section;
    // The settings file is UTF-8.
    for (const QString& line : QString::fromUtf8(fileBytes(f.folder.file("kvr_log.ini"))).split("\r\n")) {
        if (line.startsWith('['))
            section = line.mid(1, line.indexOf(']') - 1);
        else if (section == "Cabrillo" && line.contains('='))
            QVERIFY2(declared.contains(section + '/' + line.section('=', 0, 0)), qPrintable(line));
    }
}

void TestInterchangeDialogs::cabrilloSettingsAreRestoredByTheNextWindow() {
    Fixture f;
    {
        IniFile ini(f.folder.file("kvr_log.ini"));
        ini.writeString("Cabrillo", "Wersja", "3.0");
        ini.writeInteger("Cabrillo", "Zawody_międzynarodowe", 40);
        ini.writeInteger("Cabrillo", "Moc", 2);
        ini.writeString("Cabrillo", "Klub", "SP9KAT");
        ini.writeString("Cabrillo", "Uwagi", "a|b");
    }
    CabrilloExportDialog dialog(f.session);
    const auto ui = dialog.ui();
    QVERIFY(ui->internationalContestRadio->isChecked());
    QVERIFY(ui->contestCombo->isEnabled());
    QCOMPARE(ui->contestCombo->currentText(), QStringLiteral("RSGB-IOTA"));
    QCOMPARE(ui->powerCombo->currentText(), QStringLiteral("QRP"));
    QCOMPARE(ui->clubEdit->text(), QStringLiteral("SP9KAT"));
    QCOMPARE(ui->remarksEdit->toPlainText(), QStringLiteral("a\nb"));
}

void TestInterchangeDialogs::adifDialogFillsContestAndOperatorAndWrites() {
    Fixture f({TestQso().time("12:00:00").call("SP1AA")});
    IniFile(f.folder.file("kvr_log.ini")).writeString("Cabrillo", "Zawody", "SP DX");
    InterchangeMenu menu(f.session, {}, &f.mainWindow);
    AdifExportDialog* dialog = menu.adifDialog();
    closeModalSoon();
    menu.exportAdif();
    const auto ui = dialog->ui();
    QCOMPARE(ui->contestEdit->text(), QStringLiteral("SP DX 2024"));
    QCOMPARE(ui->operatorEdit->text(), QStringLiteral("SP9XYZ/P"));
    dialog->show();
    ui->operatorEdit->setText(QStringLiteral("   "));
    dialog->trimOperator();
    QCOMPARE(ui->operatorEdit->text(), QString());
    QTest::keyClicks(ui->commentEdit, "tnx");
    ui->sppaCommentCheck->setChecked(true);
    f.dialogs.fileAnswers = {f.folder.file("log")};
    QTest::mouseClick(ui->saveButton, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    const QStringList lines = f.folder.readLines("log.adi");
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(3).contains("<COMMENT:3>tnx <CONTEST_ID:10>SP DX 2024 <EOR>"));
    QVERIFY(!lines.at(3).contains("OPERATOR"));
    QCOMPARE(f.dialogs.lastText(), "Plik ADIF: \n" + f.folder.file("log.adi") + "\nzostał zapisany!");
    // The comment and the check boxes stay for the next export of the run.
    closeModalSoon();
    menu.exportAdif();
    QCOMPARE(ui->commentEdit->text(), QStringLiteral("tnx"));
    QVERIFY(ui->sppaCommentCheck->isChecked());
    QCOMPARE(ui->operatorEdit->text(), QStringLiteral("SP9XYZ/P"));
}

void TestInterchangeDialogs::ediCommandNeedsLocatorAnalysis() {
    Fixture f(vhfLog());
    InterchangeMenu menu(f.session, {}, &f.mainWindow);
    menu.exportEdi();
    QCOMPARE(f.dialogs.lastText(),
             QStringLiteral("Eksport logu do  pliku  EDI jest możliwy \ntylko przy włączonej opcji analizy grupy "
                            "\nkontrolnej pod kątem lokatorów."));
    QCOMPARE(f.dialogs.messages.last().title, QStringLiteral("Błąd"));
    QVERIFY(!menu.ediDialog());
}

static void locatorAnalysis(Fixture& f) {
    f.session.analysis.enabled = true;
    f.session.analysis.mode = AnalysisMode::Locator;
    f.session.reload();
}

void TestInterchangeDialogs::ediDialogShowsStatisticsAndScores() {
    Fixture f(vhfLog());
    locatorAnalysis(f);
    InterchangeMenu menu(f.session, {}, &f.mainWindow);
    menu.exportEdi();
    EdiExportDialog* edi = menu.ediDialog();
    QVERIFY(edi && edi->isVisible());
    QCOMPARE(edi->windowTitle(), QStringLiteral("Dane do pliku EDI"));
    const auto ui = edi->ui();
    QCOMPARE(ui->contestDatesEdit->text(), QStringLiteral("20240601;20240602"));
    QCOMPARE(ui->stationCallEdit->text(), QStringLiteral("SP9XYZ/P"));
    QCOMPARE(ui->responsibleCountryEdit->text(), QStringLiteral("Poland"));
    QCOMPARE(ui->bandCombo->count(), 3);
    QCOMPARE(ui->bandCombo->itemText(1), QStringLiteral("2M"));
    QCOMPARE(ui->bandCombo->currentText(), QStringLiteral("wszystkie"));
    const auto bands = edi->bands()->ui();
    QCOMPARE(bands->band2mSquareCountLabel->text(), QStringLiteral("Lok. [2]"));
    QCOMPARE(bands->band2mSquareList->count(), 2);
    QCOMPARE(bands->band2mClaimedQsosEdit->text(), QStringLiteral("2;1"));
    QCOMPARE(bands->band6mClaimedExchangesEdit->text(), QStringLiteral("0;0;1"));
    QCOMPARE(bands->band6mClaimedQsosEdit->text(), QString());
    QVERIFY(bands->band2mClaimedOdxEdit->text().startsWith("SP"));
    // A second run while the window is shown only raises it.
    menu.exportEdi();
    QCOMPARE(menu.ediDialog(), edi);
}

void TestInterchangeDialogs::ediSpinsAndPresetsRecompute() {
    Fixture f(vhfLog());
    locatorAnalysis(f);
    InterchangeMenu menu(f.session, {}, &f.mainWindow);
    menu.exportEdi();
    const auto b = menu.ediDialog()->bands()->ui();
    const int km = b->band2mClaimedQsoPointsEdit->text().toInt();
    QVERIFY(km > 0);
    QCOMPARE(b->band6mMultiplierSpin->minimum(), 1);
    QCOMPARE(b->band2mMultiplierSpin->minimum(), 0);
    QCOMPARE(b->band6mNewSquareBonusSpin->maximum(), 2000);
    QCOMPARE(b->band23cmNewSquareBonusSpin->singleStep(), 50);
    b->band2mMultiplierSpin->setValue(3);
    QCOMPARE(b->band2mClaimedQsosEdit->text(), QStringLiteral("2;3"));
    QCOMPARE(b->band2mClaimedQsoPointsEdit->text(), QString::number(3 * km));
    b->band2mNewSquareBonusSpin->setValue(100);
    QCOMPARE(b->band2mClaimedSquaresEdit->text(), QStringLiteral("2;100;1"));
    QCOMPARE(b->band2mClaimedTotalScoreEdit->text(), QString::number(3 * km + 200));
    QTest::mouseClick(b->squaresAsMultiplierCheck, Qt::LeftButton);
    QCOMPARE(b->band2mClaimedTotalScoreEdit->text(), QString::number(3 * km * 2));
    QTest::mouseClick(b->summerVhfPresetButton, Qt::LeftButton); // "Letnie Zaw. UKF"
    QVERIFY(!b->squaresAsMultiplierCheck->isChecked());
    QCOMPARE(b->band2mMultiplierSpin->value(), 1);
    QCOMPARE(b->band2mNewSquareBonusSpin->value(), 500);
    QCOMPARE(b->band70cmNewSquareBonusSpin->value(), 300);
    QCOMPARE(b->band2mClaimedTotalScoreEdit->text(), QString::number(km + 1000));
}

void TestInterchangeDialogs::ediSaveValidatesThenWritesEveryBand() {
    Fixture f(vhfLog());
    locatorAnalysis(f);
    InterchangeMenu::Hooks hooks;
    hooks.sentExchange = [] { return QStringLiteral("001 KO02MD"); };
    InterchangeMenu menu(f.session, hooks, &f.mainWindow);
    menu.exportEdi();
    const auto ui = menu.ediDialog()->ui();
    QTest::mouseClick(ui->saveEdiButton, Qt::LeftButton);
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("Proszę wprowadzić adres!"));
    QTest::keyClicks(ui->stationAddress1Edit, "Szczyt");
    QTest::mouseClick(ui->saveEdiButton, Qt::LeftButton);
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("Proszę wprowadzić nazwę zawodow!"));
    QTest::keyClicks(ui->contestNameEdit, "SP VHF");
    QTest::keyClicks(ui->sectionEdit, "SO");
    QVERIFY(f.dialogs.folderRequests.isEmpty());

    // The files go where the operator says: the log's folder is proposed, a cancelled choice writes nothing.
    const QString logFolder = f.moveLogToItsOwnFolder();
    const qsizetype shown = f.dialogs.messages.size();
    QTest::mouseClick(ui->saveEdiButton, Qt::LeftButton);
    QCOMPARE(f.dialogs.folderRequests.size(), 1);
    QCOMPARE(f.dialogs.folderRequests.first().title, QStringLiteral("Katalog plików EDI"));
    QCOMPARE(f.dialogs.folderRequests.first().directory, logFolder);
    QCOMPARE(f.dialogs.messages.size(), shown);
    QVERIFY(QDir(f.folder.path()).entryList({"*.edi"}).isEmpty());

    const QString picked = f.pickedFolder();
    f.dialogs.folderAnswers = {picked};
    QTest::mouseClick(ui->saveEdiButton, Qt::LeftButton);
    QCOMPARE(f.dialogs.lastText(), "Pliki zostały zapisane.\n\nKatalog:\n" + picked);
    QCOMPARE(QDir(picked).entryList({"*.edi"}), QStringList({"sp9xyz_p_2M.edi", "sp9xyz_p_70CM.edi"}));
    QVERIFY(QDir(f.folder.path()).entryList({"*.edi"}).isEmpty());
    const QStringList two = f.folder.readLines("inne/sp9xyz_p_2M.edi");
    QVERIFY(two.contains("PExch=001 KO02MD"));
    QVERIFY(two.contains("PBand=144MHz"));
    QVERIFY(two.contains("[QSORecords;2]"));

    QFile::remove(f.folder.file("inne/sp9xyz_p_2M.edi"));
    QFile::remove(f.folder.file("inne/sp9xyz_p_70CM.edi"));
    ui->bandCombo->setCurrentIndex(2);
    f.dialogs.folderAnswers = {picked};
    QTest::mouseClick(ui->saveEdiButton, Qt::LeftButton);
    QCOMPARE(f.dialogs.folderRequests.last().directory, picked);
    QCOMPARE(f.dialogs.lastText(), "Plik(i) został zapisany.\n\nKatalog:\n" + picked);
    QCOMPARE(QDir(picked).entryList({"*.edi"}), QStringList({"sp9xyz_p_70CM.edi"}));
}

void TestInterchangeDialogs::ediSettingsAreWrittenOnClose() {
    Fixture f(vhfLog());
    locatorAnalysis(f);
    InterchangeMenu menu(f.session, {}, &f.mainWindow);
    menu.exportEdi();
    EdiExportDialog* edi = menu.ediDialog();
    QTest::keyClicks(edi->ui()->contestNameEdit, "Zawody");
    QTest::keyClicks(edi->ui()->operatorsLine1Edit, "SP1AA;SP2BB");
    edi->showBandData();
    EdiBandDataDialog* bands = edi->bands();
    QVERIFY(bands->isVisible());
    QTest::keyClicks(bands->ui()->band23cmTxEquipmentEdit, "IC-9700");
    QTest::keyClicks(bands->ui()->band2mRemarksEdit, "uwaga");
    QTest::keyClick(bands->ui()->band2mRemarksEdit, Qt::Key_Return);
    bands->ui()->band70cmMultiplierSpin->setValue(4);
    QTest::mouseClick(bands->ui()->okButton, Qt::LeftButton);
    QVERIFY(!bands->isVisible());
    IniFile ini = f.settings();
    QCOMPARE(ini.readString("EDI", "STXEq_23CM", {}), QStringLiteral("IC-9700"));
    QCOMPARE(ini.readInteger("EDI", "SpinEdit_70CM", 0), 4);
    QCOMPARE(ini.readString("EDI", "Remarks_2M", {}), QStringLiteral("uwaga"));
    QVERIFY(ini.hasKey("EDI", "Mnożnik=lokator"));
    QSignalSpy back(&menu, &InterchangeMenu::focusCallsignRequested);
    QTest::mouseClick(edi->ui()->backButton, Qt::LeftButton);
    QCOMPARE(back.size(), 1);
    QTest::qWait(0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!menu.ediDialog());
    IniFile after = f.settings();
    QCOMPARE(after.readString("EDI", "TName", {}), QStringLiteral("Zawody"));
    QCOMPARE(after.readString("EDI", "MOpe1", {}), QStringLiteral("SP1AA;SP2BB"));

    // The next run reads them back.
    menu.exportEdi();
    QCOMPARE(menu.ediDialog()->ui()->contestNameEdit->text(), QStringLiteral("Zawody"));
    QCOMPARE(menu.ediDialog()->bands()->ui()->band70cmMultiplierSpin->value(), 4);
}

void TestInterchangeDialogs::importCommandsUseTheHooks() {
    Fixture f({TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD")});
    QString proposed;
    InterchangeMenu::Hooks hooks;
    hooks.saveLogCopy = [&](const QString& name) {
        proposed = name;
        return true;
    };
    InterchangeMenu menu(f.session, hooks, &f.mainWindow);
    f.dialogs.buttonAnswers = {DialogButton::Yes};
    f.dialogs.fileAnswers = {testDataFile("adif_multiline_records.adi")};
    menu.importAdif();
    QCOMPARE(proposed, QStringLiteral("sp9xyz_p.kvr"));
    QCOMPARE(f.session.log().size(), 2);
    f.dialogs.fileAnswers = {testDataFile("cabrillo_several_blanks_crlf.cbr")};
    menu.importCabrillo();
    QCOMPARE(f.session.log().size(), 5);
}

void TestInterchangeDialogs::choosersOpenInTheLogFolderThenInTheFolderLastChosen() {
    Fixture f({TestQso().time("12:00:00").call("SP1AA")});
    const QString logFolder = f.moveLogToItsOwnFolder();
    const QString picked = f.pickedFolder();
    InterchangeMenu menu(f.session, {}, &f.mainWindow);

    // Cabrillo: "OK" of the header window asks for the file.
    CabrilloExportDialog* cabrillo = menu.cabrilloDialog();
    cabrillo->prepare(false);
    cabrillo->show();
    f.dialogs.fileAnswers = {picked + "/wynik"};
    QTest::mouseClick(cabrillo->ui()->okButton, Qt::LeftButton);
    QVERIFY(QFileInfo::exists(picked + "/wynik.cbr"));
    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    QCOMPARE(f.dialogs.fileRequests.at(0).directory, logFolder);

    // The other choosers of the run open where the operator went last, whatever the log's folder.
    AdifExportDialog* adif = menu.adifDialog();
    adif->prepare();
    adif->show();
    QTest::mouseClick(adif->ui()->saveButton, Qt::LeftButton);
    menu.exportCsv();
    menu.importCabrillo();
    f.dialogs.buttonAnswers = {DialogButton::Cancel};
    menu.importAdif();
    f.dialogs.buttonAnswers = {DialogButton::No, DialogButton::Ok};
    menu.importAdif();
    QCOMPARE(f.dialogs.fileRequests.size(), 5);
    for (const FileRequest& request : f.dialogs.fileRequests.mid(1))
        QCOMPARE(request.directory, picked);
    // "All files" shows files without a dot in their name too.
    for (const FileRequest& request : f.dialogs.fileRequests)
        QVERIFY2(request.filter.endsWith(";;Wszystkie pliki (*)"), qPrintable(request.filter));
    QCOMPARE(f.session.logPath(), logFolder + "/log.kvr");
}

void TestInterchangeDialogs::adifDialogWithoutContestNameWritesNoContestId() {
    Fixture f({TestQso().time("12:00:00").call("SP1AA")});
    IniFile(f.folder.file("kvr_log.ini")).writeString("Cabrillo", "Zawody", " ");
    InterchangeMenu menu(f.session, {}, &f.mainWindow);
    AdifExportDialog* dialog = menu.adifDialog();
    dialog->prepare();
    QCOMPARE(dialog->ui()->contestEdit->text(), QString());
    dialog->show();
    f.dialogs.fileAnswers = {f.folder.file("log")};
    QTest::mouseClick(dialog->ui()->saveButton, Qt::LeftButton);
    const QStringList lines = f.folder.readLines("log.adi");
    QCOMPARE(lines.size(), 4);
    QVERIFY2(lines.at(3).endsWith("<OPERATOR:8>SP9XYZ/P <EOR>"), qPrintable(lines.at(3)));
}

void TestInterchangeDialogs::importFromTheMenuTellsTheCountAndSetsTheSerial() {
    Fixture f({TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD").stx("950")});
    bool autoIncrement = true;
    InterchangeMenu::Hooks hooks;
    hooks.autoIncrement = [&autoIncrement] { return autoIncrement; };
    hooks.serialDigits = [] { return 3; };
    InterchangeMenu menu(f.session, hooks, &f.mainWindow);
    QSignalSpy serial(&menu, &InterchangeMenu::serialFieldChanged);
    const QString adif =
        f.folder.writeLines("in.adi", {"<CALL:5>SP1AA <QSO_DATE:8>20240601 <TIME_ON:4>1200 <BAND:3>80M <MODE:2>CW "
                                       "<RST_SENT:3>599 <RST_RCVD:3>599 <STX:10>016 KO02MD <EOR>",
                                       "<CALL:5>SP2BB <QSO_DATE:8>20240601 <TIME_ON:4>1201 <BAND:3>80M <MODE:2>CW "
                                       "<RST_SENT:3>599 <RST_RCVD:3>599 <STX:10>017 KO02MD <EOR>",
                                       // The last record has no serial: the field still follows the log.
                                       "<CALL:5>SP4DD <QSO_DATE:8>20240601 <TIME_ON:4>1202 <BAND:3>80M <MODE:2>CW "
                                       "<RST_SENT:3>599 <RST_RCVD:3>599 <EOR>"});

    // Given up at the first question: no count, the serial stays.
    f.dialogs.buttonAnswers = {DialogButton::Cancel};
    menu.importAdif();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(serial.size(), 0);

    f.dialogs.buttonAnswers = {DialogButton::No, DialogButton::Ok};
    f.dialogs.fileAnswers = {adif};
    menu.importAdif();
    QCOMPARE(f.dialogs.messages.last().title, QStringLiteral("Informacja"));
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("Zaimportowano łączności: 3"));
    QCOMPARE(serial.size(), 1);
    QCOMPARE(serial.first().first().toString(), QStringLiteral("018"));

    // With auto-increment off the serial field is the operator's: a Cabrillo import leaves it.
    autoIncrement = false;
    f.dialogs.fileAnswers = {
        f.folder.writeLines("in.log", {"QSO: 3500 CW 2024-06-01 1202 SP9XYZ 599 018 SP3CC 599 1"})};
    menu.importCabrillo();
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("Zaimportowano łączności: 1"));
    QCOMPARE(f.session.log().size(), 4);
    QCOMPARE(serial.size(), 1);
}

QTEST_MAIN(TestInterchangeDialogs)
#include "tst_interchange_dialogs.moc"
