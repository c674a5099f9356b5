#include "entrywindow.h"
#include "helpwindow.h"
#include "log/logsession.h"
#include "scripteddialogs.h"
#include "testclock.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

// The page as the build puts it beside the program.
const QString kShippedPage = QStringLiteral(KVR_BIN_DIR "/KVR_Log.html");

QString shippedPageSource() {
    QFile page(kShippedPage);
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

// One h2 section of the page's source, from its heading up to the next one.
QString sectionSource(const QString& id) {
    const QString page = shippedPageSource();
    const qsizetype start = page.indexOf(QStringLiteral("<h2 id=\"%1\"").arg(id));
    if (start < 0)
        return {};
    const qsizetype end = page.indexOf(QStringLiteral("<h2"), start + 1);
    return page.mid(start, end < 0 ? -1 : end - start);
}

// The first capture of every match, with its line breaks and runs of blanks made single blanks.
QStringList captures(const QString& text, const QString& pattern) {
    QStringList found;
    for (auto it = QRegularExpression(pattern).globalMatch(text); it.hasNext();)
        found << it.next().captured(1).simplified();
    return found;
}

// Whether a heading of the shown page is in view; its anchor or its title picks it.
bool headingInView(QTextBrowser* page, const QString& anchorOrTitle) {
    for (QTextBlock block = page->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        bool named = block.text().simplified() == anchorOrTitle;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            named = named || fragment.fragment().charFormat().anchorNames().contains(anchorOrTitle);
        if (!named)
            continue;
        const double middle = page->document()->documentLayout()->blockBoundingRect(block).center().y();
        const int top = page->verticalScrollBar()->value();
        return middle >= top && middle <= top + page->viewport()->height();
    }
    return false;
}

const char* const kBrowserSchemes[] = {"file", "http", "https"};

// Stands in for the desktop's web browser: anything handed to it is recorded, nothing is opened.
class DesktopBrowser : public QObject {
    Q_OBJECT
public:
    DesktopBrowser() {
        for (const char* scheme : kBrowserSchemes)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "openUrl");
    }
    ~DesktopBrowser() override {
        for (const char* scheme : kBrowserSchemes)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

public slots:
    void openUrl(const QUrl& url) { opened << url; }
};

// An entry window on a fresh program folder whose "Plik pomocy" shows the page given.
struct Window {
    explicit Window(const QString& helpPage = kShippedPage) {
        form.setHelpPagePath(helpPage);
        form.show();
    }
    HelpWindow* openHelp() {
        form.findChild<QAction*>(QStringLiteral("actionHelpFile"))->trigger();
        HelpWindow* help = form.findChild<HelpWindow*>();
        if (help) {
            help->resize(800, 360);
            if (!QTest::qWaitForWindowExposed(help))
                return nullptr;
        }
        return help;
    }

    DesktopBrowser browser;
    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 5))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};
    EntryWindow form{session};
};

