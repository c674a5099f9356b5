// A Winkeyer to try the program with when none is at hand: prints the pseudo-terminal to choose as the Winkeyer's
// port, keys (echoes) one character every 60 ms (20 WPM, roughly) and runs until it is stopped with Ctrl+C.
#include "winkeyeremulator.h"

#include <QString>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stopped = 0;
}

int main(int argc, char* argv[]) {
    const int intervalMs = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    WinkeyerEmulator chip;
    QString error;
    if (!chip.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::signal(SIGINT, [](int) { stopped = 1; });
    std::signal(SIGTERM, [](int) { stopped = 1; });
    std::printf("%s\n", qPrintable(chip.portName()));
    std::fflush(stdout);
    chip.setAutoKey(intervalMs);
    QByteArray shown;
    while (!stopped) {
        const QByteArray echoed = chip.echoed();
        if (echoed.size() > shown.size()) {
            std::printf("%s", echoed.mid(shown.size()).constData());
            std::fflush(stdout);
            shown = echoed;
        }
        usleep(20000);
    }
    std::printf("\n");
    return 0;
}
