#include "applicationwindows.h"
#include "cabrilloexportdialog.h"
#include "callsuggestionswindow.h"
#include "contest/contestsession.h"
#include "contestdialog.h"
#include "contesttext.h"
#include "diskspace.h"
#include "dtawriter.h"
#include "ediexportdialog.h"
#include "entrywindow.h"
#include "exchangeanalysisdialog.h"
#include "interchangemenu.h"
#include "keyer/morseengine.h"
#include "keyerpanel.h"
#include "log/logsession.h"
#include "loggedcallswindow.h"
#include "loglistmodel.h"
#include "logwindow.h"
#include "operatordatadialog.h"
#include "scorewindow.h"
#include "scripteddialogs.h"
#include "settings/inifile.h"
#include "statisticswindow.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"
#include "ui_cabrilloexportdialog.h"
#include "workedcallswindow.h"
#include "workedcallswindows.h"
#include "workedcountieswindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <optional>

namespace {

// The contacts of these logs: 80 m CW on 14 March 2026, serial 1.
const TestQso kContact = TestQso().date("2026-03-14").band("80M").stx("1");

// The whole program on a fresh program folder.
struct Program {
    // A program folder as a first start finds it: no settings and no log.
    struct EmptyFolder {};
    explicit Program(EmptyFolder) {}
    explicit Program(const QString& settingsText) {
        folder.writeBytes(QStringLiteral("kvr_log.ini"), settingsText.toUtf8());
        folder.writeLines(QStringLiteral("log.kvr"), {kContact.time("07:00:00").call("SP9ABC").srx("GW"),
                                                      kContact.time("07:01:00").call("SQ2X").srx("KD")});
    }
    bool start() {
        windows = std::make_unique<ApplicationWindows>(session);
        if (!windows->startUp())
            return false;
        windows->entryWindow()->restoreWindowsOnFirstActivation();
        return true;
    }
    QAction* item(const char* name) const { return windows->entryWindow()->findChild<QAction*>(QLatin1String(name)); }
    QLineEdit* edit(const char* name) const {
        return windows->entryWindow()->findChild<QLineEdit*>(QLatin1String(name));
    }
    void close() {
        windows->entryWindow()->close();
        settings = std::make_unique<IniFile>(folder.file(QStringLiteral("kvr_log.ini")));
    }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 5))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};
    std::unique_ptr<ApplicationWindows> windows;
    std::unique_ptr<IniFile> settings;
};

// Contests of the program folder: two points a contact on 80 and 40 m, the WPX prefixes once as multipliers.
void addContest(const Program& p, const QString& fileName, const QString& name, const QString& cabrillo) {
    QDir(p.folder.path()).mkpath(QStringLiteral("contests"));
    p.folder.writeBytes(QStringLiteral("contests/") + fileName + QStringLiteral(".ini"),
                        contestText({"Nazwa=" + name, "Cabrillo=" + cabrillo, "Pasma=80M 40M", "Emisje=CW SSB"},
                                    {"Regula=2"}, {"Mnoznik=wpx raz"}));
}
void addTestContests(const Program& p) {
    addContest(p, QStringLiteral("proba"), QStringLiteral("Zawody probne"), QStringLiteral("PROBA"));
    addContest(p, QStringLiteral("druga"), QStringLiteral("Druga proba"), QStringLiteral("CQ-WPX-CW"));
    p.folder.writeBytes(QStringLiteral("contests/zepsute.ini"), "[Zawody]\nNazwa=Bez pasm\n");
}

QStringList tableRow(const QTableWidget* table, int row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
        cells << table->item(row, column)->text();
    return cells;
}

QList<QWidget*> sideWindows(const Program& p) {
    return {p.windows->logWindow(),
            p.windows->scoreWindow(),
            p.windows->callSuggestionsWindow(),
            p.windows->entryWindow()->loggedCallsWindow(),
            p.windows->countiesWindow(),
            p.windows->workedCalls()->ssb(),
            p.windows->workedCalls()->cw(),
            p.windows->workedCalls()->fm()};
}

// The windows of the view items with their items and the flags of "Widok" that keep them.
struct ViewWindow {
    QWidget* window;
    QAction* item;
    QString flag;
};
QList<ViewWindow> viewWindows(const Program& p) {
    return {{p.windows->logWindow(), p.item("actionShowLog"), QStringLiteral("Log")},
            {p.windows->callSuggestionsWindow(), p.item("actionShowCallSuggestions"), QStringLiteral("Podpowiedzi")},
            {p.windows->countiesWindow(), p.item("actionShowWorkedCounties"), QStringLiteral("Powiaty")},
            {p.windows->workedCalls()->ssb(), p.item("actionShowSsbList"), QStringLiteral("Lista SSB")},
            {p.windows->workedCalls()->cw(), p.item("actionShowCwList"), QStringLiteral("Lista CW")},
            {p.windows->workedCalls()->fm(), p.item("actionShowFmList"), QStringLiteral("Lista FM")},
            {p.windows->statisticsWindow(), p.item("actionShowStatistics"), QStringLiteral("Statystyka")},
            {p.windows->scoreWindow(), p.item("actionShowScore"), QStringLiteral("Wynik")}};
}

// A contest of 80 and 40 m CW in the program folder, chosen in the settings, with the own call and locator:
// 1 point in the own continent, 3 outside it, each country a multiplier once per band.
QString withContest(QString settings) {
    return settings + QStringLiteral("[Zawody]\r\nDefinicja=test\r\n[Operator]\r\nUzywany znak=SP9XYZ\r\n"
                                     "Lokator=JO91RU\r\n");
}
void writeContest(Program& p) {
    QDir(p.folder.path()).mkdir(QStringLiteral("contests"));
    p.folder.writeBytes(QStringLiteral("contests/test.ini"),
                        "[Zawody]\nNazwa=Test\nCabrillo=TEST\nPasma=80M 40M\nEmisje=CW\nPowtorzenia=pasmo\n"
                        "[Punkty]\nRegula=1 kontynent=wlasny\nRegula=3 kontynent=inny\n"
                        "[Mnozniki]\nMnoznik=kraj pasmo\n");
}
// The timers of the windows run out at once: a test never waits for them.
void runOut(QTimer* timer) {
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QMetaObject::invokeMethod(timer, "timeout");
}

} // namespace

