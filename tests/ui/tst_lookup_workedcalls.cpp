#include "lookuptestlog.h"
#include "settings/inifile.h"
#include "workedcallswindows.h"

#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

// The three worked-calls windows on a real log, driven offscreen.
class TestWorkedCallsWindows : public QObject {
    Q_OBJECT

private:
    static QStringList texts(const QListWidget* box) {
        QStringList list;
        for (int row = 0; row < box->count(); ++row)
            list.append(box->item(row)->text());
        return list;
    }

    static QAction* action(QMenu* menu, const QString& text) {
        for (QAction* a : menu->actions()) {
            if (a->text() == text)
                return a;
            if (a->menu())
                if (QAction* inner = action(a->menu(), text))
                    return inner;
        }
        return nullptr;
    }

private slots:
    void columnsFollowTheCallArea() {
        LookupTestLog log;
        log.session.setBand("20M");
        WorkedCallsWindows windows(log.session);
        log.load({{"20M", "CW", "SP7ABC"},
                  {"20M", "CW", "SP7ABCDE"},
                  {"20M", "CW", "3Z0X"},
                  {"20M", "CW", "OEAAAA"},
                  {"40M", "CW", "SP9ZZZ"},
                  {"20M", "PH", "SQ9XYZ"},
                  {"20M", "FM", "SN1A"},
                  {"20M", "RY", "DL1RTY"}});
        WorkedCallsWindow* cw = windows.cw();
        QCOMPARE(texts(cw->findChild<QListWidget*>("callArea7List")), QStringList{"SP7ABC"});
        QCOMPARE(texts(cw->findChild<QListWidget*>("otherCallAreaList")), (QStringList{"3Z0X", "OEAAAA"}));
        QVERIFY(texts(cw->findChild<QListWidget*>("callArea9List")).isEmpty());
        QCOMPARE(texts(windows.ssb()->findChild<QListWidget*>("callArea9List")), QStringList{"SQ9XYZ"});
        QCOMPARE(texts(windows.fm()->findChild<QListWidget*>("callArea1List")), QStringList{"SN1A  "});
        for (WorkedCallsWindow* window : {windows.ssb(), cw, windows.fm()})
            for (int column = 0; column < 10; ++column)
                for (const QString& entry : texts(window->columnList(column)))
                    QVERIFY2(!entry.startsWith("DL1"), "an RTTY contact is listed");
        QCOMPARE(windows.ssb()->windowTitle(), QStringLiteral("Lista zalogowanych znaków - pasmo 20M   SSB"));
        QCOMPARE(cw->windowTitle(), QStringLiteral("Lista zalogowanych znaków - pasmo 20M   CW"));
        QCOMPARE(windows.fm()->windowTitle(), QStringLiteral("Lista zalogowanych znaków - pasmo 20M   FM"));

        // A band change refreshes them for the new band.
        log.session.setBand("40M");
        windows.refreshWindows();
        QCOMPARE(texts(cw->findChild<QListWidget*>("callArea9List")), QStringList{"SP9ZZZ"});
        QVERIFY(texts(cw->findChild<QListWidget*>("callArea7List")).isEmpty());
        QCOMPARE(cw->windowTitle(), QStringLiteral("Lista zalogowanych znaków - pasmo 40M   CW"));
    }

    void addedQsoAppearsAtOnce() {
        LookupTestLog log;
        log.session.setBand("20M");
        WorkedCallsWindows windows(log.session);
        log.load({{"20M", "CW", "SP7ABC"}});
        const qsizetype row = log.session.log().add(
            PreparedQso{*QsoRecord::fromLine(LookupTestLog::line({"20M", "PH", "SP5XYZ"}, 30)), {}, false, {}},
            LogBook::Placement::Sorted);
        emit log.session.qsoAdded(row);
        QCOMPARE(texts(windows.ssb()->findChild<QListWidget*>("callArea5List")), QStringList{"SP5XYZ"});
        QCOMPARE(texts(windows.cw()->findChild<QListWidget*>("callArea7List")), QStringList{"SP7ABC"});
    }

