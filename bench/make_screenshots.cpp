// Screenshots for the README: the program on the demo log, drawn offscreen, every window where the first start
// puts it on a 1280x800 screen. Usage: make_screenshots OUTDIR
#include "applicationwindows.h"
#include "buffereditordialog.h"
#include "callsuggestionswindow.h"
#include "entrywindow.h"
#include "keyer/morseengine.h"
#include "keyerpanel.h"
#include "keyersettingsdialog.h"
#include "log/logsession.h"
#include "logwindow.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "scripteddialogs.h"
#include "settings/windowsettings.h"
#include "testsupport.h"
#include "translations.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <cstdio>

namespace {

// A window as the desktop shows it: a plain title bar over the window's own drawing.
QImage framed(QWidget* window) {
    const QPixmap inside = window->grab();
    const int bar = 24;
    QImage image(inside.width() + 2, inside.height() + bar + 1, QImage::Format_RGB32);
    image.fill(QColor(0x3C, 0x3F, 0x46));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, image.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft, window->windowTitle());
    painter.drawPixmap(1, bar, inside);
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_screenshots OUTDIR\n");
        return 2;
    }
    installPolishTranslations(app);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    TempProgramFolder folder;
    QFile::copy(QStringLiteral(KVR_SOURCE_DIR "/data/demo.kvr"), folder.file(QStringLiteral("log.kvr")));
    const QString master = folder.writeLines(
        QStringLiteral("master.txt"), {"SP9ABC", "SP9ABD", "SP9ACE", "SP9ADX", "SP9AJK", "SP9AKW", "SP9AMH", "SP9ANT"});
    folder.writeBytes(QStringLiteral("kvr_log.ini"),
                      QStringLiteral("[Program]\r\nPasmo=80M\r\nEmisja=CW\r\n[Analiza grupy]\r\nOpcja=Powiat\r\n"
                                     "Analiza=1\r\n[Widok]\r\nPodpowiedzi=1\r\nLog=1\r\n[Master]\r\nPlik=%1\r\n")
                          .arg(master)
                          .toUtf8());

    ScriptedDialogs dialogs;
    SystemClock clock;
    LogSession session(ProgramFolder(folder.path()), dialogs, clock);
    ApplicationWindows windows(session);
    if (!windows.startUp()) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    EntryWindow* entry = windows.entryWindow();
    entry->restoreWindowsOnFirstActivation();
    auto* call = entry->findChild<QLineEdit*>(QStringLiteral("callsignEdit"));
    call->setFocus();
    QTest::keyClicks(call, QStringLiteral("SP9A"));
    entry->setHelpPagePath(QStringLiteral(KVR_SOURCE_DIR "/data/KVR_Log.html"));
    entry->findChild<QAction*>(QStringLiteral("actionHelpFile"))->trigger();
    QApplication::processEvents();

    // The desktop: every window where the first start puts it on a 1280x800 screen.
    const QRect screen(0, 0, 1280, 800);
    const QImage main = framed(entry);
    QList<QWidget*> others = {windows.logWindow(), windows.callSuggestionsWindow()};
    QList<QImage> images;
    QList<QSize> sizes;
    for (QWidget* window : others) {
        images.append(framed(window));
        sizes.append(images.last().size());
    }
    const QList<QRect> places = layoutBesideEntryWindow(QRect(QPoint(0, 0), main.size()), sizes, screen);
    QImage desktop(screen.size(), QImage::Format_RGB32);
    desktop.fill(QColor(0x2B, 0x57, 0x7A));
    QPainter painter(&desktop);
    painter.drawImage(0, 0, main);
    for (qsizetype i = 0; i < images.size(); ++i)
        painter.drawImage(places[i].topLeft(), images[i]);
    painter.end();

    bool saved = desktop.save(out.filePath(QStringLiteral("desktop.png")));
    saved &= main.save(out.filePath(QStringLiteral("entry-window.png")));
    saved &= images[0].save(out.filePath(QStringLiteral("log-window.png")));
    saved &= images[1].save(out.filePath(QStringLiteral("call-suggestions.png")));
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->objectName() == QLatin1String("HelpWindow")) {
            top->resize(900, 640);
            QApplication::processEvents();
            saved &= framed(top).save(out.filePath(QStringLiteral("help-window.png")));
        }
    }
    KeyerSettingsDialog* keyer = windows.keyerSettings();
    keyer->show();
    QApplication::processEvents();
    saved &= framed(keyer).save(out.filePath(QStringLiteral("keyer-settings.png")));
    keyer->hide();
    BufferEditorDialog editor(session, nullptr, entry);
    editor.editBuffer(2, windows.keyer()->engine().buffers().at(2));
    editor.show();
    QApplication::processEvents();
    saved &= framed(&editor).save(out.filePath(QStringLiteral("buffer-editor.png")));
    std::printf("%s\n", saved ? qPrintable(out.path()) : "a screenshot could not be written");
    return saved ? 0 : 1;
}