class TestApplicationWindows : public QObject {
    Q_OBJECT
private slots:
    void viewFlagsRestoreTheWindowsAndClosingWritesThemBack() {
        Program p(QStringLiteral(
            "[Widok]\r\nBufor CW=0\r\nLog=0\r\nPodpowiedzi=1\r\nLista CW=1\r\nLista SSB=0\r\nPowiaty=0\r\n"
            "[Log]\r\nX=40\r\nY=300\r\nWysokość=222\r\n"));
        QVERIFY(p.start());
        QVERIFY(!p.windows->logWindow()->isVisible());
        QVERIFY(!p.item("actionShowLog")->isChecked());
        QVERIFY(p.windows->callSuggestionsWindow()->isVisible());
        QVERIFY(p.windows->workedCalls()->cw()->isVisible());
        QVERIFY(!p.windows->workedCalls()->ssb()->isVisible());
        QCOMPARE(p.windows->logWindow()->height(), 222);
        QVERIFY(!p.item("actionShowBufferBar")->isChecked());
        QVERIFY(!p.windows->entryWindow()->keyerArea()->isVisibleTo(p.windows->entryWindow()));
        const int width = p.windows->entryWindow()->width();
        p.item("actionShowBufferBar")->trigger();
        QVERIFY(p.windows->entryWindow()->keyerArea()->isVisibleTo(p.windows->entryWindow()));
        // Showing and hiding the buffer bar never changes the window's width.
        QCOMPARE(p.windows->entryWindow()->width(), width);
        p.item("actionShowBufferBar")->trigger();
        p.item("actionShowBufferBar")->trigger();
        QCOMPARE(p.windows->entryWindow()->width(), width);

        // The view items show and hide their windows.
        p.item("actionShowLog")->trigger();
        QVERIFY(p.windows->logWindow()->isVisible());
        p.item("actionShowCallSuggestions")->trigger();
        QVERIFY(!p.windows->callSuggestionsWindow()->isVisible());

        p.close();
        QCOMPARE(p.settings->readInteger("Widok", "Log", -1), 1);
        QCOMPARE(p.settings->readInteger("Widok", "Podpowiedzi", -1), 0);
        QCOMPARE(p.settings->readInteger("Widok", "Lista CW", -1), 1);
        QCOMPARE(p.settings->readInteger("Log", "Wysokość", -1), 222);
        QVERIFY(p.settings->hasKey("Powiaty", "Szerokość"));
        QVERIFY(p.settings->hasKey("Lista FM", "Wysokość"));
        QVERIFY(p.settings->hasKey("Zalogowane", "X"));
        QCOMPARE(p.settings->readInteger("Program", "Kolor tła nadawanej grupy kontrolnej 1", 0), 12778705);
        QVERIFY(p.settings->hasKey("Master", "Plik"));
        QVERIFY(p.settings->hasKey("Analiza grupy", "Opcja"));
        // The keyer's settings are written first and survive the main window's own piece.
        QVERIFY(p.settings->hasKey("Klucz CW", "Predkosc"));
        QCOMPARE(p.settings->readInteger("Widok", "Bufor CW", -1), 1);
    }

    // Each view item restores, shows, hides and writes back its own window and flag and no other; a worked-calls
    // list closed from its own menu takes the tick off its item.
    void everyViewItemKeepsItsOwnWindowAndFlag_data() {
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("closesItself");
        QTest::newRow("log") << 0 << QStringLiteral("Log") << false;
        QTest::newRow("call suggestions") << 1 << QStringLiteral("Podpowiedzi") << false;
        QTest::newRow("worked counties") << 2 << QStringLiteral("Powiaty") << false;
        QTest::newRow("SSB list") << 3 << QStringLiteral("Lista SSB") << true;
        QTest::newRow("CW list") << 4 << QStringLiteral("Lista CW") << true;
        QTest::newRow("FM list") << 5 << QStringLiteral("Lista FM") << true;
        QTest::newRow("statistics") << 6 << QStringLiteral("Statystyka") << false;
        QTest::newRow("score") << 7 << QStringLiteral("Wynik") << false;
    }
    void everyViewItemKeepsItsOwnWindowAndFlag() {
        QFETCH(int, shown);
        QFETCH(QString, flag);
        QFETCH(bool, closesItself);
        QString settings = QStringLiteral("[Widok]\r\n");
        for (const char* view :
             {"Log", "Podpowiedzi", "Powiaty", "Lista SSB", "Lista CW", "Lista FM", "Statystyka", "Wynik"})
            settings += QString::fromUtf8(view) + (flag == QLatin1String(view) ? "=1\r\n" : "=0\r\n");
        Program p(settings);
        QVERIFY(p.start());
        const QList<ViewWindow> views = viewWindows(p);
        auto onlyShown = [&views](int index) {
            for (int i = 0; i < views.size(); ++i) {
                if (views[i].window->isVisible() != (i == index) || views[i].item->isChecked() != (i == index))
                    return false;
            }
            return true;
        };
        QVERIFY(onlyShown(shown));
        QAction* item = views[shown].item;
        item->trigger();
        QVERIFY(onlyShown(-1));
        item->trigger();
        QVERIFY(onlyShown(shown));
        const QList<QAction*> windowItems = views[shown].window->findChildren<QAction*>();
        const auto closeItem = std::find_if(windowItems.begin(), windowItems.end(), [](const QAction* a) {
            return a->text() == QStringLiteral("Zamknij okno");
        });
        QCOMPARE(closeItem != windowItems.end(), closesItself);
        if (closesItself) {
            (*closeItem)->trigger();
            QVERIFY(onlyShown(-1));
            item->trigger();
        }
        p.close();
        for (const ViewWindow& view : views)
            QCOMPARE(p.settings->readInteger("Widok", view.flag, -1), view.flag == flag ? 1 : 0);
    }

