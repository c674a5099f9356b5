// Prints what a keystroke in the callsign field costs with no radio, with a radio behind a rigctld that accepts
// the connection and never answers, and with hamlib's dummy radio behind a real rigctld; and the longest the
// window's event loop went without turning while the radio was polled. The window must not wait on the radio.
#include "entrywindow.h"
#include "entrywindowrig.h"
#include "log/logsession.h"
#include "loggenerator.h"
#include "platform/clock.h"
#include "rigctldprocess.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

QString randomCall(QRandomGenerator& random) {
    static const char* prefixes[] = {"SP", "SQ", "SN", "DL", "OK", "OM", "G", "HA", "YO", "UR", "LY"};
    QString call = QString::fromLatin1(prefixes[random.bounded(int(std::size(prefixes)))]);
    call += QChar(u'0' + random.bounded(10));
    for (int i = 0, letters = 1 + random.bounded(3); i < letters; ++i)
        call += QChar(u'A' + random.bounded(26));
    return call;
}

// Runs the event loop for this long, measuring the longest time between two turns of a 1 ms timer.
double longestGapMs(int forMs) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    QEventLoop loop;
    QTimer::singleShot(forMs, &loop, &QEventLoop::quit);
    loop.exec();
    return double(longest) / 1e6;
}

void run(const char* name, const QString& folderPath, const QString& radio, int calls) {
    QFile::remove(folderPath + QStringLiteral("/kvr_log.ini"));
    QFile settings(folderPath + QStringLiteral("/kvr_log.ini"));
    settings.open(QIODevice::WriteOnly);
    settings.write((QStringLiteral("[Program]\r\nCzas UTC manualny=1\r\nPasmo=20M\r\n") + radio).toUtf8());
    settings.close();

    ScriptedDialogs dialogs;
    SystemClock clock;
    LogSession session(ProgramFolder(folderPath), dialogs, clock);
    auto owned = std::make_unique<EntryWindow>(session);
    EntryWindow& window = *owned;
    auto* rig = new EntryWindowRig(window, session);
    if (!window.startUp())
        return;
    window.show();
    rig->start();
    // Let the radio connect (or hang) before measuring.
    const double idleGap = longestGapMs(2000);

    auto* call = window.findChild<QLineEdit*>(QStringLiteral("callsignEdit"));
    call->setFocus();
    QRandomGenerator random(20260314);
    std::vector<qint64> each;
    QElapsedTimer timer;
    for (int i = 0; i < calls; ++i) {
        const QString text = randomCall(random);
        for (const QChar c : text) {
            timer.start();
            QTest::keyClick(call, c.toLatin1());
            each.push_back(timer.nsecsElapsed());
            // What the radio sent meanwhile is handled between keystrokes, as in the window's own loop.
            QCoreApplication::processEvents();
        }
        call->clear();
    }
    std::sort(each.begin(), each.end());
    double sum = 0;
    for (const qint64 ns : each)
        sum += double(ns);
    const QString status =
        rig->control().statusText().isEmpty() ? QStringLiteral("no radio") : rig->control().statusText();
    // After the window has closed, the radio's call in progress ends before the program does.
    window.close();
    timer.start();
    owned.reset();
    const double endMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%-34s keystrokes %zu: mean %6.1f us, median %6.1f us, 99th %6.1f us, worst %7.1f us; "
                "event loop's longest gap %5.1f ms; ended in %6.1f ms after closing; %s\n",
                name, each.size(), sum / double(each.size()) / 1e3, double(each[each.size() / 2]) / 1e3,
                double(each[each.size() * 99 / 100]) / 1e3, double(each.back()) / 1e3, idleGap, endMs,
                qPrintable(status));
    // A message means something failed, and the figures above do not count.
    for (const QString& text : dialogs.texts())
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int contacts = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int calls = argc > 2 ? std::max(1, atoi(argv[2])) : 500;
    QTemporaryDir dir;
    QFile::copy(QStringLiteral(KVR_COUNTY_FILE), dir.filePath(QStringLiteral("powiaty.txt")));
    LogGenerator::write(dir.filePath(QStringLiteral("log.kvr")), contacts);
    std::printf("log: %d contacts; %d callsigns typed in each case; radio polled every 100 ms\n", contacts, calls);

    run("no radio", dir.path(), QString(), calls);

    // Accepts every connection and never says a word: each call to the radio waits out hamlib's timeout.
    QTcpServer silent;
    silent.listen(QHostAddress::LocalHost, 0);
    run("rigctld that never answers", dir.path(),
        QStringLiteral("[Radio]\r\nPolaczenie=2\r\nRigctld=127.0.0.1:%1\r\nOdpytywanie=100\r\nTryb=1\r\n")
            .arg(silent.serverPort()),
        calls);

    QString reason;
    if (RigctldProcess::available(&reason)) {
        RigctldProcess rigctld;
        if (rigctld.start()) {
            run("hamlib dummy radio through rigctld", dir.path(),
                QStringLiteral("[Radio]\r\nPolaczenie=2\r\nRigctld=%1\r\nOdpytywanie=100\r\nTryb=1\r\n")
                    .arg(rigctld.address()),
                calls);
        }
    } else {
        std::printf("%s\n", qPrintable(reason));
    }
    return 0;
}
