// Prints how long the operator's keys take to reach a keyer that times the Morse itself, through the whole keyer
// path of the program (key handling, the Morse engine and its sender thread, the keyer, the serial or socket code):
// from F1 to the first text byte at an emulated Winkeyer / the first text datagram at a listener in cwdaemon's
// place, and from Esc to the Winkeyer's clear-buffer command / cwdaemon's abort request. 200 runs each.
#include "fakecwdaemon.h"
#include "keyer/cwdaemonkeyer.h"
#include "keyer/keyerentry.h"
#include "keyer/keyerkeys.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"
#include "keyer/winkeyerkeyer.h"
#include "keyer/winkeyerprotocol.h"
#include "recordingport.h"
#include "serialportstream.h"
#include "udpdatagrams.h"
#include "winkeyeremulator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 200;

void print(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, std::size_t(q * double(ms.size())))]; };
    std::printf("  %-34s p50 %.3f ms, p99 %.3f ms, max %.3f ms (%zu runs)\n", what, at(0.5), at(0.99), ms.back(),
                ms.size());
}

// Polls (with the event loop running) until found() gives the arrival time of what is awaited.
std::optional<Clock::time_point> await(const std::function<std::optional<Clock::time_point>()>& found) {
    QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired()) {
        if (const auto at = found())
            return at;
        QCoreApplication::processEvents();
        QThread::usleep(50);
    }
    return std::nullopt;
}

struct Keyer {
    VirtualKeyerTime time;
    RecordingPort port{time};
    KeyingInterface keying{&port, &port, &port};
    PlainKeyerEntry entry;
    MorseEngine engine{time, keying, entry};
    KeyerKeys keys{engine, entry};

    bool attach(TextKeyer& keyer) {
        KeyerConfig config;
        config.speed = 30;
        config.sidetone = false;
        if (!keyer.open(config.textKeyerSettings()).ok)
            return false;
        engine.setConfig(config);
        engine.setTextKeyer(&keyer);
        engine.buffers().set(1, {QStringLiteral("F1"), QStringLiteral("TEST TEST"), QString(), false});
        return true;
    }
    ~Keyer() { engine.setTextKeyer(nullptr); }

    // F1, the first byte; Esc, the stop command; the transmission over before the next run.
    template <typename Arrival>
    bool run(std::vector<double>& startMs, std::vector<double>& stopMs, Arrival firstText, Arrival stopCommand) {
        const auto pressed = Clock::now();
        keys.keyPressed(Qt::Key_F1, Qt::NoModifier);
        const auto first = await([&] { return firstText(pressed); });
        const auto escaped = Clock::now();
        keys.keyPressed(Qt::Key_Escape, Qt::NoModifier);
        const auto stopped = await([&] { return stopCommand(escaped); });
        if (!first || !stopped || !await([&]() -> std::optional<Clock::time_point> {
                if (engine.sending())
                    return std::nullopt;
                return Clock::now();
            }))
            return false;
        startMs.push_back(std::chrono::duration<double, std::milli>(*first - pressed).count());
        stopMs.push_back(std::chrono::duration<double, std::milli>(*stopped - escaped).count());
        return true;
    }
};

// The first command equal to bytes (or any text byte when bytes is empty) recorded at or after `after`.
std::optional<Clock::time_point>
chipCommand(const WinkeyerEmulator& chip, const QByteArray& bytes, Clock::time_point after) {
    for (const WinkeyerEmulator::Command& c : chip.commands())
        if (c.at >= after && (bytes.isEmpty() ? c.isText() : c.bytes == bytes))
            return c.at;
    return std::nullopt;
}

std::optional<Clock::time_point>
datagram(const FakeCwdaemon& daemon, const std::function<bool(const QByteArray&)>& is, Clock::time_point after) {
    for (const FakeCwdaemon::Received& r : daemon.received())
        if (r.at >= after && is(r.datagram))
            return r.at;
    return std::nullopt;
}

int winkeyer() {
    WinkeyerEmulator chip;
    QString error;
    if (!chip.start(&error)) {
        std::fprintf(stderr, "no emulator: %s\n", qPrintable(error));
        return 1;
    }
    SerialPortStream stream;
    WinkeyerKeyer winkeyer(&stream, chip.portName());
    std::vector<double> startMs, stopMs;
    {
        Keyer keyer;
        if (!keyer.attach(winkeyer))
            return 1;
        using At = std::function<std::optional<Clock::time_point>(Clock::time_point)>;
        const At text = [&](Clock::time_point after) { return chipCommand(chip, {}, after); };
        const At clear = [&](Clock::time_point after) { return chipCommand(chip, Winkeyer::clearBuffer(), after); };
        for (int i = 0; i < kRuns; ++i)
            if (!keyer.run(startMs, stopMs, text, clear))
                return 1;
    }
    winkeyer.close();
    std::printf("Winkeyer (emulated on a pseudo-terminal, no 1200 baud wire time)\n");
    print("F1 to the first text byte:", startMs);
    print("Esc to the clear-buffer command:", stopMs);
    return 0;
}

int cwdaemon() {
    FakeCwdaemon daemon;
    UdpDatagrams socket;
    CwdaemonKeyer cwdaemon(&socket, daemon.address());
    std::vector<double> startMs, stopMs;
    {
        Keyer keyer;
        if (!keyer.attach(cwdaemon))
            return 1;
        using At = std::function<std::optional<Clock::time_point>(Clock::time_point)>;
        const At text = [&](Clock::time_point after) {
            return datagram(
                daemon, [](const QByteArray& d) { return !d.startsWith('\x1b'); }, after);
        };
        const At abort = [&](Clock::time_point after) {
            return datagram(
                daemon,
                [](const QByteArray& d) {
                    return d == "\x1b"
                                "4";
                },
                after);
        };
        for (int i = 0; i < kRuns; ++i) {
            if (!keyer.run(startMs, stopMs, text, abort))
                return 1;
            daemon.clear();
        }
    }
    cwdaemon.close();
    std::printf("cwdaemon (a UDP listener in its place on this machine)\n");
    print("F1 to the first text datagram:", startMs);
    print("Esc to the abort request:", stopMs);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return winkeyer() || cwdaemon();
}