    void firstStartPlacesEveryWindowBesideTheEntryWindow() {
        Program p(QString{});
        QVERIFY(p.start());
        const QRect entry = p.windows->entryWindow()->frameGeometry();
        QCOMPARE(entry.topLeft(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
        // The log comes right below the entry window, whatever the size of the screen the test runs on.
        QCOMPARE(p.windows->logWindow()->frameGeometry().topLeft(), QPoint(entry.left(), entry.bottom() + 1 + 8));
        // A window shown later by its view item covers no entry field either.
        QVERIFY(!p.windows->statisticsWindow()->frameGeometry().intersects(entry));
    }

    // A first start lays the windows out beside the entry window, as ordinary windows none of which is kept above
    // it; closing and starting again puts each back exactly there, however the window manager frames them.
    void aRestartPutsEveryWindowBackWhereItWas() {
        Program p(QStringLiteral("[Widok]\r\nLog=1\r\nPodpowiedzi=1\r\nLista CW=1\r\nLista SSB=1\r\nLista FM=1\r\n"
                                 "Powiaty=1\r\nZalogowane=1\r\nWynik=1\r\n"));
        QVERIFY(p.start());
        QList<QRect> before{p.windows->entryWindow()->geometry()};
        for (const QWidget* window : sideWindows(p)) {
            QVERIFY2(window->isVisible(), qPrintable(window->objectName()));
            QCOMPARE(window->windowType(), Qt::Window);
            QVERIFY(!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            before << window->geometry();
        }
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(
            p.windows->entryWindow()->frameGeometry().topLeft()));
        QVERIFY(p.windows->workedCalls()->cw()->pos() != p.windows->workedCalls()->fm()->pos());
        for (int start = 2; start <= 3; ++start) {
            p.close();
            p.windows.reset();
            QVERIFY(p.start());
            QList<QRect> after{p.windows->entryWindow()->geometry()};
            for (const QWidget* window : sideWindows(p))
                after << window->geometry();
            QCOMPARE(after, before);
        }
    }

    void callsignFieldHasTheKeyboardAfterAFirstStart() {
        Program p(Program::EmptyFolder{});
        QVERIFY(p.start());
        // Every window is up; the log window, shown last, took the keyboard.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), p.windows->entryWindow());
        QCOMPARE(QApplication::focusWidget(), p.edit("callsignEdit"));
    }

    void wildcardSearchesTheMasterDatabase() {
        Program p(QString{});
        const QString master = p.folder.file(QStringLiteral("calls.dta"));
        QVERIFY(DtaWriter::write(master, {"SP7ABC", "SQ7ABD", "SP9ABC", "DL7ABC", "SP7XYZ"}));
        p.folder.writeBytes(QStringLiteral("kvr_log.ini"),
                            ("[Widok]\r\nPodpowiedzi=1\r\n[Master]\r\nPlik=" + master + "\r\n").toUtf8());
        QVERIFY(p.start());
        p.edit("callsignEdit")->setFocus();
        QTest::keyClicks(p.edit("callsignEdit"), QStringLiteral("s?7ab"));
        QCOMPARE(p.windows->callSuggestionsWindow()->entries(),
                 (QStringList{QStringLiteral("SP7ABC"), QStringLiteral("SQ7ABD")}));
    }

    void onlyTheCurrentModeListIsShown() {
        Program p(QStringLiteral("[Widok]\r\nLista SSB=1\r\nLista CW=0\r\nLista FM=1\r\nAktualna emisja=1\r\n"));
        QVERIFY(p.start());
        QVERIFY(p.item("actionCurrentModeListOnly")->isChecked());
        QVERIFY(p.windows->workedCalls()->cw()->isVisible());
        QVERIFY(!p.windows->workedCalls()->ssb()->isVisible());
        QVERIFY(!p.windows->workedCalls()->fm()->isVisible());
        QVERIFY(p.item("actionShowCwList")->isChecked());
        // A mode change follows with its own list.
        p.edit("callsignEdit")->setFocus();
        QTest::keyClicks(p.edit("callsignEdit"), QStringLiteral("SSB"));
        QTest::keyClick(p.edit("callsignEdit"), Qt::Key_Return);
        QVERIFY(p.windows->workedCalls()->ssb()->isVisible());
        QVERIFY(!p.windows->workedCalls()->cw()->isVisible());
    }

    void logWindowFollowsTheLogAndTheDupeSelection() {
        Program p(QString{});
        QVERIFY(p.start());
        QVERIFY(p.windows->logWindow()->isVisible());
        QVERIFY(p.windows->logWindow()->windowTitle().contains(QStringLiteral("QSO:      2")));
        p.edit("callsignEdit")->setFocus();
        QTest::keyClicks(p.edit("callsignEdit"), QStringLiteral("SP9ABC"));
        QCOMPARE(p.windows->logWindow()->selectedRow(), 0);
        QTest::keyClick(p.edit("callsignEdit"), Qt::Key_Return);
        QTest::keyClicks(p.edit("receivedExchangeEdit"), QStringLiteral("GW"));
        QTest::keyClick(p.edit("receivedExchangeEdit"), Qt::Key_Return);
        QVERIFY(p.windows->logWindow()->windowTitle().contains(QStringLiteral("QSO:      3")));
        QCOMPARE(p.windows->logWindow()->selectedRow(), 2);
    }

    // The line under the callsign: country and heading from the own locator, and what the contact would score in
    // the chosen contest, a new multiplier and a dupe standing out.
    void contestLineFollowsTheTypedContact_data() {
        QTest::addColumn<bool>("contest");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("colour"); // of the score's background; empty: none
        QTest::newRow("empty field") << true << "80M"
                                     << ""
                                     << ""
                                     << ""
                                     << "";
        QTest::newRow("unknown call") << true << "80M"
                                      << "Q1ABC"
                                      << "Kraj nieznany"
                                      << "0 pkt"
                                      << "";
        QTest::newRow("known country, new multiplier") << true << "80M"
                                                       << "DL1ABC"
                                                       << "Fed. Rep. of Germany (EU)   Azymut:  265°"
                                                       << "NOWY MNOŻNIK: DL   1 pkt"
                                                       << "#e65100";
        QTest::newRow("worked country, points only") << true << "80M"
                                                     << "SP5ABC"
                                                     << "Poland (EU)   Azymut:  311°"
                                                     << "1 pkt"
                                                     << "";
        QTest::newRow("dupe by the contest's rule") << true << "80M"
                                                    << "SP9ABC"
                                                    << "Poland (EU)   Azymut:  311°"
                                                    << "DUPE w zawodach"
                                                    << "red";
        QTest::newRow("other band: the multiplier again") << true << "40M"
                                                          << "SP9ABC"
                                                          << "Poland (EU)   Azymut:  311°"
                                                          << "NOWY MNOŻNIK: SP   1 pkt"
                                                          << "#e65100";
        QTest::newRow("band outside the contest") << true << "20M"
                                                  << "JA1ABC"
                                                  << "Japan (AS)   Azymut:  46°"
                                                  << "poza zawodami"
                                                  << "";
        QTest::newRow("no contest") << false << "80M"
                                    << "DL1ABC"
                                    << "Fed. Rep. of Germany (EU)   Azymut:  265°"
                                    << ""
                                    << "";
    }
    void contestLineFollowsTheTypedContact() {
        QFETCH(bool, contest);
        QFETCH(QString, band);
        QFETCH(QString, call);
        QFETCH(QString, country);
        QFETCH(QString, score);
        QFETCH(QString, colour);
        Program p(contest ? withContest(QString())
                          : withContest(QString()).replace("Definicja=test", "Definicja=brak"));
        writeContest(p);
        QVERIFY(p.start());
        QCOMPARE(p.windows->contest()->isActive(), contest);
        EntryWindow* entry = p.windows->entryWindow();
        auto* bands = entry->findChild<QComboBox*>(QStringLiteral("bandCombo"));
        bands->setCurrentIndex(bands->findText(band));
        emit bands->activated(bands->currentIndex());
        QCOMPARE(p.session.band(), band);
        auto* countryLabel = entry->findChild<QLabel*>(QStringLiteral("contestCountryLabel"));
        auto* scoreLabel = entry->findChild<QLabel*>(QStringLiteral("contestScoreLabel"));
        QTest::keyClicks(p.edit("callsignEdit"), call);
        QCOMPARE(countryLabel->text(), country);
        QCOMPARE(scoreLabel->text(), score);
        QCOMPARE(scoreLabel->styleSheet().contains(QStringLiteral("background-color: ") + colour), !colour.isEmpty());
        QCOMPARE(scoreLabel->styleSheet().isEmpty(), colour.isEmpty());
        // Cleared, the line is empty and plain again.
        p.edit("callsignEdit")->clear();
        QCOMPARE(countryLabel->text(), QString());
        QCOMPARE(scoreLabel->text(), QString());
        QVERIFY(scoreLabel->styleSheet().isEmpty());
    }

    // The rate meter on the program's clock: at start, after a contact logged, and when its timer runs out.
    void rateMeterFollowsTheClockAndTheLog() {
        Program p(withContest(QString()));
        writeContest(p);
        QVERIFY(p.start());
        auto* rate = p.windows->entryWindow()->findChild<QLabel*>(QStringLiteral("rateLabel"));
        // 07:00 and 07:01 seen at 08:00:05: the 07:00 contact is more than an hour ago.
        QCOMPARE(rate->text(), QStringLiteral("Tempo 10: 1/h   100: 1/h   60 min: 1   Czas pracy 0:01   Przerwy 0:00"));
        p.edit("callsignEdit")->setFocus();
        QTest::keyClicks(p.edit("callsignEdit"), QStringLiteral("DL1ABC"));
        QTest::keyClick(p.edit("callsignEdit"), Qt::Key_Return);
        QTest::keyClicks(p.edit("receivedExchangeEdit"), QStringLiteral("001"));
        QTest::keyClick(p.edit("receivedExchangeEdit"), Qt::Key_Return);
        QCOMPARE(p.session.log().size(), 3);
        QCOMPARE(rate->text(), QStringLiteral("Tempo 10: 2/h   100: 2/h   60 min: 2   Czas pracy 1:00   Przerwy 0:00"));
        auto* timer = p.windows->entryWindow()->findChild<QTimer*>(QStringLiteral("rateTimer"));
        QCOMPARE(timer->interval(), 10000);
        p.clock.set(p.clock.now().addSecs(40 * 60));
        runOut(timer);
        QCOMPARE(rate->text(), QStringLiteral("Tempo 10: 1/h   100: 1/h   60 min: 1   Czas pracy 1:00   Przerwy 0:00"));
    }

    // The statistics window counts while shown, collecting the changes of two seconds; hidden, it counts nothing
    // until shown again.
    void statisticsWindowFollowsTheLogWhileShown() {
        Program p(withContest(QString()));
        writeContest(p);
        QVERIFY(p.start());
        StatisticsWindow* statistics = p.windows->statisticsWindow();
        auto* table = statistics->findChild<QTableWidget*>(QStringLiteral("hoursTable"));
        auto* timer = statistics->findChild<QTimer*>(QStringLiteral("statisticsRefreshTimer"));
        auto* continents = statistics->findChild<QTableWidget*>(QStringLiteral("continentTable"));
        QVERIFY(!statistics->isVisible());
        p.item("actionShowStatistics")->trigger();
        QVERIFY(statistics->isVisible());
        // The 07:00 hour and the sum; the band worked, the total and the score.
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->columnCount(), 3);
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("80M"));
        QCOMPARE(table->verticalHeaderItem(0)->text(), QStringLiteral("2026-03-14 07:00"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("2"));
        // SP9ABC and SQ2X: 2 points, one multiplier.
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("2"));
        QCOMPARE(continents->rowCount(), 1);
        QCOMPARE(continents->item(0, 0)->text(), QStringLiteral("EU"));

        auto logContact = [&p](const char* call, const char* exchange) {
            p.edit("callsignEdit")->setFocus();
            QTest::keyClicks(p.edit("callsignEdit"), QString::fromLatin1(call));
            QTest::keyClick(p.edit("callsignEdit"), Qt::Key_Return);
            QTest::keyClicks(p.edit("receivedExchangeEdit"), QString::fromLatin1(exchange));
            QTest::keyClick(p.edit("receivedExchangeEdit"), Qt::Key_Return);
        };
        logContact("JA1ABC", "001");
        logContact("DL1ABC", "002");
        QCOMPARE(p.session.log().size(), 4);
        // Nothing counted yet: one count for both when the timer runs out.
        QCOMPARE(table->rowCount(), 2);
        runOut(timer);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->verticalHeaderItem(1)->text(), QStringLiteral("2026-03-14 08:00"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("2"));
        // 2 + 3 + 1 points, three countries: 18.
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("18"));
        QCOMPARE(table->verticalHeaderItem(2)->text(), QStringLiteral("Razem"));
        QCOMPARE(table->item(2, 1)->text(), QStringLiteral("4"));
        QCOMPARE(continents->rowCount(), 2);

