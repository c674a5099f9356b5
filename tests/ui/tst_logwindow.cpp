#include "core/qsoline.h"
#include "lifecyclefixture.h"
#include "log/loglifecycle.h"
#include "logcolumnheader.h"
#include "logwindow.h"
#include "qsoeditdialog.h"
#include "settings/inifile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class TestLogWindow : public QObject {
    Q_OBJECT

private:
    static QStringList threeQsos() {
        return {kSicContact.time("10:00:00").call("SP1AAA").stx("013"),
                kSicContact.time("10:05:00").call("SP1AAA").stx("014"),
                kSicContact.time("10:10:00").band("40M").mode("PH").call("SP2BBB").stx("015")};
    }
    static QListView* list(LogWindow& log) { return log.findChild<QListView*>(QStringLiteral("logList")); }
    static QLineEdit* edit(QsoEditDialog* dialog, const char* name) {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    // Runs the action on the edit dialog once it is shown modally.
    static void whenEditorShown(LogWindow& log, std::function<void(QsoEditDialog*)> action) {
        QTimer::singleShot(0, &log, [&log, action] {
            QsoEditDialog* dialog = log.editDialog();
            QVERIFY(dialog->isVisible());
            action(dialog);
        });
    }
    static QString backupPath(const SessionFixture& f) {
        return QDir(f.folder.file(QStringLiteral("Backup_logs")))
            .filePath(QStringLiteral("edit_2024_06_01_123456.kvr"));
    }

    // Keys bound to a list act while it has the focus in the active window.
    static void showWithFocus(QWidget& window, QWidget* focus) {
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        focus->setFocus();
    }

private slots:
    void showsTheLogWithTheSummaryAsCaption() {
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        QCOMPARE(list(log)->model()->rowCount(), 3);
        QCOMPARE(log.windowTitle(), f.session.scoreSummary());
        QVERIFY(log.windowTitle().startsWith(QStringLiteral("Log ")));
        QCOMPARE(log.selectedRow(), 2);
        QVERIFY(list(log)->model()->index(1, 0).data().toString().endsWith(QStringLiteral(" DUPE")));
        QCOMPARE(log.width(), 658);
        QCOMPARE(list(log)->toolTip(), QStringLiteral("Menu rozwijalne - prawy klawisz myszy"));
        const QList<QAction*> menu = log.popupMenu()->actions();
        QCOMPARE(menu.size(), 3);
        QCOMPARE(menu.at(0)->text(), QStringLiteral("Edytuj QSO"));
        QVERIFY(menu.at(1)->isSeparator());
        QCOMPARE(menu.at(2)->text(), QStringLiteral("Usuń QSO"));

        emit f.session.rowSelectionRequested(0);
        QCOMPARE(log.selectedRow(), 0);
    }

    void logThatStopsAtABadLineSelectsNothingUntilItLoadsWhole() {
        QStringList lines = threeQsos();
        lines.insert(1, QStringLiteral("not a contact"));
        SessionFixture f(lines);
        LogWindow log(f.session);
        QCOMPARE(list(log)->model()->rowCount(), 1);
        QCOMPARE(log.selectedRow(), -1);

        f.folder.writeLines(QStringLiteral("log.kvr"), threeQsos());
        f.session.reload();
        QCOMPARE(log.selectedRow(), 2);
    }

    void editingTheReceivedExchangeRewritesAndReloads() {
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        log.selectRow(1);
        const QByteArray before = fileBytes(f.session.logPath());
        QSignalSpy escape(&log, &LogWindow::escapeToCallsign);
        whenEditorShown(log, [](QsoEditDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Edycja QSO"));
            QCOMPARE(edit(dialog, "timeEdit")->text(), QStringLiteral("100500"));
            QLineEdit* srx = edit(dialog, "receivedExchangeEdit");
            QCOMPARE(dialog->focusWidget(), srx);
            srx->clear();
            QTest::keyClicks(srx, QStringLiteral("bgp"));
            QCOMPARE(srx->text(), QStringLiteral("BGP"));
            QTest::keyClick(srx, Qt::Key_Return);
        });

        log.editSelectedQso();

        QVERIFY(QFileInfo::exists(backupPath(f)));
        QCOMPARE(fileBytes(f.session.logPath() + QStringLiteral("~")), before);
        const QStringList onDisk = f.folder.readLines(QStringLiteral("log.kvr"));
        QVERIFY(onDisk.at(1).startsWith(QsoLine::body(threeQsos().at(1)).left(62) + QStringLiteral("        BGP")));
        QCOMPARE(list(log)->model()->rowCount(), 3);
        QCOMPARE(log.selectedRow(), 1);
        // The closing dialog hands the list an Esc, which goes on to the callsign field.
        QCOMPARE(escape.count(), 1);
    }

    void escapeInTheEditorChangesNothingButLeavesTheBackup() {
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        const QByteArray before = fileBytes(f.session.logPath());
        QSignalSpy escape(&log, &LogWindow::escapeToCallsign);
        whenEditorShown(log, [](QsoEditDialog* dialog) {
            QTest::keyClicks(edit(dialog, "callsignEdit"), QStringLiteral("X"));
            QTest::keyClick(edit(dialog, "callsignEdit"), Qt::Key_Escape);
        });

        log.editSelectedQso();

        QCOMPARE(escape.count(), 1);
        QVERIFY(QFileInfo::exists(backupPath(f)));
        QCOMPARE(fileBytes(f.session.logPath()), before);
        QVERIFY(!QFileInfo::exists(f.session.logPath() + QStringLiteral("~")));
    }

    void editorRefusesBadFields_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("time with 5 digits")
            << "timeEdit"
            << "10050"
            << "Został wprowadzony niewłaściwy czas!\n\nZmiany nie została wprowadzone.";
        QTest::newRow("band outside the table")
            << "bandEdit"
            << "21M"
            << "Zostało wprowadzone niewłaściwe pasmo!\n\nZmiany nie została wprowadzone.";
        QTest::newRow("date cut short") << "dateEdit"
                                        << "2024-06"
                                        << "Została wprowadzona niewłaściwa data!\n\nZmiany nie została wprowadzone.";
    }
    void editorRefusesBadFields() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        const QByteArray before = fileBytes(f.session.logPath());
        whenEditorShown(log, [field, value](QsoEditDialog* dialog) {
            QLineEdit* e = edit(dialog, field.toLatin1().constData());
            e->setText(value);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
        });

        log.editSelectedQso();

        QCOMPARE(f.dialogs.texts(), QStringList{message});
        QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(fileBytes(f.session.logPath()), before);
        QCOMPARE(f.session.log().size(), 3);
    }

    void editWithoutSelectionIsRefused() {
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        list(log)->selectionModel()->clearSelection();
        log.editSelectedQso();
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Należy najpierw zaznaczyć łączność!")});
        QVERIFY(!log.editDialog()->isVisible());
    }

    void deleteFromThePopupMenu_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("serialAfter");
        QTest::addColumn<bool>("dupeLeft");
        QTest::newRow("newest QSO steps the serial back") << 2 << "014" << true;
        QTest::newRow("older QSO leaves the serial") << 0 << "015" << false;
    }
    void deleteFromThePopupMenu() {
        QFETCH(int, row);
        QFETCH(QString, serialAfter);
        QFETCH(bool, dupeLeft);
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        QString serial = QStringLiteral("015");
        log.setSerialField(
            {[&] { return serial; }, [&](const QString& s) { serial = s; }, [] { return true; }, [] { return 3; }});
        f.dialogs.buttonAnswers = {DialogButton::Yes};

        // The right button selects the row under the pointer before the menu acts on it.
        QListView* view = list(log);
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::RightButton, {}, rect.center());
        QCOMPARE(log.selectedRow(), qsizetype(row));
        log.popupMenu()->hide();
        log.popupMenu()->actions().at(2)->trigger();

        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Czy na pewno usunąć zaznaczoną łączność?"));
        QCOMPARE(serial, serialAfter);
        QCOMPARE(view->model()->rowCount(), 2);
        QCOMPARE(f.folder.readLines(QStringLiteral("log.kvr")).size(), 2);
        bool anyDupe = false;
        for (const QString& line : f.session.log().lineTexts())
            anyDupe = anyDupe || QsoLine::isDupe(line);
        QCOMPARE(anyDupe, dupeLeft);
        QCOMPARE(log.windowTitle(), f.session.scoreSummary());
    }

    void columnTitlesStayWithinTheirColumns_data() {
        QTest::addColumn<qreal>("headerPoints"); // 0: the default font
        QTest::addColumn<int>("listPixels");     // 0: the default fixed-pitch font
        QTest::addColumn<bool>("wholeTitles");
        QTest::newRow("default fonts") << 0.0 << 0 << true;
        QTest::newRow("large window font is made smaller") << 20.0 << 0 << true;
        QTest::newRow("narrow list font elides the titles") << 0.0 << 3 << false;
    }
    void columnTitlesStayWithinTheirColumns() {
        QFETCH(qreal, headerPoints);
        QFETCH(int, listPixels);
        QFETCH(bool, wholeTitles);
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        auto* header = log.findChild<LogColumnHeader*>(QStringLiteral("columnHeader"));
        QVERIFY(header);
        if (headerPoints > 0) {
            QFont big = header->font();
            big.setPointSizeF(headerPoints);
            header->setFont(big);
        }
        QFont listFont = list(log)->font();
        if (listPixels > 0) {
            listFont.setPixelSize(listPixels);
            header->setColumnFont(listFont);
        }
        // Where the list draws each column of the QSO line.
        const qreal charWidth = QFontMetricsF(listFont).horizontalAdvance(QLatin1Char('0'));
        const QList<LogColumnHeader::Title>& titles = LogColumnHeader::titles();
        const LogColumnHeader::Layout layout = header->titleLayout();
        QCOMPARE(layout.titles.size(), titles.size());
        const QFontMetricsF drawn(layout.font);
        for (qsizetype i = 0; i + 1 < titles.size(); ++i) {
            const QString title = QString::fromUtf8(titles[i].text);
            const LogColumnHeader::PlacedTitle& placed = layout.titles[i];
            const qreal start = list(log)->frameWidth() + 3 + charWidth * (titles[i].column - 1);
            const qreal nextStart = list(log)->frameWidth() + 3 + charWidth * (titles[i + 1].column - 1);
            QCOMPARE(placed.x, start);
            QVERIFY2(placed.x + drawn.horizontalAdvance(placed.text) < nextStart, qPrintable(title));
            if (wholeTitles)
                QCOMPARE(placed.text, title);
        }
        if (headerPoints > 0)
            QVERIFY(layout.font.pointSizeF() < headerPoints);
    }

    void keysReturnToTheCallsignField() {
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        QSignalSpy focus(&log, &LogWindow::callsignFocusRequested);
        QSignalSpy escape(&log, &LogWindow::escapeToCallsign);
        showWithFocus(log, list(log));
        QTest::keyClick(list(log), Qt::Key_Home);
        QTest::keyClick(list(log), Qt::Key_W, Qt::AltModifier);
        QTest::keyClick(list(log), Qt::Key_Escape);
        QCOMPARE(focus.count(), 2);
        QCOMPARE(escape.count(), 1);
        QCOMPARE(log.selectedRow(), 2);
    }

    void newLogShowsItsNameAsCaption() {
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        const QString other = f.folder.file(QStringLiteral("nowy.kvr"));
        f.session.log().clearContacts();
        emit f.session.logReloaded();
        f.session.setLogPath(other);
        QCOMPARE(log.windowTitle(), QStringLiteral("Log ") + other);
        QCOMPARE(list(log)->model()->rowCount(), 0);
    }

    void logSavedUnderAnotherNameKeepsItsSummary() {
        SessionFixture f(threeQsos());
        LogWindow log(f.session);
        const QString other = f.folder.file(QStringLiteral("kopia.kvr"));
        f.dialogs.fileAnswers.push_back(other);
        QVERIFY(LogLifecycle(f.session).SaveLogAs(f.session.operatorData));
        QCOMPARE(log.windowTitle(), f.session.scoreSummary());
        QVERIFY(log.windowTitle().contains(QStringLiteral("kopia.kvr")));
        QVERIFY(log.windowTitle().contains(QStringLiteral("QSO:      3")));
    }

    void settingsRoundTrip() {
        SessionFixture f;
        {
            LogWindow log(f.session);
            log.move(120, 340);
            log.resize(658, 410);
            log.setBackgroundColour(0x00C0FFEE);
            IniFile settings(f.session.settingsPath());
            log.writeSettings(settings);
        }
        const IniFile settings(f.session.settingsPath());
        QCOMPARE(settings.readInteger(QStringLiteral("Log"), QStringLiteral("Wysokość"), 0), 410);
        QCOMPARE(settings.readInteger(QStringLiteral("Log"), QStringLiteral("Kolor tła"), 0), 0x00C0FFEE);
        LogWindow log(f.session);
        log.readSettings(settings);
        QCOMPARE(log.pos(), QPoint(120, 340));
        QCOMPARE(log.height(), 410);
        QCOMPARE(log.backgroundColour(), 0x00C0FFEE);
    }
};

QTEST_MAIN(TestLogWindow)
#include "tst_logwindow.moc"
