// PartialSearch for 2-6 character patterns on a database of the real super-check-partial list (about 85,000
// callsigns), and one keystroke in the callsign field: the dupe check against 100,000 worked keys, the
// suggestions from the database or from the 85,000-entry text list, and drawing the suggestion window.
#include "callsuggestionswindow.h"
#include "core/bands.h"
#include "core/modes.h"
#include "core/qsoline.h"
#include "dtawriter.h"
#include "log/logsession.h"
#include "lookup/mastercalldb.h"
#include "lookup/masterselection.h"
#include "lookup/textmasterfile.h"
#include "platform/clock.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString kReadyList = QStringLiteral("/usr/share/hamradio-files/MASTER.SCP");

// Callsign-like strings for a machine without the list: prefix, area digit, two or three letters.
QStringList generatedCalls(int count) {
    static const char* const prefixes[] = {"SP", "SQ", "SN", "SO", "DL", "DK", "OK", "OM", "G",  "M",  "F",  "I",
                                           "K",  "W",  "N",  "VE", "JA", "UA", "HA", "YO", "LZ", "S5", "9A", "EA"};
    QRandomGenerator random(4711);
    QStringList calls;
    while (calls.size() < count) {
        QString call = QString::fromLatin1(prefixes[random.bounded(int(std::size(prefixes)))]);
        call += QChar('0' + random.bounded(10));
        const int letters = 1 + random.bounded(3);
        for (int i = 0; i < letters; ++i)
            call += QChar('A' + random.bounded(26));
        calls.append(call);
    }
    calls.removeDuplicates();
    return calls;
}

struct Timing {
    double meanUs = 0;
    double p99Us = 0;
    double maxUs = 0;
};