        p.item("actionShowStatistics")->trigger();
        QVERIFY(!statistics->isVisible());
        logContact("OK1ABC", "003");
        QVERIFY(!timer->isActive());
        QCOMPARE(table->item(2, 1)->text(), QStringLiteral("4"));
        p.item("actionShowStatistics")->trigger();
        QCOMPARE(table->item(2, 1)->text(), QStringLiteral("5"));
        QCOMPARE(statistics->shown().hours.back().claimedAtEnd, qint64(7 * 4));
        // Closed from its title bar, its view item loses the tick.
        statistics->close();
        QVERIFY(!p.item("actionShowStatistics")->isChecked());
    }

    void newLogFromTheMenuStartsAgainAtSerialOne() {
        Program p(QStringLiteral("[Klucz CW]\r\nFormat=2\r\n"));
        QVERIFY(p.start());
        const QString chosen = p.folder.file(QStringLiteral("Zawody.kvr"));
        p.dialogs.fileAnswers.push_back(chosen);
        // The operator data dialog opens for the new log; it is closed at once.
        QTimer::singleShot(0, p.windows->operatorDialog(), &QDialog::reject);
        p.item("actionNewLog")->trigger();
        QCOMPARE(p.session.logPath(), p.folder.file(QStringLiteral("zawody.kvr")));
        QCOMPARE(p.edit("sentSerialEdit")->text(), QStringLiteral("001"));
        QCOMPARE(p.session.log().size(), 0);
    }

    void versionOfTheBuildInTheWindowAndTheAboutBox() {
        Program p(QString{});
        QVERIFY(p.start());
        const auto* label = p.windows->entryWindow()->findChild<QLabel*>(QStringLiteral("versionLabel"));
        QCOMPARE(label->text(), "Wersja " + buildVersion());
        p.item("actionAbout")->trigger();
        QCOMPARE(p.dialogs.messages.last().title, QStringLiteral("O programie..."));
        QCOMPARE(p.dialogs.lastText(), "Uniwersalny program do logowania w zawodach.\n\nWersja " + buildVersion());
    }

    void importFromTheMenuSetsTheSerialOfTheImportedLog() {
        Program p(QStringLiteral("[Klucz CW]\r\nFormat=2\r\n"));
        QVERIFY(p.start());
        const QString adif = p.folder.writeLines(
            QStringLiteral("in.adi"),
            {QStringLiteral("<CALL:5>SP1AA <QSO_DATE:8>20260315 <TIME_ON:4>0900 <BAND:3>80M <MODE:2>CW "
                            "<RST_SENT:3>599 <RST_RCVD:3>599 <STX:10>016 KO02MD <EOR>"),
             QStringLiteral("<CALL:5>SP2BB <QSO_DATE:8>20260315 <TIME_ON:4>0901 <BAND:3>80M <MODE:2>CW "
                            "<RST_SENT:3>599 <RST_RCVD:3>599 <STX:10>017 KO02MD <EOR>")});
        // The log holds contacts: they are given up without a copy.
        p.dialogs.buttonAnswers = {DialogButton::No, DialogButton::Ok};
        p.dialogs.fileAnswers.push_back(adif);
        p.item("actionImportAdif")->trigger();
        QCOMPARE(p.session.log().size(), 2);
        QCOMPARE(p.dialogs.messages.last().title, QStringLiteral("Informacja"));
        QCOMPARE(p.dialogs.lastText(), QStringLiteral("Zaimportowano łączności: 2"));
        QCOMPARE(p.edit("sentSerialEdit")->text(), QStringLiteral("018"));
    }

    void sameLocatorDistanceChangesTheSummaryAtOnce() {
        Program p(QStringLiteral("[Operator]\r\nLokator=JO91RU\r\n"
                                 "[Analiza grupy]\r\nOpcja=Lokator\r\nAnaliza=1\r\nODX=1\r\n"));
        const TestQso twoMetres = kContact.band("2M");
        p.folder.writeLines(QStringLiteral("log.kvr"), {twoMetres.time("07:00:00").call("SP9ABC").srx("001JO91RU"),
                                                        twoMetres.time("07:01:00").call("SP9XYZ").srx("002JO91RU")});
        QVERIFY(p.start());
        const auto* summary = p.windows->entryWindow()->findChild<QLabel*>(QStringLiteral("scoreSummaryLabel"));
        QVERIFY2(summary->text().endsWith(QStringLiteral("Suma ODX:       2")), qPrintable(summary->text()));
        p.windows->analysisDialog()->findChild<QSpinBox*>(QStringLiteral("sameLocatorKmSpin"))->setValue(4);
        QVERIFY2(summary->text().endsWith(QStringLiteral("Suma ODX:       8")), qPrintable(summary->text()));
        QCOMPARE(p.windows->logWindow()->windowTitle(), summary->text());
    }

    void cancelledColourChoiceChangesNothing() {
        Program p(QString{});
        QVERIFY(p.start());
        const int before = p.windows->entryWindow()->sentExchangeColour();
        p.windows->entryWindow()->findChild<QAction*>(QStringLiteral("actionSentExchangeBackground"))->trigger();
        QCOMPARE(p.windows->entryWindow()->sentExchangeColour(), before);
        p.dialogs.colourAnswers.push_back(0x0000FF);
        p.windows->entryWindow()->findChild<QAction*>(QStringLiteral("actionSentExchangeBackground"))->trigger();
        QCOMPARE(p.windows->entryWindow()->sentExchangeColour(), 0x0000FF);
        p.close();
        QCOMPARE(p.settings->readInteger("Program", "Kolor tła nadawanej grupy kontrolnej 1", 0), 0x0000FF);
    }

    void ctrlSpaceTakesTheFirstSuggestionAndGoesOnAsABlankWould() {
        Program p(QStringLiteral("[Widok]\r\nPodpowiedzi=1\r\n"));
        p.folder.writeLines(QStringLiteral("log.kvr"), {kContact.time("07:00:00").call("SP9ABC").srx("GW"),
                                                        kContact.time("07:01:00").call("SP9XYZ").srx("KD"),
                                                        kContact.time("07:02:00").call("SQ2X").srx("KD")});
        QVERIFY(p.start());
        CallSuggestionsWindow* suggestions = p.windows->callSuggestionsWindow();
        QVERIFY(suggestions->isVisible());
        QLineEdit* call = p.edit("callsignEdit");
        QLineEdit* exchange = p.edit("receivedExchangeEdit");

        // The exchange cursor is remembered when a blank leaves the exchange field.
        exchange->setFocus();
        QTest::keyClicks(exchange, QStringLiteral("ABCDE"));
        exchange->setCursorPosition(2);
        QTest::keyClick(exchange, Qt::Key_Space);
        call->setFocus();
        QTest::keyClicks(call, QStringLiteral("SP9"));
        QCOMPARE(suggestions->entries(), (QStringList{QStringLiteral("SP9ABC"), QStringLiteral("SP9XYZ")}));

        QTest::keyClick(call, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(call->text(), QStringLiteral("SP9ABC"));
        QCOMPARE(exchange->text(), QStringLiteral("ABCDE"));
        QCOMPARE(exchange->cursorPosition(), 2);
        // Taking the suggestion left the list as it was.
        QCOMPARE(suggestions->entries(), (QStringList{QStringLiteral("SP9ABC"), QStringLiteral("SP9XYZ")}));

        // One more character computes it again.
        QTest::keyClick(exchange, Qt::Key_Space);
        QTest::keyClick(call, Qt::Key_Backspace);
        QTest::keyClick(call, Qt::Key_Backspace);
        QTest::keyClick(call, Qt::Key_Backspace);
        QTest::keyClicks(call, QStringLiteral("X"));
        QCOMPARE(call->text(), QStringLiteral("SP9X"));
        QCOMPARE(suggestions->entries(), QStringList{QStringLiteral("SP9XYZ")});
        call->clear();
        QVERIFY(suggestions->entries().isEmpty());
    }

    // "Zawody": OK chooses the selected contest and keeps it in the settings at once; Anuluj, and a definition
    // that no longer reads when OK is pressed, leave the contest and the settings as they were.
    void contestDialogChoosesOnlyWhatItCanScore_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("breakBeforeOk");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("errors");
        QTest::newRow("another contest") << "Druga proba" << false << true << "druga" << 0;
        QTest::newRow("brak") << "brak" << false << true << "brak" << 0;
        QTest::newRow("cancelled") << "Druga proba" << false << false << "proba" << 0;
        QTest::newRow("definition broken before OK") << "Druga proba" << true << true << "proba" << 1;
    }
    // A country file that does not read is told at start-up; the contest is still scored, without country rules.
    void anUnreadableCountryFileIsToldAtStartUp() {
        Program p(withContest(QString()));
        writeContest(p);
        p.folder.writeBytes(QStringLiteral("cty.dat"), "");
        QVERIFY(p.start());
        QCOMPARE(p.dialogs.messages.size(), 1);
        QVERIFY2(p.dialogs.lastText().contains(QStringLiteral("cty.dat")), qPrintable(p.dialogs.lastText()));
        QVERIFY(p.windows->contest()->isActive());
    }

    void contestDialogChoosesOnlyWhatItCanScore() {
        QFETCH(QString, selected);
        QFETCH(bool, breakBeforeOk);
        QFETCH(bool, ok);
        QFETCH(QString, chosen);
        QFETCH(int, errors);
        Program p(QStringLiteral("[Zawody]\r\nDefinicja=proba\r\n"));
        addTestContests(p);
        QVERIFY(p.start());
        QCOMPARE(p.windows->contest()->chosenName(), QStringLiteral("proba"));
        ContestDialog* dialog = p.windows->contestDialog();
        QStringList shown;
        QString description;
        QString problems;
        QTimer::singleShot(0, dialog, [&] {
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("contestList"));
            for (int row = 0; row < list->count(); ++row)
                shown << list->item(row)->text();
            // The current choice is selected when the dialog opens.
            if (list->currentItem()->text() != QStringLiteral("Zawody probne"))
                shown << QStringLiteral("wrong selection");
            list->setCurrentItem(list->findItems(selected, Qt::MatchExactly).value(0));
            description = dialog->findChild<QPlainTextEdit*>(QStringLiteral("descriptionText"))->toPlainText();
            problems = dialog->findChild<QPlainTextEdit*>(QStringLiteral("errorsText"))->toPlainText();
            if (breakBeforeOk)
                p.folder.writeBytes(QStringLiteral("contests/druga.ini"), "[Zawody]\nNazwa=Druga proba\n");
            dialog->findChild<QPushButton*>(ok ? QStringLiteral("okButton") : QStringLiteral("cancelButton"))->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        p.item("actionContest")->trigger();
        QCOMPARE(shown.value(0), QStringLiteral("brak"));
        QVERIFY(shown.contains(QStringLiteral("Druga proba")));
        QVERIFY(!shown.contains(QStringLiteral("wrong selection")));
        QVERIFY(!shown.contains(QStringLiteral("Bez pasm")));
        QVERIFY2(problems.contains(QStringLiteral("zepsute")), qPrintable(problems));
        if (selected != QLatin1String("brak")) {
            QVERIFY(description.contains(QStringLiteral("Cabrillo: CQ-WPX-CW")));
            QVERIFY(description.contains(QStringLiteral("Mnożniki: prefiksy WPX raz w zawodach")));
        }
        QCOMPARE(p.windows->contest()->chosenName(), chosen);
        QCOMPARE(p.dialogs.messages.size(), errors);
        QCOMPARE(IniFile(p.folder.file(QStringLiteral("kvr_log.ini"))).value(SettingsKeys::Contest::definition),
                 chosen);
    }

    // The score window, the log window's caption and the entry window's status line follow the contest through
    // a logged contact and a change of the choice; the window's flag and section are kept.
    void scoreWindowAndCaptionsFollowTheContest() {
        Program p(QStringLiteral("[Zawody]\r\nDefinicja=proba\r\n[Widok]\r\nWynik=1\r\n"));
        addTestContests(p);
        QVERIFY(p.start());
        ScoreWindow* score = p.windows->scoreWindow();
        QVERIFY(score->isVisible());
        QVERIFY(p.item("actionShowScore")->isChecked());
        auto* table = score->findChild<QTableWidget*>(QStringLiteral("scoreTable"));
        auto* line = score->findChild<QLabel*>(QStringLiteral("scoreLineLabel"));
        auto* status = p.windows->entryWindow()->findChild<QLabel*>(QStringLiteral("scoreSummaryLabel"));
        QCOMPARE(score->windowTitle(), QStringLiteral("Wynik – Zawody probne"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(tableRow(table, 0), (QStringList{"80M", "CW", "2", "4", "2"}));
        QCOMPARE(tableRow(table, 1), (QStringList{"Razem", "", "2", "4", "2"}));
        QCOMPARE(line->text(), QStringLiteral("Wynik: 8 (punkty 4, mnożniki 2)"));
        QCOMPARE(p.windows->logWindow()->windowTitle(), p.session.scoreSummary() + QStringLiteral("   Wynik: 8"));
        QCOMPARE(status->text(), p.session.scoreSummary() + QStringLiteral("   Wynik: 8"));

        QLineEdit* call = p.edit("callsignEdit");
        call->setFocus();
        QTest::keyClicks(call, QStringLiteral("SP9XYZ"));
        QTest::keyClick(call, Qt::Key_Return);
        QTest::keyClicks(p.edit("receivedExchangeEdit"), QStringLiteral("12"));
        QTest::keyClick(p.edit("receivedExchangeEdit"), Qt::Key_Return);
        QCOMPARE(p.session.log().size(), 3);
        QCOMPARE(tableRow(table, 1), (QStringList{"Razem", "", "3", "6", "2"}));
        QCOMPARE(line->text(), QStringLiteral("Wynik: 12 (punkty 6, mnożniki 2)"));
        QCOMPARE(p.windows->logWindow()->windowTitle(), p.session.scoreSummary() + QStringLiteral("   Wynik: 12"));
        QCOMPARE(status->text(), p.session.scoreSummary() + QStringLiteral("   Wynik: 12"));

        QVERIFY(p.windows->contest()->choose(QStringLiteral("brak")).isEmpty());
        QCOMPARE(table->rowCount(), 0);
        QCOMPARE(line->text(), QStringLiteral("brak zawodów"));
        QCOMPARE(score->windowTitle(), QStringLiteral("Wynik"));
        QCOMPARE(p.windows->logWindow()->windowTitle(), p.session.scoreSummary());
        QCOMPARE(status->text(), p.session.scoreSummary());
        const QModelIndex first = p.windows->logWindow()->model()->index(0);
        QVERIFY(!first.data(Qt::FontRole).isValid());

        score->move(score->pos() + QPoint(30, 20));
        const QPoint place = score->pos();
        p.close();
        QCOMPARE(p.settings->readInteger("Widok", "Wynik", -1), 1);
        QVERIFY(p.settings->hasKey("Wynik", "Szerokość"));
        p.windows.reset();
        QVERIFY(p.start());
        QCOMPARE(p.windows->scoreWindow()->pos(), place);
    }

    // The log window's rows: with a contest chosen, what counts for nothing is grey and a new multiplier bold.
    void logRowsWearTheContestMarks_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<bool>("bold");
        QTest::newRow("first of its prefix") << 0 << false << true;
        QTest::newRow("another prefix") << 1 << false << true;
        QTest::newRow("dupe on the same band and mode") << 2 << true << false;
        QTest::newRow("known prefix, new station") << 3 << false << false;
        QTest::newRow("band outside the contest") << 4 << true << false;
        QTest::newRow("same station on another band") << 5 << false << false;
    }
    void logRowsWearTheContestMarks() {
        QFETCH(int, row);
        QFETCH(bool, grey);
        QFETCH(bool, bold);
        Program p(QStringLiteral("[Zawody]\r\nDefinicja=proba\r\n"));
        addTestContests(p);
        p.folder.writeLines(QStringLiteral("log.kvr"), {kContact.time("07:00:00").call("SP9ABC").srx("1"),
                                                        kContact.time("07:01:00").call("SQ2X").srx("2"),
                                                        kContact.time("07:02:00").call("SP9ABC").srx("3"),
                                                        kContact.time("07:03:00").call("SP9XYZ").srx("4"),
                                                        kContact.time("07:04:00").band("20M").call("DL1A").srx("5"),
                                                        kContact.time("07:05:00").band("40M").call("SP9ABC").srx("6")});
        QVERIFY(p.start());
        const QModelIndex index = p.windows->logWindow()->model()->index(row);
        QCOMPARE(index.data(Qt::ForegroundRole).isValid(), grey);
        QCOMPARE(index.data(Qt::FontRole).isValid() && index.data(Qt::FontRole).value<QFont>().bold(), bold);
        // Without a contest no row wears a mark.
        QVERIFY(p.windows->contest()->choose(QStringLiteral("brak")).isEmpty());
        QVERIFY(!index.data(Qt::ForegroundRole).isValid() && !index.data(Qt::FontRole).isValid());
    }

    // The Cabrillo header window proposes the chosen contest's name and claimed score; without a contest it keeps
    // its own values.
    void cabrilloHeaderTakesTheContestsValues_data() {
        QTest::addColumn<QString>("contest");
        QTest::addColumn<QString>("claimed");
        QTest::addColumn<QString>("domestic");
        QTest::addColumn<QString>("listed");
        QTest::newRow("contest not on the list") << "proba"
                                                 << "8"
                                                 << "PROBA" << QStringLiteral(" Zawody nie wymienione na liście");
        QTest::newRow("contest on the list") << "druga"
                                             << "8"
                                             << "CQ-WPX-CW"
                                             << "CQ-WPX-CW";
        QTest::newRow("no contest") << "brak"
                                    << "0"
                                    << "SP-OPEN"
                                    << "AP-SPRINT";
    }
    void cabrilloHeaderTakesTheContestsValues() {
        QFETCH(QString, contest);
        QFETCH(QString, claimed);
        QFETCH(QString, domestic);
        QFETCH(QString, listed);
        Program p(QStringLiteral("[Zawody]\r\nDefinicja=%1\r\n[Cabrillo]\r\nZawody_krajowe=SP-OPEN\r\n"
                                 "Zawody_międzynarodowe=1\r\n")
                      .arg(contest));
        addTestContests(p);
        QVERIFY(p.start());
        CabrilloExportDialog* dialog = p.windows->interchange()->cabrilloDialog();
        QStringList seen;
        QTimer::singleShot(0, dialog, [&] {
            seen << dialog->ui()->claimedScoreEdit->text() << dialog->ui()->domesticContestEdit->text()
                 << dialog->ui()->contestCombo->currentText();
            dialog->reject();
        });
        p.item("actionExportCabrillo")->trigger();
        QCOMPARE(seen, (QStringList{claimed, domestic, listed}));
    }

    void workedCallsWindowsFollowLoadBandChangeAndNewQso() {
        Program p(QString{});
        QVERIFY(p.start());
        WorkedCallsWindow* cw = p.windows->workedCalls()->cw();
        auto column = [cw](const char* name) {
            QStringList texts;
            const QListWidget* box = cw->findChild<QListWidget*>(QLatin1String(name));
            for (int row = 0; row < box->count(); ++row)
                texts << box->item(row)->text();
            return texts;
        };
        QCOMPARE(column("callArea9List"), QStringList{QStringLiteral("SP9ABC")});
        QCOMPARE(column("callArea2List"), QStringList{QStringLiteral("SQ2X  ")});
        QCOMPARE(cw->windowTitle(), QStringLiteral("Lista zalogowanych znaków - pasmo 80M   CW"));

        QLineEdit* call = p.edit("callsignEdit");
        call->setFocus();
        QTest::keyClicks(call, QStringLiteral("40M"));
        QTest::keyClick(call, Qt::Key_Return);
        QCOMPARE(cw->windowTitle(), QStringLiteral("Lista zalogowanych znaków - pasmo 40M   CW"));
        QVERIFY(column("callArea9List").isEmpty());
        QVERIFY(column("callArea2List").isEmpty());

        QTest::keyClicks(call, QStringLiteral("3Z0X"));
        QTest::keyClick(call, Qt::Key_Return);
        QTest::keyClicks(p.edit("receivedExchangeEdit"), QStringLiteral("12"));
        QTest::keyClick(p.edit("receivedExchangeEdit"), Qt::Key_Return);
        QCOMPARE(p.session.log().size(), 3);
        QCOMPARE(column("otherCallAreaList"), QStringList{QStringLiteral("3Z0X")});
        QVERIFY(
            p.windows->workedCalls()->ssb()->findChild<QListWidget*>(QStringLiteral("otherCallAreaList"))->count() ==
            0);
    }

    void keyerKeysWorkInTheOutgoingTextField() {
        Program p(QString{});
        QVERIFY(p.start());
        QLineEdit* outgoing = p.windows->entryWindow()->findChild<QLineEdit*>(QStringLiteral("outgoingTextEdit"));
        QVERIFY(outgoing);
        MorseEngine& engine = p.windows->keyer()->engine();
        const int speed = engine.speed();
        outgoing->setFocus();
        QTest::keyClick(outgoing, Qt::Key_F10, Qt::AltModifier);
        QCOMPARE(engine.speed(), speed + 1);
        QCOMPARE(engine.savedSpeed(), speed + 1);
        QVERIFY(outgoing->text().isEmpty());

        p.edit("callsignEdit")->setText(QStringLiteral("SP9ABC"));
        p.edit("receivedExchangeEdit")->setText(QStringLiteral("GW"));
        QTest::keyClick(outgoing, Qt::Key_F11);
        QVERIFY(p.edit("callsignEdit")->text().isEmpty());
        QVERIFY(p.edit("receivedExchangeEdit")->text().isEmpty());
    }

    // A log that stopped loading at a bad line: Enter keeps the contact in the fields and the file as it was;
    // the box says why once, the status line every time after.
    void aLogThatFailedToLoadTakesNoContactFromTheWindow() {
        Program p(QString{});
        const QString log = p.folder.writeBytes(
            QStringLiteral("log.kvr"),
            (kContact.time("07:00:00").call("SP9ABC").srx("GW") + QStringLiteral("\r\nzzz\r\n")).toLatin1());
        const QByteArray before = fileBytes(log);
        QVERIFY(p.start());
        const qsizetype told = p.dialogs.messages.size();
        for (int attempt = 0; attempt < 2; ++attempt) {
            p.edit("callsignEdit")->setText(QStringLiteral("SP6XYZ"));
            p.edit("receivedExchangeEdit")->setText(QStringLiteral("KD"));
            p.windows->entryWindow()->logQso();
            QCOMPARE(p.edit("callsignEdit")->text(), QStringLiteral("SP6XYZ"));
            QCOMPARE(fileBytes(log), before);
        }
        QCOMPARE(p.dialogs.messages.size(), told + 1);
        QVERIFY(p.dialogs.lastText().contains(QStringLiteral("„Otwórz log”")));
        QVERIFY2(p.windows->entryWindow()->statusBar()->currentMessage().startsWith(
                     QStringLiteral("QSO nie zostało zapisane: ")),
                 qPrintable(p.windows->entryWindow()->statusBar()->currentMessage()));
    }

    // A disk that fills up during the contest, or a settings file the program could not read at the start: the
    // settings that cannot be written at the close are named once.
    void aSettingsWriteThatFailsAtTheCloseIsTold_data() {
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("a full disk") << false;
        QTest::newRow("a settings file that cannot be read") << true;
    }
    void aSettingsWriteThatFailsAtTheCloseIsTold() {
        QFETCH(bool, unreadable);
        Program p(QString{});
        const QString path = p.folder.file(QStringLiteral("kvr_log.ini"));
        if (unreadable)
            QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        QVERIFY(p.start());
        const qsizetype told = p.dialogs.messages.size();
        {
            std::optional<DiskSpace> full;
            if (!unreadable)
                full.emplace(0);
            p.close();
        }
        QCOMPARE(p.dialogs.messages.size(), told + 1);
        QVERIFY(p.dialogs.lastText().startsWith(QStringLiteral("Ustawienia programu nie zostały zapisane:\n")));
        if (unreadable)
            QVERIFY(p.dialogs.lastText().contains(path));
    }
};

QTEST_MAIN(TestApplicationWindows)
#include "tst_applicationwindows.moc"
