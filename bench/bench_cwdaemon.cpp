// Latency of the cwdaemon keyer: from CwdaemonKeyer::send() to the text datagram at a UDP listener in the daemon's
// place, and from abort() to the abort request, over 200 runs each.
#include "fakecwdaemon.h"
#include "keyer/cwdaemonkeyer.h"
#include "udpdatagrams.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 200;

void print(const char* what, std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[std::min(micros.size() - 1, std::size_t(q * double(micros.size())))];
    };
    std::printf("%-28s p50 %8.1f us   p99 %8.1f us   max %8.1f us   (%zu runs)\n", what, at(0.5), at(0.99),
                micros.back(), micros.size());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    FakeCwdaemon listener;
    UdpDatagrams datagrams;
    CwdaemonKeyer keyer(&datagrams, listener.address());
    TextKeyerSettings settings;
    settings.wpm = 60;
    const TextKeyerOpenResult opened = keyer.open(settings);
    if (!opened.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.text));
        return 1;
    }
    listener.waitForCount(9);
    std::vector<double> sendLatency, abortLatency;
    for (int run = 0; run < kRuns; ++run) {
        int count = int(listener.received().size());
        auto start = FakeCwdaemon::Clock::now();
        keyer.send(QStringLiteral("E"));
        // The reply request and the text.
        if (!listener.waitForCount(count + 2))
            return 1;
        sendLatency.push_back(
            std::chrono::duration<double, std::micro>(listener.received().at(count + 1).at - start).count());
        keyer.waitForPending(0, nullptr);

        count = int(listener.received().size());
        start = FakeCwdaemon::Clock::now();
        keyer.abort();
        if (!listener.waitForCount(count + 1))
            return 1;
        abortLatency.push_back(
            std::chrono::duration<double, std::micro>(listener.received().at(count).at - start).count());
    }
    print("send() to text datagram", sendLatency);
    print("abort() to abort request", abortLatency);
    keyer.close();
    return 0;
}
