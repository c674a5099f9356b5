#include "loggedcallswindow.h"
#include "settings/inifile.h"
#include "testsupport.h"
#include "widgetdialogs.h"

#include <QApplication>
#include <QFontDialog>
#include <QTest>
#include <QTimer>

#include <tuple>

Q_DECLARE_METATYPE(FontSpec)

namespace {

FontSpec font(const QString& face, int size, bool bold, bool italic, bool underline = false, int charset = 1) {
    return {face, size, 0x800000, charset, bold, italic, underline, false};
}

} // namespace

class TestWidgetDialogs : public QObject {
    Q_OBJECT
private slots:
    // The real chooser opens on the stored style; OK without a change gives back the stored font (face and
    // script included), a new size keeps the style and the script.
    void fontChooserOpensOnTheStoredStyleAndOkKeepsTheFont_data() {
        QTest::addColumn<FontSpec>("stored");
        QTest::addColumn<int>("newSize"); // 0: OK without a change
        QTest::newRow("face missing here, bold") << font("Arial", 10, true, false) << 0;
        QTest::newRow("face missing here, regular") << font("Arial", 9, false, false) << 0;
        QTest::newRow("regular of a family without a style named Normal") << font("DejaVu Sans", 11, false, false) << 0;
        QTest::newRow("slanted family, bold italic") << font("DejaVu Sans", 12, true, true) << 0;
        QTest::newRow("italic underlined, Central European") << font("Courier New", 10, false, true, true, 238) << 0;
        QTest::newRow("new size, bold Central European") << font("Arial", 10, true, false, false, 238) << 14;
    }
    void fontChooserOpensOnTheStoredStyleAndOkKeepsTheFont() {
        QFETCH(FontSpec, stored);
        QFETCH(int, newSize);
        QFont opened;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            opened = dialog->currentFont();
            if (newSize > 0) {
                QFont larger = opened;
                larger.setPointSize(newSize);
                dialog->setCurrentFont(larger);
            }
            dialog->accept();
        });
        const std::optional<FontSpec> chosen = WidgetDialogs().chooseFont(stored);
        QVERIFY(chosen);
        QVERIFY(std::tuple(opened.bold(), opened.italic(), opened.underline(), opened.pointSize()) ==
                std::tuple(stored.bold, stored.italic, stored.underline, stored.pointSize));
        FontSpec expected = stored;
        if (newSize > 0) {
            expected.pointSize = newSize;
            expected.face = chosen->face; // the face the chooser offered for a missing one
        }
        QVERIFY(*chosen == expected);
        QVERIFY2(!chosen->face.contains(QLatin1Char('[')), qPrintable(chosen->face));
    }

    void listWindowWritesBackItsFontUnchanged() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"),
                                               "[Zalogowane]\r\nCzcionka=Arial\r\nRozmiar czcionki=10\r\n"
                                               "Kolor czcionki=128\r\nSkrypt=238\r\nStyl czcionki=pogrubienie\r\n");
        LoggedCallsWindow window, again;
        window.readSettings(IniFile(path));
        QCOMPARE(window.layout().listFont().charset, 238);
        {
            IniFile settings(path);
            window.writeSettings(settings);
        }
        again.readSettings(IniFile(path));
        QVERIFY(again.layout().listFont() == window.layout().listFont());
    }
};

QTEST_MAIN(TestWidgetDialogs)
#include "tst_widgetdialogs.moc"
