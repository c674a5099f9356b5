// Keys "PARIS " ten times at 40 WPM on the real clock, on the sender thread, while a second thread keeps a
// core busy, and prints how far each key-down and each gap strayed from its ideal length, and how the sender
// thread was scheduled (run it as an ordinary user too: without the right to real-time scheduling and without
// RealtimeKit it keeps its edges by the hybrid wait).
#include "keyer/keyerentry.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"
#include "realtimekitclient.h"
#include "recordingport.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(std::ceil(p * double(values.size()))) - 1);
    return values[index];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // As the program does: the desktop's RealtimeKit, when it answers.
    RealtimeKitClient realtimeKit;
    SenderScheduler::process().setRealtimeKit(&realtimeKit);
    KeyerConfig config;
    config.speed = 40;
    config.port = KeyingPort::Lpt;
    config.sidetone = false;
    config.ptt = false;
    config.multithreaded = true;

    PreciseKeyerTime time;
    RecordingPort port(time);
    KeyingInterface keying(&port, &port, &port);
    PlainKeyerEntry entry;
    MorseEngine engine(time, keying, entry);
    engine.setConfig(config);
    struct Ideal {
        bool key;
        int ms;
    };
    std::vector<Ideal> ideal;
    engine.setTrace([&](MorseEngine::TraceKind kind, int ms) {
        ideal.push_back({kind == MorseEngine::TraceKind::Key, ms});
    });

    std::atomic<bool> done{false};
    std::thread burner([&] {
        volatile unsigned long long x = 0;
        while (!done.load(std::memory_order_relaxed))
            x = x + 1;
    });

    QString text;
    for (int i = 0; i < 10; ++i)
        text += QStringLiteral("PARIS ");
    engine.SendText(text);
    engine.waitForSender();
    done = true;
    burner.join();

    // Key-downs write 1, key-ups 9.
    std::vector<double> downs, ups;
    for (const RecordingPort::Event& e : port.events()) {
        if (e.kind != RecordingPort::Kind::Lpt)
            continue;
        if (e.value == 1)
            downs.push_back(double(e.at.count()) / 1e6);
        else if (e.value == 9)
            ups.push_back(double(e.at.count()) / 1e6);
    }
    // Ideal key-down lengths and the ideal gap before each following key-down.
    std::vector<double> idealKeys, idealGaps;
    double pending = 0;
    bool seenKey = false;
    for (const Ideal& i : ideal) {
        if (i.key) {
            if (seenKey)
                idealGaps.push_back(pending);
            idealKeys.push_back(i.ms);
            pending = 0;
            seenKey = true;
        } else if (seenKey) {
            pending += i.ms;
        }
    }
    if (downs.size() != idealKeys.size() || ups.size() != idealKeys.size()) {
        std::fprintf(stderr, "mismatch: %zu downs, %zu ups, %zu ideal elements\n", downs.size(), ups.size(),
                     idealKeys.size());
        return 1;
    }
    std::vector<double> keyDev, gapDev;
    for (size_t i = 0; i < downs.size(); ++i) {
        keyDev.push_back(std::fabs((ups[i] - downs[i]) - idealKeys[i]));
        if (i + 1 < downs.size())
            gapDev.push_back(std::fabs((downs[i + 1] - ups[i]) - idealGaps[i]));
    }
    double idealTotal = 0;
    for (double k : idealKeys)
        idealTotal += k;
    for (double g : idealGaps)
        idealTotal += g;
    const double total = ups.back() - downs.front();
    std::printf("keyer: 10 x PARIS at 40 WPM, %zu elements, second core busy\n", downs.size());
    std::printf("scheduling: %s\n", schedulingName(engine.senderScheduling()));
    const PreciseKeyerTime::Counts counts = time.counts();
    std::printf("sleeps: %d real-time; hybrid: %d waited out on the clock, %d woke after the edge, %d lost the CPU "
                "while waiting\n",
                counts.realtime, counts.onClock, counts.wokeLate, counts.lostCpu);
    std::printf("key-down deviation: median %.3f ms, p99 %.3f ms, max %.3f ms\n", percentile(keyDev, 0.5),
                percentile(keyDev, 0.99), percentile(keyDev, 1.0));
    std::printf("gap deviation:      median %.3f ms, p99 %.3f ms, max %.3f ms\n", percentile(gapDev, 0.5),
                percentile(gapDev, 0.99), percentile(gapDev, 1.0));
    std::printf("total: %.3f ms, ideal %.0f ms, error %.4f %%\n", total, idealTotal,
                100.0 * (total - idealTotal) / idealTotal);
    return 0;
}