    void headerAndGeometry() {
        LookupTestLog log;
        WorkedCallsWindows windows(log.session);
        WorkedCallsWindow* ssb = windows.ssb();
        auto* header = ssb->findChild<QHeaderView*>();
        QVERIFY(header);
        QStringList sections;
        for (int i = 0; i < header->count(); ++i)
            sections.append(header->model()->headerData(i, Qt::Horizontal).toString());
        QCOMPARE(sections, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "Inne"}));
        ssb->resize(ssb->width(), 300);
        ssb->show();
        QCOMPARE(ssb->columnList(0)->width(), 64);
        QCOMPARE(ssb->columnList(9)->width(), 74);
        QCOMPARE(ssb->columnList(4)->height(), 300 - 41);
        QCOMPARE(ssb->columnList(3)->x(), 3 * 64);
    }

    void fontChangeStaysInItsWindow() {
        LookupTestLog log;
        WorkedCallsWindows windows(log.session);
        FontSpec font;
        font.face = "Courier New";
        font.pointSize = 17;
        log.dialogs.fontAnswers.push_back(font);
        QAction* item = action(windows.ssb()->popupMenu(), "Czcionka dla listy SSB");
        QVERIFY(item);
        item->trigger();
        for (int column = 0; column < 10; ++column) {
            QCOMPARE(windows.ssb()->columnList(column)->font().pointSize(), 17);
            QVERIFY(windows.cw()->columnList(column)->font().pointSize() != 17);
        }
        QVERIFY(action(windows.cw()->popupMenu(), "Czcionka listy CW"));
        QVERIFY(action(windows.fm()->popupMenu(), "Czcionka listy FM"));
    }

    void prefixColoursAreSharedAndSaved() {
        LookupTestLog log;
        WorkedCallsWindows windows(log.session);
        log.dialogs.colourAnswers.push_back(0x123456);
        action(windows.cw()->popupMenu(), "dla prefiksów SQ")->trigger();
        QCOMPARE(windows.prefixColour(WorkedCallsGroups::Prefix::SQ), 0x123456);
        // Cancelled: unchanged.
        log.dialogs.colourAnswers.push_back(std::nullopt);
        action(windows.ssb()->popupMenu(), "dla pozostałych prefiksów")->trigger();
        QCOMPARE(windows.prefixColour(WorkedCallsGroups::Prefix::Other), WorkedCallsWindows::kDefaultPrefixColours[3]);
        windows.cw()->move(12, 34);
        {
            IniFile ini(log.folder.file("kvr_log.ini"));
            windows.saveSettings(ini);
        }
        IniFile ini(log.folder.file("kvr_log.ini"));
        QCOMPARE(ini.readInteger("Lista SSB", "Kolor czcionki stacji SQ", 0), 0x123456);
        QCOMPARE(ini.readInteger("Lista CW", "X", 0), 12);
        QCOMPARE(ini.readInteger("Lista CW", "Y", 0), 34);
        QVERIFY(!ini.hasKey("Lista CW", "Szerokość"));
        QVERIFY(!ini.hasKey("Lista CW", "Kolor czcionki stacji SQ"));
        WorkedCallsWindows again(log.session);
        again.loadSettings(ini);
        QCOMPARE(again.prefixColour(WorkedCallsGroups::Prefix::SQ), 0x123456);
        QCOMPARE(again.cw()->pos(), QPoint(12, 34));
    }

    void closeItemHidesTheWindow() {
        LookupTestLog log;
        WorkedCallsWindows windows(log.session);
        windows.fm()->show();
        QSignalSpy closed(windows.fm(), &WorkedCallsWindow::closeRequested);
        action(windows.fm()->popupMenu(), "Zamknij okno")->trigger();
        QVERIFY(!windows.fm()->isVisible());
        QCOMPARE(closed.size(), 1);
    }

    void homeInAListReturnsToTheCallsign() {
        LookupTestLog log;
        WorkedCallsWindows windows(log.session);
        QSignalSpy home(windows.cw(), &WorkedCallsWindow::homePressed);
        windows.cw()->show();
        QVERIFY(QTest::qWaitForWindowActive(windows.cw()));
        windows.cw()->columnList(5)->setFocus();
        QTest::keyClick(windows.cw()->columnList(5), Qt::Key_Home);
        QCOMPARE(home.size(), 1);
    }
};

QTEST_MAIN(TestWorkedCallsWindows)
#include "tst_lookup_workedcalls.moc"
