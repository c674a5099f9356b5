// The country file: how long reading the installed cty.dat takes, and the time of one country look-up over
// 100,000 callsigns as logged (the super-check-partial list's calls, some of them with /P, /MM, a lone digit or a
// location prefix, some typed in lower case), with the WPX prefix of the same calls beside it. Then the score of a
// 100,000-contact log in CQ WPX from scratch, the score kept after one more contact, and the check of the contact
// being typed (new multiplier, points) as the entry window makes it on every keystroke.
#include "contest/contestscore.h"
#include "contest/countryfile.h"
#include "log/logbook.h"
#include "log/logloader.h"
#include "loggenerator.h"

#include <QTemporaryDir>

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kCallList = QStringLiteral("/usr/share/hamradio-files/MASTER.SCP");

QStringList listedCalls() {
    QStringList calls;
    QFile file(kCallList);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return calls;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            calls.append(line);
    }
    return calls;
}

QStringList generatedCalls(int count, QRandomGenerator& random) {
    static const char* const prefixes[] = {"SP", "SQ", "DL", "OK", "OM", "G",  "F",  "I",  "IT9", "K",  "W",  "VE",
                                           "JA", "UA", "RA", "HA", "YO", "LZ", "S5", "9A", "EA",  "OH", "TA", "4U1"};
    QStringList calls;
    while (calls.size() < count) {
        QString call = QString::fromLatin1(prefixes[random.bounded(int(std::size(prefixes)))]);
        call += QChar(u'0' + random.bounded(10));
        const int letters = 1 + random.bounded(3);
        for (int i = 0; i < letters; ++i)
            call += QChar(u'A' + random.bounded(26));
        calls.append(call);
    }
    return calls;
}

// Every eighth call gets a designator, every twentieth is typed in lower case.
QStringList varied(const QStringList& calls, int count, QRandomGenerator& random) {
    static const char* const suffixes[] = {"/P", "/M", "/QRP", "/MM", "/1", "/3", "/DL", "/OH0"};
    QStringList inputs;
    inputs.reserve(count);
    for (int i = 0; i < count; ++i) {
        QString call = calls.at(random.bounded(int(calls.size())));
        if (random.bounded(8) == 0) {
            const int kind = random.bounded(int(std::size(suffixes)) + 1);
            call = kind == int(std::size(suffixes)) ? QStringLiteral("DL/") + call
                                                    : call + QString::fromLatin1(suffixes[kind]);
        }
        if (random.bounded(20) == 0)
            call = call.toLower();
        inputs.append(call);
    }
    return inputs;
}

struct Timing {
    double meanUs = 0;
    double p50Us = 0;
    double p99Us = 0;
    double maxUs = 0;
};

Timing timingOf(std::vector<double> times) {
    Timing timing;
    if (times.empty())
        return timing;
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double t : times)
        total += t;
    timing.meanUs = total / double(times.size());
    timing.p50Us = times[times.size() / 2];
    timing.p99Us = times[times.size() * 99 / 100];
    timing.maxUs = times.back();
    return timing;
}

} // namespace