template <typename T> T* child(QWidget* parent, const char* name) {
    return parent->findChild<T*>(QLatin1String(name));
}

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void menuShowsThePageInsideTheProgram() {
        Window w;
        HelpWindow* help = w.openHelp();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("KVR Log – pomoc"));
        // Read as UTF-8: the Polish letters arrive whole. The page opens at its top, above the first section.
        auto* page = child<QTextBrowser>(help, "pageBrowser");
        QVERIFY(page->toPlainText().contains(QStringLiteral("Wprowadzanie łączności off-line")));
        QCOMPARE(page->verticalScrollBar()->value(), 0);
        QVERIFY(w.browser.opened.isEmpty());
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void openingAgainBringsBackTheSameWindow() {
        Window w;
        HelpWindow* first = w.openHelp();
        QVERIFY(first);
        first->close();
        QVERIFY(!first->isVisible());
        QCOMPARE(w.openHelp(), first);
        QVERIFY(first->isVisible());
        QCOMPARE(w.form.findChildren<HelpWindow*>().size(), 1);
    }

    void contentsJumpToEachTopic_data() {
        QTest::addColumn<QString>("title");
        for (const char* title :
             {"Klawisze okna wpisywania", "Polecenia wpisywane w polu znaku", "Wprowadzanie łączności off-line",
              "Bufory CW i makra", "Edycja buforów", "Konfiguracja programu (klucz CW)",
              "Analiza odebranej grupy kontrolnej", "Eksport i import logu", "Definicje zawodów", "Pliki programu"})
            QTest::newRow(title) << QString::fromUtf8(title);
    }
    void contentsJumpToEachTopic() {
        QFETCH(QString, title);
        Window w;
        HelpWindow* help = w.openHelp();
        QVERIFY(help);
        auto* contents = child<QTreeWidget>(help, "contentsTree");
        auto* page = child<QTextBrowser>(help, "pageBrowser");
        const QList<QTreeWidgetItem*> items = contents->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(items.size(), 1);
        // Start at the end of the page that leaves the heading out of view.
        QScrollBar* scroll = page->verticalScrollBar();
        scroll->setValue(scroll->minimum());
        if (headingInView(page, title))
            scroll->setValue(scroll->maximum());
        QVERIFY(!headingInView(page, title));

        contents->scrollToItem(items.first());
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(items.first()).center());
        QVERIFY(headingInView(page, title));
    }

    void linksWithinThePageLeadToTheirSection() {
        const QString source = shippedPageSource();
        const QStringList targets = captures(source, QStringLiteral("href=\"#([^\"]+)\""));
        const QStringList headings = captures(source, QStringLiteral("<h[1-6] id=\"([^\"]+)\""));
        QVERIFY(!targets.isEmpty());
        for (const QString& target : targets)
            QVERIFY2(headings.contains(target), qPrintable(target));

        Window w;
        HelpWindow* help = w.openHelp();
        QVERIFY(help);
        auto* page = child<QTextBrowser>(help, "pageBrowser");
        QTextCursor link;
        for (QTextBlock block = page->document()->begin(); block.isValid() && link.isNull(); block = block.next())
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
                if (fragment.fragment().charFormat().anchorHref() == QLatin1String("#offline")) {
                    link = QTextCursor(page->document());
                    link.setPosition(fragment.fragment().position() + 1);
                    break;
                }
        QVERIFY(!link.isNull());
        page->setTextCursor(link);
        page->ensureCursorVisible();
        QVERIFY(!headingInView(page, QStringLiteral("offline")));

        QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, page->cursorRect(link).center());
        QVERIFY(headingInView(page, QStringLiteral("offline")));
        QVERIFY(w.browser.opened.isEmpty());
    }

    // A key taken out of the key table, or renamed there, fails its row.
    void everyEntryWindowKeyIsInTheKeyTable_data() {
        QTest::addColumn<QString>("key");
        const std::pair<const char*, const char*> keys[] = {
            {"Enter", "Enter"},       {"Space", "Spacja"},  {"Ctrl+Space", "Ctrl+Spacja"},
            {"Alt+F1", "Alt+F1"},     {"Alt+F2", "Alt+F2"}, {"Ctrl+F1", "Ctrl+F1"},
            {"Ctrl+F2", "Ctrl+F2"},   {"Alt+B", "Alt+B"},   {"Alt+M", "Alt+M"},
            {"Alt+T", "Alt+T"},       {"Ctrl+T", "Ctrl+T"}, {"Alt+F9", "Alt+F9"},
            {"Alt+F10", "Alt+F10"},   {"F1", "F1"},         {"F10", "F10"},
            {"Insert", "Insert"},     {"numpad +", "+"},    {"F11", "F11"},
            {"F12", "F12"},           {"Esc", "Esc"},       {"PageUp", "PageUp"},
            {"PageDown", "PageDown"},
        };
        for (const auto& [tag, shown] : keys)
            QTest::newRow(tag) << QString::fromUtf8(shown);
    }
    void everyEntryWindowKeyIsInTheKeyTable() {
        QFETCH(QString, key);
        const QString table = sectionSource(QStringLiteral("klawisze"));
        const QStringList keyColumn = captures(table, QStringLiteral("<tr><td>(.*?)</td>"));
        QVERIFY(!keyColumn.isEmpty());
        QVERIFY2(captures(keyColumn.join(u' '), QStringLiteral("<kbd>([^<]+)</kbd>")).contains(key), qPrintable(key));
    }

    // The help names menu items by their captions in quotes; each must be one the operator can find.
    void menuItemsNamedInTheHelpAreInTheMenus() {
        Window w;
        QStringList captions;
        for (const QAction* action : w.form.findChildren<QAction*>())
            captions << action->text();
        const QStringList named = captures(sectionSource(QStringLiteral("menu")), QStringLiteral("„([^”]+)”"));
        QVERIFY(named.size() > 20);
        for (const QString& item : named)
            QVERIFY2(captions.contains(item), qPrintable(item));
    }

    void pageThatCannotBeReadIsReportedAndNothingOpens_data() {
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << false << QStringLiteral("Plik pomocy:\n%1\nnie został znaleziony.");
        QTest::newRow("folder in its place") << true << QStringLiteral("Nie można otworzyć pliku pomocy:\n%1");
    }
    void pageThatCannotBeReadIsReportedAndNothingOpens() {
        QFETCH(bool, folderInItsPlace);
        QFETCH(QString, message);
        TempProgramFolder elsewhere(false);
        const QString path = elsewhere.file(QStringLiteral("KVR_Log.html"));
        if (folderInItsPlace)
            QVERIFY(QDir().mkdir(path));
        Window w(path);

        QVERIFY(!w.openHelp());
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages.first().title, QStringLiteral("Błąd"));
        QCOMPARE(w.dialogs.lastText(), message.arg(path));
        QVERIFY(w.browser.opened.isEmpty());
    }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
