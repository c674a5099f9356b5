#include "callsuggestionswindow.h"
#include "dtawriter.h"
#include "lookup/masterselection.h"
#include "lookuptestlog.h"
#include "masterfiledialog.h"
#include "settings/inifile.h"
#include "suggestiondelegates.h"
#include "widgetdialogs.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The suggestion window and the "Plik MASTER" dialog, driven offscreen.
class TestCallSuggestionsWindow : public QObject {
    Q_OBJECT

private:
    static QListWidget* list(CallSuggestionsWindow& window) { return window.findChild<QListWidget*>("suggestionList"); }

    static QStringList numbered(const QString& stem, int count) {
        QStringList calls;
        for (int i = 0; i < count; ++i)
            calls.append(stem + QString::number(100 + i));
        return calls;
    }

    static void useDatabase(LookupTestLog& log, MasterSelection& master, const QStringList& calls) {
        const QString path = log.folder.file("calls.dta");
        QVERIFY(DtaWriter::write(path, calls));
        master.choose(path, log.dialogs, log.session.log().workedCalls());
        log.dialogs.messages.clear();
    }

private slots:
    void databaseHitsAreCutAtFortyFour() {
        LookupTestLog log;
        MasterSelection master;
        useDatabase(log, master, numbered("SP7A", 60));
        CallSuggestionsWindow window(log.session, master);
        window.updateSuggestions("sp7");
        QCOMPARE(list(window)->count(), 45);
        QCOMPARE(list(window)->item(44)->text(), QStringLiteral("...."));
        QCOMPARE(list(window)->item(0)->text(), QStringLiteral("SP7A100"));
        // One character keeps the list; an empty field clears it.
        window.updateSuggestions("S");
        QCOMPARE(list(window)->count(), 45);
        window.updateSuggestions("");
        QCOMPARE(list(window)->count(), 0);
    }

    void columnsHoldTheLongestCallAtTheListFont() {
        LookupTestLog log;
        MasterSelection master;
        useDatabase(log, master, {"SP2A", "SP9ABCDEFGH/QRP", "SP9ZZ"});
        CallSuggestionsWindow window(log.session, master);
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.updateSuggestions("SP");
        QListWidget* calls = list(window);
        auto columnFits = [&] {
            QFont bold = calls->font();
            bold.setBold(true);
            const int longest = QFontMetrics(bold).horizontalAdvance(QStringLiteral("SP9ABCDEFGH/QRP"));
            for (int row = 0; row + 1 < calls->count(); ++row) {
                const QRect here = calls->visualItemRect(calls->item(row));
                const QRect next = calls->visualItemRect(calls->item(row + 1));
                // Calls side by side never overlap.
                if (next.top() == here.top() && next.left() < here.right())
                    return false;
            }
            return calls->gridSize().width() > longest;
        };
        QVERIFY(columnFits());
        // A larger font widens the columns at once.
        QFont large = calls->font();
        large.setPointSize(large.pointSize() * 3);
        log.dialogs.fontAnswers.push_back(specFromFont(large, 0));
        window.chooseFont();
        QVERIFY(columnFits());
    }

    void fontChooserOpensOnTheDrawnFamilyWithItsStyle() {
        FontSpec stored;
        stored.face = QStringLiteral("Arial");
        stored.pointSize = 10;
        stored.bold = true;
        const QFont font = fontForChooser(stored);
        // The chooser lists this family and this style, so it opens on them and a new size keeps the bold.
        QVERIFY2(QFontDatabase::families().contains(font.family()), qPrintable(font.family()));
        QVERIFY2(QFontDatabase::styles(font.family()).contains(font.styleName()), qPrintable(font.styleName()));
        QVERIFY(font.bold());
        QCOMPARE(font.pointSize(), 10);
        stored.bold = false;
        QVERIFY(!fontForChooser(stored).bold());
    }

    void textListHitsAreCutAfterFortyOne() {
        LookupTestLog log;
        MasterSelection master;
        for (const QString& call : numbered("SP5Q", 100))
            log.session.log().workedCalls().add(call, call + ";;");
        CallSuggestionsWindow window(log.session, master);
        window.updateSuggestions("SP");
        QCOMPARE(list(window)->count(), 42);
        QCOMPARE(window.entries().last(), QStringLiteral("...."));
    }

    void dupesAreRedOnTheirBandAndMode() {
        LookupTestLog log;
        log.session.setBand("20M");
        log.session.setMode("CW");
        log.load({{"20M", "CW", "SP7ABC"}});
        MasterSelection master;
        useDatabase(log, master, {"SP7ABC", "SP7ABD"});
        CallSuggestionsWindow window(log.session, master);
        window.updateSuggestions("SP7");
        const auto colourOf = [&](int row) { return list(window)->item(row)->data(kSuggestionColourRole).toInt(); };
        QCOMPARE(window.entries(), (QStringList{"SP7ABC", "SP7ABD"}));
        QCOMPARE(colourOf(0), int(SuggestionColour::Dupe));
        QCOMPARE(colourOf(1), int(SuggestionColour::Normal));
        log.session.setBand("40M");
        window.refreshColours();
        QCOMPARE(colourOf(0), int(SuggestionColour::Normal));
        QCOMPARE(SuggestionDelegate::colourFor(int(SuggestionColour::Dupe), false), QColor(255, 0, 0));
        QCOMPARE(SuggestionDelegate::colourFor(int(SuggestionColour::Normal), false), QColor(0, 0, 128));
        QCOMPARE(SuggestionDelegate::colourFor(int(SuggestionColour::Dupe), true), QColor(255, 255, 255));
    }

