// Prints what a keystroke in the callsign field and an added contact cost on a 100,000-contact log.
#include "core/bands.h"
#include "core/logfile.h"
#include "core/qsoline.h"
#include "core/textfile.h"
#include "entry/entrysession.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "scripteddialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString randomCall(QRandomGenerator& random) {
    static const char* prefixes[] = {"SP", "SQ", "SN", "SO", "DL", "OK", "OM", "G", "F", "I", "HA", "YO", "UR", "LY"};
    QString call = QString::fromLatin1(prefixes[random.bounded(int(std::size(prefixes)))]);
    call += QChar(u'0' + random.bounded(10));
    const int letters = 1 + random.bounded(3);
    for (int i = 0; i < letters; ++i)
        call += QChar(u'A' + random.bounded(26));
    return call;
}

double micros(qint64 nanos) {
    return double(nanos) / 1000.0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int contacts = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    QTemporaryDir dir;
    QFile::copy(QStringLiteral(KVR_COUNTY_FILE), dir.filePath(QStringLiteral("powiaty.txt")));

    QRandomGenerator random(20260314);
    QStringList lines;
    QStringList calls;
    const QStringList bands = Bands::selectorList(false);
    QDateTime when(QDate(2026, 3, 14), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < contacts; ++i) {
        const QString call = randomCall(random);
        calls.append(call);
        when = when.addSecs(1 + random.bounded(20));
        const bool cw = random.bounded(2) == 0;
        lines.append(QsoLine::compose({when.date().toString(QStringLiteral("yyyy-MM-dd")),
                                       when.time().toString(QStringLiteral("hh:mm:ss")),
                                       Band::fromName(bands.at(random.bounded(6))), cw ? Mode::cw() : Mode::phone(),
                                       cw ? QStringLiteral("599") : QStringLiteral("59"), QString::number(i + 1),
                                       QString(), call, QStringLiteral("599"), QStringLiteral("012GW")}));
    }
    const QString logPath = dir.filePath(QStringLiteral("log.kvr"));
    TextFile::writeLines(logPath, lines);

    ScriptedDialogs dialogs;
    SystemClock clock;
    LogSession session(ProgramFolder(dir.path()), dialogs, clock);
    EntrySession entry(session);
    QElapsedTimer timer;
    timer.start();
    entry.loadFor(logPath);
    session.analysis.enabled = true;
    session.setBand(QStringLiteral("20M"));
    session.setMode(QStringLiteral("CW"));
    std::printf("log: %lld contacts, loaded in %.1f ms\n", session.log().size(), double(timer.nsecsElapsed()) / 1e6);

    // Keystrokes: each prefix of 2,000 callsigns (worked and new) as the operator types them.
    qint64 checkTotal = 0, suggestTotal = 0;
    std::vector<qint64> each;
    int keystrokes = 0;
    for (int i = 0; i < 2000; ++i) {
        const QString call = i % 2 ? calls.at(random.bounded(calls.size())) : randomCall(random);
        for (int n = 1; n <= call.size(); ++n) {
            const QStringView typed = QStringView(call).left(n);
            timer.restart();
            entry.checkCall(typed);
            const qint64 afterCheck = timer.nsecsElapsed();
            const QStringList suggestions = entry.loggedCallSuggestions(typed);
            const qint64 total = timer.nsecsElapsed();
            checkTotal += afterCheck;
            suggestTotal += total - afterCheck;
            each.push_back(total);
            ++keystrokes;
        }
    }
    std::sort(each.begin(), each.end());
    std::printf("keystroke (%d): worked-before check + row selection %.2f us, logged-calls suggestions %.2f us, "
                "total %.2f us average, median %.1f us, 99th percentile %.1f us, worst %.1f us\n",
                keystrokes, micros(checkTotal / keystrokes), micros(suggestTotal / keystrokes),
                micros((checkTotal + suggestTotal) / keystrokes), micros(each[each.size() / 2]),
                micros(each[each.size() * 99 / 100]), micros(each.back()));

    // Adding contacts: the whole operation, then its file steps one by one on the same log.
    const int adds = 10;
    qint64 addTotal = 0;
    for (int i = 0; i < adds; ++i) {
        EntryForm form;
        form.call = randomCall(random);
        form.srx = QStringLiteral("012GW");
        form.rstSent = form.rstRcvd = QStringLiteral("599");
        form.stx = QString::number(contacts + i);
        const QDateTime utc = when.addSecs(60 * (i + 1));
        form.date = utc.date().toString(QStringLiteral("yyyy-MM-dd"));
        form.time = utc.time().toString(QStringLiteral("hh:mm:ss"));
        timer.restart();
        const AddQsoResult result = entry.addQso(form);
        addTotal += timer.nsecsElapsed();
        if (!result.added())
            return 1;
    }
    timer.restart();
    LogFile(logPath).keepPrevious();
    const qint64 tilde = timer.nsecsElapsed();
    timer.restart();
    LogFile(logPath).append({session.log().line(session.log().size() - 1)});
    const qint64 append = timer.nsecsElapsed();
    timer.restart();
    TemporaryBackups backups(5);
    backups.write(session.folder(), session.log().fileBytes());
    const qint64 backup = timer.nsecsElapsed();
    std::printf("add QSO (%d): %.2f ms average; of one add: \"~\" copy %.2f ms, append with fsync %.2f ms, "
                "temporary backup %.2f ms\n",
                adds, double(addTotal / adds) / 1e6, double(tilde) / 1e6, double(append) / 1e6, double(backup) / 1e6);
    // A message means something failed, and the figures above do not count.
    for (const QString& text : dialogs.texts())
        std::fprintf(stderr, "%s\n", qPrintable(text));
    return 0;
}
