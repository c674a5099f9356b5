// The configuration window's calibration on the real clock: twenty PARIS at 20 WPM through the recording port,
// as "Kalibracja" runs it (on the calling thread, sidetone off). Prints the measured time, the time the element
// lengths add up to, the ideal 60 s of the PARIS standard, and the factor the run would save.
#include "keyer/calibration.h"
#include "keyer/keyerentry.h"
#include "keyer/keyersetup.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"
#include "recordingport.h"
#include "scripteddialogs.h"
#include "settings/programsettings.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    KeyerConfig config;
    config.port = KeyingPort::Lpt;
    config.sidetone = false;
    config.ptt = false;

    PreciseKeyerTime time;
    RecordingPort port(time);
    KeyingInterface keying(&port, &port, &port);
    PlainKeyerEntry entry;
    MorseEngine engine(time, keying, entry);
    engine.setConfig(config);
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    ProgramSettings settings(folder.filePath(QStringLiteral("kvr_log.ini")));
    KeyerSetup setup(engine, &port, time, dialogs, settings, {});

    // The element lengths of the run, summed: what exact timing would take.
    VirtualKeyerTime virtualTime;
    RecordingPort virtualPort(virtualTime);
    KeyingInterface virtualKeying(&virtualPort, &virtualPort, &virtualPort);
    MorseEngine exact(virtualTime, virtualKeying, entry);
    exact.setConfig(config);
    ProgramSettings noFile{QString()};
    KeyerSetup exactSetup(exact, &virtualPort, virtualTime, dialogs, noFile, {});
    exactSetup.calibrate({}, {});
    const double exactSeconds = exact.config().calibrationFactor * Calibration::kIdealSeconds;

    std::printf("calibration: 20 x PARIS at %d WPM on the real clock (about a minute)\n", Calibration::kSpeed);
    std::fflush(stdout);
    setup.calibrate({}, {});
    const double factor = engine.config().calibrationFactor;
    const double measured = factor * Calibration::kIdealSeconds;
    std::printf("measured        %.3f s\n", measured);
    std::printf("element sum     %.3f s (deviation %+.3f ms, %+.4f %%)\n", exactSeconds,
                (measured - exactSeconds) * 1000.0, (measured - exactSeconds) / exactSeconds * 100.0);
    std::printf("ideal (PARIS)   %.3f s\n", Calibration::kIdealSeconds);
    std::printf("factor saved    %.6f\n", factor);
    return 0;
}