int main(int argc, char* argv[]) {
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : CountryFile::systemPath();
    QElapsedTimer timer;

    // The first read comes from a cold program (allocations, the hash tables' first growth); later reads show
    // the steady cost. The look-ups use the last file read.
    CountryFile countries;
    std::vector<double> loads;
    for (int round = 0; round < 5; ++round) {
        timer.start();
        const CountryFile::LoadResult result = countries.load(path);
        loads.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!result.ok) {
            std::printf("%s\n", qPrintable(result.message));
            return 1;
        }
        if (round == 0)
            std::printf("file: %s, %d entities\n", qPrintable(path), result.entities);
    }
    for (double ms : loads)
        std::printf(" %.2f", ms);
    std::printf("\n");
    std::printf("cty.dat load: first %.2f ms, best of 5 %.2f ms (goal < 50 ms)\n", loads.front(),
                *std::min_element(loads.begin(), loads.end()));

    QRandomGenerator random(4711);
    QStringList calls = listedCalls();
    if (calls.isEmpty()) {
        std::printf("NOTE: %s is not installed (Debian package hamradio-files); generated callsigns are used\n",
                    qPrintable(kCallList));
        calls = generatedCalls(85000, random);
    }
    const QStringList inputs = varied(calls, 100000, random);

    std::vector<double> findTimes;
    std::vector<double> wpxTimes;
    findTimes.reserve(std::size_t(inputs.size()));
    wpxTimes.reserve(std::size_t(inputs.size()));
    qint64 found = 0;
    qint64 wpxLength = 0;
    for (const QString& call : inputs) {
        timer.start();
        const auto country = countries.find(call);
        findTimes.push_back(double(timer.nsecsElapsed()) / 1000.0);
        found += country ? 1 : 0;
        timer.start();
        wpxLength += wpxPrefix(call).size();
        wpxTimes.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    const Timing find = timingOf(findTimes);
    const Timing wpx = timingOf(wpxTimes);
    std::printf("\n%-10s %9s %9s %9s %9s %9s\n", "look-up", "calls", "mean us", "p50 us", "p99 us", "max us");
    std::printf("%-10s %9lld %9.2f %9.2f %9.2f %9.1f\n", "find()", static_cast<long long>(inputs.size()), find.meanUs,
                find.p50Us, find.p99Us, find.maxUs);
    std::printf("%-10s %9lld %9.2f %9.2f %9.2f %9.1f\n", "wpxPrefix", static_cast<long long>(inputs.size()), wpx.meanUs,
                wpx.p50Us, wpx.p99Us, wpx.maxUs);
    std::printf("\nfind() p99: %.2f us = %.4f ms (goal < 0.1 ms); %lld of %lld calls have a country; mean WPX "
                "prefix length %.2f\n",
                find.p99Us, find.p99Us / 1000.0, static_cast<long long>(found), static_cast<long long>(inputs.size()),
                double(wpxLength) / double(inputs.size()));

    // The score of a generated 100,000-contact log.
    QTemporaryDir dir;
    LogBook log;
    log.setPath(LogGenerator::write(dir.filePath(QStringLiteral("log.kvr")), 100000));
    if (!LoadLog(log, LogContext()).complete())
        return 1;
    const ContestDefinitionRead wpxRead =
        readContestDefinition(QStringLiteral(KVR_SOURCE_DIR "/data/contests/wpx.ini"));
    if (!wpxRead.definition)
        return 1;
    ContestStation own{QStringLiteral("SP9XYZ"), countries.find(u"SP9XYZ")};
    ContestScore score(*wpxRead.definition, &countries, own, AnalysisContext());
    double bestRebuild = 1e12;
    for (int round = 0; round < 5; ++round) {
        timer.start();
        score.rebuild(log.records());
        bestRebuild = std::min(bestRebuild, double(timer.nsecsElapsed()) / 1e6);
    }
    std::vector<double> evaluateTimes;
    std::vector<double> addTimes;
    for (int i = 0; i < 2000; ++i) {
        Qso qso = log.qso(random.bounded(qsizetype(log.size())));
        qso.call = inputs.at(i).toUpper();
        timer.start();
        const ContactScore typed = score.evaluate(qso);
        evaluateTimes.push_back(double(timer.nsecsElapsed()) / 1000.0);
        found += typed.points;
        timer.start();
        score.add(qso);
        addTimes.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    const ScoreTotals totals = score.totals();
    const Timing evaluate = timingOf(evaluateTimes);
    const Timing add = timingOf(addTimes);
    std::printf("\nCQ WPX score of %lld contacts from scratch: %.1f ms best of 5 (goal < 150 ms); %s\n",
                static_cast<long long>(log.size()), bestRebuild, qPrintable(score.scoreLine()));
    std::printf("one more contact: mean %.2f us, p99 %.2f us (goal < 1 ms)\n", add.meanUs, add.p99Us);
    std::printf("the contact being typed (new multiplier, points): mean %.2f us, p99 %.2f us (goal < 0.1 ms); "
                "%d contacts counted\n",
                evaluate.meanUs, evaluate.p99Us, totals.qsos);
    return 0;
}
