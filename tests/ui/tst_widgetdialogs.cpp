#include "loggedcallswindow.h"
#include "settings/inifile.h"
#include "testsupport.h"
#include "widgetdialogs.h"

#include <QApplication>
#include <QFontDialog>
#include <QTest>
#include <QTimer>

#include <functional>

Q_DECLARE_METATYPE(FontSpec)

namespace {

FontSpec font(const QString& face, int size, bool bold, bool italic, bool underline = false, int charset = 1) {
    FontSpec spec;
    spec.face = face;
    spec.pointSize = size;
    spec.colour = 0x800000;
    spec.charset = charset;
    spec.bold = bold;
    spec.italic = italic;
    spec.underline = underline;
    return spec;
}

// Runs the real font chooser: once it is up, `act` gets it (what it opened on, a change to make) and then it
// is closed with OK.
std::optional<FontSpec> chooseWithRealDialog(const FontSpec& current, const std::function<void(QFontDialog&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
        dialog->accept();
    });
    WidgetDialogs dialogs;
    return dialogs.chooseFont(current);
}

} // namespace

class TestWidgetDialogs : public QObject {
    Q_OBJECT
private slots:
    void fontChooserOpensOnTheStoredStyleAndOkKeepsTheFont_data() {
        QTest::addColumn<FontSpec>("stored");
        QTest::newRow("face missing here, bold") << font("Arial", 10, true, false);
        QTest::newRow("face missing here, regular") << font("Arial", 9, false, false);
        QTest::newRow("regular of a family without a style named Normal") << font("DejaVu Sans", 11, false, false);
        QTest::newRow("slanted family, bold italic") << font("DejaVu Sans", 12, true, true);
        QTest::newRow("italic underlined, Central European script") << font("Courier New", 10, false, true, true, 238);
    }
    void fontChooserOpensOnTheStoredStyleAndOkKeepsTheFont() {
        QFETCH(FontSpec, stored);
        QFont opened;
        const std::optional<FontSpec> chosen =
            chooseWithRealDialog(stored, [&opened](QFontDialog& dialog) { opened = dialog.currentFont(); });
        QVERIFY(chosen);
        QCOMPARE(opened.bold(), stored.bold);
        QCOMPARE(opened.italic(), stored.italic);
        QCOMPARE(opened.underline(), stored.underline);
        QCOMPARE(opened.pointSize(), stored.pointSize);
        // OK without a change gives back the font as stored, face and script included.
        QVERIFY(*chosen == stored);
    }

    void newSizeKeepsStyleAndScript() {
        const FontSpec stored = font("Arial", 10, true, false, false, 238);
        const std::optional<FontSpec> chosen = chooseWithRealDialog(stored, [](QFontDialog& dialog) {
            QFont larger = dialog.currentFont();
            larger.setPointSize(14);
            dialog.setCurrentFont(larger);
        });
        QVERIFY(chosen);
        QCOMPARE(chosen->pointSize, 14);
        QVERIFY(chosen->bold);
        QVERIFY(!chosen->italic);
        QCOMPARE(chosen->charset, 238);
        QCOMPARE(chosen->colour, stored.colour);
        QVERIFY2(!chosen->face.contains(QLatin1Char('[')), qPrintable(chosen->face));
    }

    void listWindowWritesBackItsFontUnchanged() {
        TempProgramFolder folder;
        const QByteArray section = "[Zalogowane]\r\nCzcionka=Arial\r\nRozmiar czcionki=10\r\nKolor czcionki=128\r\n"
                                   "Skrypt=238\r\nStyl czcionki=pogrubienie\r\n";
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"), section);
        LoggedCallsWindow window;
        window.readSettings(IniFile(path));
        QVERIFY(chooseWithRealDialog(window.layout().listFont(), [](QFontDialog&) {}));
        {
            IniFile settings(path);
            window.writeSettings(settings);
        }
        const IniFile written(path);
        QCOMPARE(written.readString("Zalogowane", "Czcionka", ""), QStringLiteral("Arial"));
        QCOMPARE(written.readInteger("Zalogowane", "Rozmiar czcionki", 0), 10);
        QCOMPARE(written.readInteger("Zalogowane", "Kolor czcionki", 0), 128);
        QCOMPARE(written.readInteger("Zalogowane", "Skrypt", 0), 238);
        QCOMPARE(written.readString("Zalogowane", "Styl czcionki", "?"), QStringLiteral("pogrubienie"));
    }
};

QTEST_MAIN(TestWidgetDialogs)
#include "tst_widgetdialogs.moc"