Timing measure(const QStringList& inputs, const std::function<void(const QString&)>& run) {
    QElapsedTimer timer;
    Timing timing;
    std::vector<double> times;
    double total = 0;
    for (const QString& input : inputs) {
        timer.start();
        run(input);
        const double us = double(timer.nsecsElapsed()) / 1000.0;
        total += us;
        times.push_back(us);
    }
    if (times.empty())
        return timing;
    std::sort(times.begin(), times.end());
    timing.meanUs = total / double(times.size());
    timing.p99Us = times[times.size() * 99 / 100];
    timing.maxUs = times.back();
    return timing;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    QStringList calls;
    QString listPath = kReadyList;
    if (QFile::exists(kReadyList)) {
        calls = DtaWriter::readCallList(kReadyList);
        std::printf("list: %s, %lld callsigns\n", qPrintable(kReadyList), static_cast<long long>(calls.size()));
    } else {
        calls = generatedCalls(85000);
        listPath = dir.filePath(QStringLiteral("generated.txt"));
        QFile out(listPath);
        if (out.open(QIODevice::WriteOnly))
            out.write(calls.join(QLatin1Char('\n')).toLatin1());
        std::printf("NOTE: %s is not installed (Debian package hamradio-files); using %lld generated callsigns "
                    "instead, so the figures are only indicative\n",
                    qPrintable(kReadyList), static_cast<long long>(calls.size()));
    }

    QElapsedTimer timer;
    const QString dta = dir.filePath(QStringLiteral("master.dta"));
    timer.start();
    DtaWriter::write(dta, calls);
    std::printf("database written: %lld bytes in %lld ms\n", static_cast<long long>(QFileInfo(dta).size()),
                static_cast<long long>(timer.elapsed()));
    MasterCallDatabase db;
    timer.start();
    if (!db.LoadDatabase(dta)) {
        std::printf("load failed\n");
        return 1;
    }
    std::printf("LoadDatabase: %.2f ms\n\n", double(timer.nsecsElapsed()) / 1e6);

    // Patterns cut from random callsigns of the list, as an operator types them.
    QRandomGenerator random(1234);
    std::printf("%-8s %9s %9s %9s %9s %12s\n", "pattern", "searches", "mean us", "p99 us", "max us", "mean results");
    for (int length = 2; length <= 6; ++length) {
        QStringList patterns;
        while (patterns.size() < 2000) {
            const QString& call = calls.at(random.bounded(int(calls.size())));
            if (call.size() >= length)
                patterns.append(call.mid(random.bounded(int(call.size()) - length + 1), length));
        }
        qint64 results = 0;
        const Timing timing = measure(patterns, [&](const QString& pattern) {
            db.PartialSearch(pattern);
            results += db.results().size();
        });
        std::printf("%-8d %9lld %9.1f %9.1f %9.1f %12.1f\n", length, static_cast<long long>(patterns.size()),
                    timing.meanUs, timing.p99Us, timing.maxUs, double(results) / double(patterns.size()));
    }
    // The largest block of the file: the slowest two-character search there is.
    QString worstPair;
    qint64 worstUs = 0;
    for (const char* pair : {"K1", "K4", "W1", "N4", "K5", "W5", "DL", "SP", "JA", "G4"}) {
        timer.start();
        db.PartialSearch(QString::fromLatin1(pair));
        const qint64 us = timer.nsecsElapsed() / 1000;
        if (us >= worstUs) {
            worstUs = us;
            worstPair = QString::fromLatin1(pair);
        }
    }
    std::printf("slowest common pair: %s, %lld us\n\n", qPrintable(worstPair), static_cast<long long>(worstUs));

    // One keystroke: the dupe check against a 100,000-contact log's keys, the suggestions and their drawing.
    ScriptedDialogs dialogs;
    SystemClock clock;
    LogSession session(ProgramFolder(dir.path()), dialogs, clock);
    session.setBand(QStringLiteral("20M"));
    session.setMode(QStringLiteral("CW"));
    // 100,000 contacts of the list's calls; each lap through the list gets keys of its own, as if worked on
    // other days, so the dupe check searches 100,000 keys.
    for (int i = 0; i < 100000; ++i) {
        QsoFields fields;
        fields.date = QStringLiteral("2026-05-01");
        fields.time = QStringLiteral("12:00:00");
        fields.band = Band::fromName(u"20M");
        fields.mode = Mode::cw();
        fields.rstSent = fields.rstRcvd = QStringLiteral("599");
        fields.stxFirst = QString::number(i + 1);
        fields.call = calls.at(i % calls.size());
        fields.srx = QStringLiteral("001");
        PreparedQso qso{*QsoRecord::fromLine(QsoLine::compose(fields)), std::nullopt, false, {}};
        qso.key = DupeKey(fields.band, fields.mode, false, fields.call + QString::number(i / calls.size()));
        session.log().add(qso, LogBook::Placement::Unsorted);
    }
    session.log().sortLines();

    MasterSelection dtaMaster;
    dtaMaster.choose(dta, dialogs, session.log().workedCalls());
    MasterSelection textMaster;
    CallSuggestionsWindow dtaWindow(session, dtaMaster);
    dtaWindow.resize(400, 200);
    dtaWindow.show();

    QStringList typed;
    for (int i = 0; i < 300; ++i) {
        const QString& call = calls.at(random.bounded(int(calls.size())));
        for (int length = 1; length <= call.size(); ++length)
            typed.append(call.left(length));
    }
    const auto keystroke = [&](CallSuggestionsWindow& window, const QString& text) {
        const bool dupe = session.log().hasWorkedKey(DupeKey(session.currentBand(), Mode::cw(), false, text));
        Q_UNUSED(dupe);
        window.updateSuggestions(text);
        window.repaint();
    };
    keystroke(dtaWindow, QStringLiteral("SP")); // the first paint sets up fonts and backing store
    Timing timing = measure(typed, [&](const QString& text) { keystroke(dtaWindow, text); });
    std::printf("keystroke, suggestions from the database:  %lld keystrokes, mean %.1f us, p99 %.1f us, max %.1f us\n",
                static_cast<long long>(typed.size()), timing.meanUs, timing.p99Us, timing.maxUs);
    dtaWindow.hide();

    timer.start();
    MasterSelection textChoice;
    textChoice.choose(listPath, dialogs, session.log().workedCalls());
    std::printf("text MASTER file read: %lld callsigns in %lld ms\n",
                static_cast<long long>(session.log().workedCalls().calls().size()),
                static_cast<long long>(timer.elapsed()));
    CallSuggestionsWindow textWindow(session, textChoice);
    textWindow.resize(400, 200);
    textWindow.show();
    timer.start();
    keystroke(textWindow, QStringLiteral("SP"));
    std::printf("first keystroke after reading the list (builds the search text): %.1f ms\n",
                double(timer.nsecsElapsed()) / 1e6);
    timing = measure(typed, [&](const QString& text) { keystroke(textWindow, text); });
    std::printf("keystroke, suggestions from the text list: %lld keystrokes, mean %.1f us, p99 %.1f us, max %.1f us\n",
                static_cast<long long>(typed.size()), timing.meanUs, timing.p99Us, timing.maxUs);
    return 0;
}
