#include "applicationwindows.h"
#include "entrywindow.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "platform/programversion.h"
#include "platform/terminationsignals.h"
#include "realtimekitclient.h"
#include "translations.h"
#include "widgetdialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVR Log"));
    QApplication::setApplicationVersion(programVersion());
    // The desktop entry kvrlog.desktop: its icon and name for the program's windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("kvrlog"));
    installPolishTranslations(app);
    QStringList args = QApplication::arguments().mid(1);
    const ProgramFolderChoice folder =
        ProgramFolder::resolve(args, ProgramPlaces::forExecutable(QApplication::applicationDirPath()));

    // The keyer's sender thread asks the desktop's RealtimeKit for real-time scheduling when the program may not
    // take it itself; declared before the windows, so it outlives their sender threads.
    RealtimeKitClient realtimeKit;
    SenderScheduler::process().setRealtimeKit(&realtimeKit);
    WidgetDialogs dialogs;
    SystemClock clock;
    LogSession session(folder.folder, dialogs, clock);
    ApplicationWindows windows(session);
    dialogs.setParent(windows.entryWindow());
    // A logout, a shutdown or a kill closes the program as the operator would, so nothing changed during the
    // contest is lost and the transmitter is not left keyed. Watched from before the start-up: a request that comes
    // during it is handled as soon as the event loop runs.
    TerminationSignals termination;
    bool closed = false;
    const auto closeAsOperatorWould = [&windows, &closed] {
        closed = true;
        if (EntryWindow* main = windows.entryWindow(); main && main->isVisible())
            main->close();
        QApplication::quit();
    };
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app, closeAsOperatorWould);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, closeAsOperatorWould);
    if (!windows.startUp())
        return 1;
    // Closed from a dialog of the start-up: the event loop would never end.
    if (closed)
        return 0;
    folder.tellOperator(dialogs);
    return app.exec();
}
