// Prints what a keystroke in the callsign field and an added contact cost on a 100,000-contact log.
#include "contest/contestsession.h"
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

    // Keystrokes: each prefix of 2,000 callsigns (worked and new) as the operator types them. The same calls are
    // typed three times: with the entry checks only, then with the line under the callsign field as it is without
    // a contest (country and heading) and with CQ WPX chosen (country, heading, points, new multiplier).
    session.operatorData.contestCall = QStringLiteral("SP9XYZ");
    session.operatorData.locator = QStringLiteral("JO91RU");
    ContestSession contest(session, {QStringLiteral(KVR_CONTEST_DIR)});
    contest.rescan();
    const QRandomGenerator typingStart = random;
    const auto typeCalls = [&](const char* variant, bool entryLine) {
        QRandomGenerator typing = typingStart;
        qint64 checkTotal = 0, suggestTotal = 0, lineTotal = 0;
        std::vector<qint64> each;
        std::vector<qint64> lineCosts;
        int keystrokes = 0;
        int scored = 0;
        for (int i = 0; i < 2000; ++i) {
            const QString call = i % 2 ? calls.at(typing.bounded(calls.size())) : randomCall(typing);
            for (int n = 1; n <= call.size(); ++n) {
                const QStringView typed = QStringView(call).left(n);
                timer.restart();
                entry.checkCall(typed);
                const qint64 afterCheck = timer.nsecsElapsed();
                const QStringList suggestions = entry.loggedCallSuggestions(typed);
                const qint64 afterSuggestions = timer.nsecsElapsed();
                if (entryLine) {
                    Qso qso;
                    qso.band = session.currentBand();
                    qso.mode = session.currentMode();
                    qso.call = typed.toString();
                    qso.srx = QStringLiteral("599 012");
                    scored += contest.entryLine(qso).score.isEmpty() ? 0 : 1;
                }
                const qint64 total = timer.nsecsElapsed();
                checkTotal += afterCheck;
                suggestTotal += afterSuggestions - afterCheck;
                lineTotal += total - afterSuggestions;
                each.push_back(total);
                lineCosts.push_back(total - afterSuggestions);
                ++keystrokes;
            }
        }
        std::sort(each.begin(), each.end());
        std::sort(lineCosts.begin(), lineCosts.end());
        std::printf("keystroke %s (%d): worked-before check + row selection %.2f us, logged-calls suggestions %.2f us, "
                    "entry line %.2f us (p99 %.1f us, %d scored), total %.2f us average, median %.1f us, 99th "
                    "percentile %.1f us, worst %.1f us\n",
                    variant, keystrokes, micros(checkTotal / keystrokes), micros(suggestTotal / keystrokes),
                    micros(lineTotal / keystrokes), micros(lineCosts[lineCosts.size() * 99 / 100]), scored,
                    micros((checkTotal + suggestTotal + lineTotal) / keystrokes), micros(each[each.size() / 2]),
                    micros(each[each.size() * 99 / 100]), micros(each.back()));
        return double(checkTotal + suggestTotal + lineTotal) / keystrokes;
    };
    const double plain = typeCalls("without the entry line", false);
    // The first look-up reads the country file; it is read before the figures are taken.
    contest.countryOf(QStringLiteral("SP9XYZ"));
    const double noContest = typeCalls("with no contest chosen", true);
    timer.restart();
    const QString refused = contest.choose(QStringLiteral("wpx"));
    if (!refused.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(refused));
        return 1;
    }
    std::printf("CQ WPX chosen (score of %lld contacts counted) in %.1f ms\n", session.log().size(),
                double(timer.nsecsElapsed()) / 1e6);
    const double withContest = typeCalls("with a contest chosen", true);
    std::printf("keystroke with a contest chosen: %.2fx the cost without the entry line, %.2fx the cost with no "
                "contest chosen\n",
                withContest / plain, withContest / noContest);

    // The rate meter after each contact and every 10 seconds, and the statistics window's count, on the whole log.
    double rateBest = 1e12, statisticsBest = 1e12;
    for (int round = 0; round < 5; ++round) {
        timer.restart();
        const RateFigures rate = contest.rate();
        rateBest = std::min(rateBest, double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        const ContestStatistics statistics = gatherStatistics(session.log().records(), contest.score());
        statisticsBest = std::min(statisticsBest, double(timer.nsecsElapsed()) / 1e6);
        if (rate.lastHour < 0 || statistics.hours.empty())
            return 1;
    }
    std::printf("rate meter %.2f ms, statistics (%lld contacts, with the score) %.2f ms, best of 5\n", rateBest,
                session.log().size(), statisticsBest);

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