    void drawnPixelsFollowTheColourClass() {
        LookupTestLog log;
        log.session.setBand("20M");
        log.session.setMode("CW");
        log.load({{"20M", "CW", "SP7ABC"}});
        MasterSelection master;
        useDatabase(log, master, {"SP7ABC", "SP7ABD"});
        CallSuggestionsWindow window(log.session, master);
        window.resize(200, 120);
        window.show();
        window.updateSuggestions("SP7");
        QCoreApplication::processEvents();
        const QImage image = list(window)->viewport()->grab().toImage();
        // Text edges are blended with the background, so look for pixels close to the pure colour.
        const auto hasColour = [&](QRect rect, QColor colour) {
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    if (std::abs(pixel.red() - colour.red()) < 40 && std::abs(pixel.green() - colour.green()) < 40 &&
                        std::abs(pixel.blue() - colour.blue()) < 40)
                        return true;
                }
            return false;
        };
        const QRect dupe = list(window)->visualItemRect(list(window)->item(0)) & image.rect();
        const QRect normal = list(window)->visualItemRect(list(window)->item(1)) & image.rect();
        QVERIFY(hasColour(dupe, QColor(255, 0, 0)));
        QVERIFY(!hasColour(dupe, QColor(0, 0, 128)));
        QVERIFY(hasColour(normal, QColor(0, 0, 128)));
    }

    void ctrlSpaceTakesFirstAndKeepsTheList() {
        LookupTestLog log;
        MasterSelection master;
        useDatabase(log, master, {"SP7ABC", "SP7ABD", "SQ7ZZ"});
        CallSuggestionsWindow window(log.session, master);
        window.show();
        window.updateSuggestions("SP7");
        EntryFieldHops hops;
        const auto move = window.ctrlSpaceInCallsign({"SP7", 3, "", 0}, hops);
        QCOMPARE(move.call, std::optional<QString>("SP7ABC"));
        // The callsign field's change handler runs with the taken call: the list stays.
        window.updateSuggestions("SP7ABC");
        QCOMPARE(window.entries(), (QStringList{"SP7ABC", "SP7ABD"}));
        window.updateSuggestions("SP7ABD");
        QCOMPARE(window.entries(), (QStringList{"SP7ABC", "SP7ABD"}));
        window.updateSuggestions("SP7ABDX");
        QVERIFY(window.entries().isEmpty());
    }

    void clickTakesTheEntryButNotTheMarker() {
        LookupTestLog log;
        MasterSelection master;
        useDatabase(log, master, numbered("SP9B", 50));
        CallSuggestionsWindow window(log.session, master);
        window.resize(400, 300);
        window.show();
        window.updateSuggestions("SP9");
        QSignalSpy chosen(&window, &CallSuggestionsWindow::suggestionChosen);
        QListWidget* box = list(window);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(2)).center());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("SP9B102"));
        box->scrollToItem(box->item(44));
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(44)).center());
        QCOMPARE(chosen.size(), 1);
    }

    void homeReturnsToTheCallsignField() {
        LookupTestLog log;
        MasterSelection master;
        CallSuggestionsWindow window(log.session, master);
        QSignalSpy home(&window, &CallSuggestionsWindow::homePressed);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        list(window)->setFocus();
        QTest::keyClick(list(window), Qt::Key_Home);
        QCOMPARE(home.size(), 1);
    }

    void settingsRoundTrip() {
        LookupTestLog log;
        MasterSelection master;
        const QString ini = log.folder.file("kvr_log.ini");
        {
            CallSuggestionsWindow window(log.session, master);
            window.setGeometry(40, 50, 300, 200);
            FontSpec font;
            font.face = "Courier New";
            font.pointSize = 14;
            font.bold = true;
            font.italic = true;
            log.dialogs.fontAnswers.push_back(font);
            window.chooseFont();
            log.dialogs.colourAnswers.push_back(0x00FFFF);
            window.chooseBackground();
            IniFile file(ini);
            window.saveSettings(file);
        }
        IniFile file(ini);
        QCOMPARE(file.readString("Master", "Styl czcionki", {}), QStringLiteral("pogrubienie,kursywa"));
        QCOMPARE(file.readInteger("Master", "Rozmiar czcionki", 0), 14);
        QCOMPARE(file.readInteger("Master", "Kolor tła", 0), 0x00FFFF);
        QCOMPARE(file.readInteger("Master", "Szerokość", 0), 300);
        CallSuggestionsWindow again(log.session, master);
        again.loadSettings(file);
        QCOMPARE(again.width(), 300);
        QCOMPARE(list(again)->font().pointSize(), 14);
        QVERIFY(list(again)->font().italic());
        QCOMPARE(list(again)->palette().color(QPalette::Base), QColor(255, 255, 0));
        QCOMPARE(again.minimumWidth(), 80);
    }

    void masterDialogLoadsTextFile() {
        LookupTestLog log;
        log.load({{"20M", "CW", "SP7LOG"}});
        const QString text = log.folder.writeLines("list.txt", {"# comment", "SP7ABC", "SQ9XYZ;_KR;", "DL1ABC"});
        MasterSelection master;
        MasterFileDialog dialog(master, log.session);
        log.dialogs.fileAnswers.push_back(text);
        QSignalSpy caption(&dialog, &MasterFileDialog::suggestionsCaptionChanged);
        dialog.findChild<QPushButton*>("chooseButton")->click();
        QCOMPARE(dialog.findChild<QLineEdit*>("filePathEdit")->text(), text);
        QCOMPARE(dialog.findChild<QLabel*>("callCountLabel")->text(), QStringLiteral("3"));
        // The reload added the log's own callsign after the file's.
        QCOMPARE(log.session.log().workedCalls().calls(), (QStringList{"SP7ABC", "SQ9XYZ", "DL1ABC", "SP7LOG"}));
        QCOMPARE(log.dialogs.fileRequests.at(0).filter,
                 QStringLiteral("Pliki textowe i pliki DTA (*.TXT *.DTA *.txt *.dta);;Wszystkie pliki (*)"));
        dialog.findChild<QPushButton*>("okButton")->click();
        QCOMPARE(caption.at(0).at(0).toString(), QStringLiteral("Podpowiedzi znaków [3]"));
        QVERIFY(log.dialogs.messages.isEmpty());
    }

    void masterDialogLoadsDatabase() {
        LookupTestLog log;
        const QString dta = log.folder.file("CALLS.DTA");
        QVERIFY(DtaWriter::write(dta, {"SP7ABC"}));
        const QString size = QString::number(QFileInfo(dta).size());
        MasterSelection master;
        MasterFileDialog dialog(master, log.session);
        log.dialogs.fileAnswers.push_back(dta);
        QSignalSpy caption(&dialog, &MasterFileDialog::suggestionsCaptionChanged);
        dialog.findChild<QPushButton*>("chooseButton")->click();
        QCOMPARE(log.dialogs.messages.size(), 1);
        QCOMPARE(log.dialogs.messages.at(0).title, QStringLiteral("Informacja o pliku MASTER"));
        QCOMPARE(dialog.findChild<QLabel*>("callCountLabel")->text(), "[" + size + " bitów]");
        QVERIFY(master.databaseInUse());
        dialog.findChild<QPushButton*>("okButton")->click();
        QCOMPARE(caption.at(0).at(0).toString(), "Podpowiedzi znaków  [" + size + " bitów]");
    }

    void masterDialogMissingFileAndCancel() {
        LookupTestLog log;
        MasterSelection master;
        MasterFileDialog dialog(master, log.session);
        log.dialogs.fileAnswers.push_back(std::nullopt);
        dialog.findChild<QPushButton*>("chooseButton")->click();
        QVERIFY(log.dialogs.messages.isEmpty());
        QCOMPARE(dialog.findChild<QLabel*>("callCountLabel")->text(), QStringLiteral("0"));
        const QString missing = log.folder.file("gone.txt");
        log.dialogs.fileAnswers.push_back(missing);
        dialog.findChild<QPushButton*>("chooseButton")->click();
        QCOMPARE(dialog.findChild<QLineEdit*>("filePathEdit")->text(), missing);
        QCOMPARE(log.dialogs.lastText(), "Plik MASTER:\n" + missing + "\nNie istnieje lub nie daje się czytać !");
        QCOMPARE(log.dialogs.messages.last().title, QStringLiteral("Błąd"));
        QSignalSpy caption(&dialog, &MasterFileDialog::suggestionsCaptionChanged);
        dialog.findChild<QLabel*>("callCountLabel")->clear();
        dialog.findChild<QPushButton*>("okButton")->click();
        QCOMPARE(caption.at(0).at(0).toString(), QStringLiteral("Podpowiedzi znaków  [0]"));
    }

    void chooserOffersTheReadyList() {
        TempProgramFolder folder;
        QCOMPARE(MasterFileDialog::chooserDirectory("/x/y/calls.dta", folder.path()), QStringLiteral("/x/y"));
        const bool installed = QFileInfo::exists(MasterFileDialog::readyListPath());
        QCOMPARE(MasterFileDialog::chooserDirectory({}, folder.path()),
                 installed ? QStringLiteral("/usr/share/hamradio-files") : folder.path());
    }
};

QTEST_MAIN(TestCallSuggestionsWindow)
#include "tst_lookup_callsuggestionswindow.moc"
