// Prints how long the Winkeyer keyer takes to put bytes on the wire: from send() to the first text byte at the
// chip, and from abort() to the clear-buffer command, over a pseudo-terminal through the real serial port code.
#include "keyer/winkeyerkeyer.h"
#include "serialportstream.h"
#include "winkeyeremulator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[index];
}

// Waits until the chip has recorded a command equal to bytes at or after from; its arrival time.
std::optional<std::chrono::steady_clock::time_point>
arrival(const WinkeyerEmulator& chip, const QByteArray& bytes, int from) {
    QDeadlineTimer deadline(2000);
    while (!deadline.hasExpired()) {
        const QList<WinkeyerEmulator::Command> commands = chip.commands();
        for (int i = from; i < commands.size(); ++i) {
            if (commands.at(i).bytes == bytes)
                return commands.at(i).at;
        }
        QThread::usleep(100);
    }
    return std::nullopt;
}

void print(const char* what, const std::vector<double>& ms) {
    std::printf("%-28s p50 %.3f ms, p99 %.3f ms, max %.3f ms (%zu runs)\n", what, percentile(ms, 0.5),
                percentile(ms, 0.99), percentile(ms, 1.0), ms.size());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    WinkeyerEmulator chip;
    QString error;
    if (!chip.start(&error)) {
        std::fprintf(stderr, "no emulator: %s\n", qPrintable(error));
        return 1;
    }
    SerialPortStream stream;
    WinkeyerKeyer keyer(&stream, chip.portName());
    if (!keyer.open({}).ok) {
        std::fprintf(stderr, "the emulated Winkeyer did not answer\n");
        return 1;
    }
    constexpr int kRuns = 200;
    std::vector<double> sendMs, abortMs;
    for (int run = 0; run < kRuns; ++run) {
        const char letter = char('A' + run % 26);
        int from = int(chip.commands().size());
        const auto sent = std::chrono::steady_clock::now();
        keyer.send(QString(QChar::fromLatin1(letter)));
        const auto firstByte = arrival(chip, QByteArray(1, letter), from);
        from = int(chip.commands().size());
        const auto aborted = std::chrono::steady_clock::now();
        keyer.abort();
        const auto cleared = arrival(chip, QByteArray(1, char(0x0A)), from);
        if (!firstByte || !cleared) {
            std::fprintf(stderr, "run %d: the chip did not see the bytes\n", run);
            return 1;
        }
        sendMs.push_back(std::chrono::duration<double, std::milli>(*firstByte - sent).count());
        abortMs.push_back(std::chrono::duration<double, std::milli>(*cleared - aborted).count());
    }
    std::printf("Winkeyer over a pseudo-terminal (no 1200 baud wire delay)\n");
    print("send() to first byte:", sendMs);
    print("abort() to clear buffer:", abortMs);
    keyer.close();
    return 0;
}
