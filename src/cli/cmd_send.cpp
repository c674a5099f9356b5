#include "clicontext.h"
#include "core/modes.h"
#include "entry/entryoptions.h"
#include "entry/entrystartup.h"
#include "entry/rigpollerkeying.h"
#include "entry/startupoptions.h"
#include "hamlibrig.h"
#include "keyer/cwdaemonprotocol.h"
#include "keyer/keyerconfig.h"
#include "keyer/keyerentry.h"
#include "keyer/keyerstartup.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"
#include "keyer/ports/ppdevparallelport.h"
#include "keyer/textkeyers.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "rig/rigpoller.h"
#include "rig/rigsettings.h"
#include "serialportlines.h"
#include "serialportstream.h"
#include "settings/inifile.h"
#include "udpdatagrams.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <memory>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

// Ctrl+C asks for a clean stop; a second one, should the stop hang, ends the program at once.
void onInterrupt(int) {
    g_interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

// The entry window as the command line stands for it: a contact about to be worked, with no callsign yet and no
// earlier contact to repeat, whose exchange is the next serial and the fixed part of the settings.
class CommandLineEntry final : public PlainKeyerEntry {
public:
    bool exchangeFromFields() const override { return true; }
};

struct SendOptions {
    std::optional<KeyerKind> kind;
    std::optional<QString> port;
    std::optional<bool> keyingOnRts;
    std::optional<QString> address;
    std::optional<int> wpm;
};

// The options as given; the problem of bad usage in `problem`.
std::optional<SendOptions> readOptions(const CliContext& context, QString& problem) {
    SendOptions options;
    if (const auto keyer = context.option(QStringLiteral("keyer"))) {
        const QStringList names = {QStringLiteral("line"), QStringLiteral("winkeyer"), QStringLiteral("cwdaemon"),
                                   QStringLiteral("rig")};
        const qsizetype index = names.indexOf(keyer->toLower());
        if (index < 0) {
            problem = QStringLiteral("unknown keyer ") + *keyer;
            return std::nullopt;
        }
        options.kind = KeyerKind(index);
    }
    options.port = context.option(QStringLiteral("port"));
    if (const auto line = context.option(QStringLiteral("line"))) {
        const QString upper = line->toUpper();
        if (upper != QLatin1String("DTR") && upper != QLatin1String("RTS")) {
            problem = QStringLiteral("--line takes DTR or RTS");
            return std::nullopt;
        }
        options.keyingOnRts = upper == QLatin1String("RTS");
    }
    if (const auto address = context.option(QStringLiteral("address"))) {
        if (address->trimmed().isEmpty() || !Cwdaemon::parseAddress(*address).ok) {
            problem = QStringLiteral("--address takes HOST:PORT");
            return std::nullopt;
        }
        options.address = address->trimmed();
    }
    if (const auto wpm = context.option(QStringLiteral("wpm"))) {
        bool ok = false;
        const int value = wpm->toInt(&ok);
        if (!ok || value < 10 || value > 60) {
            problem = QStringLiteral("--wpm takes 10 to 60");
            return std::nullopt;
        }
        options.wpm = value;
    }
    return options;
}

// The settings' keyer with the options over it; the problem of an option the keyer has no use for in `problem`.
std::optional<KeyerConfig> keyerFor(const KeyerConfig& saved, const SendOptions& options, QString& problem) {
    KeyerConfig config = saved;
    config.kind = options.kind.value_or(saved.kind);
    const bool lines = config.kind == KeyerKind::Lines;
    if (options.port && !lines && config.kind != KeyerKind::Winkeyer)
        problem = QStringLiteral("--port goes with the line keyer or the Winkeyer");
    else if (options.keyingOnRts && !lines)
        problem = QStringLiteral("--line goes with the line keyer");
    else if (options.address && config.kind != KeyerKind::Cwdaemon)
        problem = QStringLiteral("--address goes with cwdaemon");
    if (!problem.isEmpty())
        return std::nullopt;
    if (options.port && lines) {
        config.port = KeyingPort::Com;
        config.comPort = *options.port;
    }
    if (options.port && config.kind == KeyerKind::Winkeyer)
        config.winkeyerPort = *options.port;
    config.keyingOnRts = options.keyingOnRts.value_or(config.keyingOnRts);
    config.cwdaemonAddress = options.address.value_or(config.cwdaemonAddress);
    config.speed = options.wpm.value_or(config.speed);
    // Waited for on a sender thread, so Ctrl+C is taken while the text goes out; there is no sound device to
    // give a sidetone on.
    config.multithreaded = true;
    config.sidetone = false;
    return config;
}

// Fills the entry from the settings and the log the program opens, without writing either. Returns false when
// the log could not be read (told on stderr).
bool fillEntry(CommandLineEntry& entry, const CliContext& context, const IniFile& settings) {
    SystemClock clock;
    ConsoleDialogs dialogs;
    LogSession session(context.folder, dialogs, clock);
    session.operatorData = OperatorData::read(settings);
    session.analysis = StartupOptions::readAnalysis(settings, session.operatorData.locator, session.analysis);
    EntryOptions options = EntryOptions::read(settings);
    // With the analysis on, the fixed part of the sent exchange is the own locator, as in the entry window.
    if (session.analysis.enabled)
        options.stxFixed = session.operatorData.locator;
    session.setLogPath(QFileInfo(StartupOptions::startupLogPath(settings, context.folder)).absoluteFilePath());
    if (QFileInfo::exists(session.logPath())) {
        if (EntryStartup::countyListPresent(context.folder))
            session.LoadCountyList();
        const LoadResult loaded = session.reload();
        if (loaded.status == LoadResult::Status::FormatError || loaded.status == LoadResult::Status::ReadError)
            return false;
    }
    entry.contestCall = session.operatorData.contestCall;
    entry.options = session.analysis;
    entry.rst = Modes::defaultReport(Mode::cw().info(), QString(), Modes::ReportReset::ModeSwitch);
    entry.first = EntryStartup::serialAtOpen(options, session.log().lastQso());
    entry.second = options.stxFixed;
    return true;
}

// Waits until every command handed to the radio's thread has been carried out (a stop of its keyer, PTT off),
// or the radio is gone, at most a few seconds.
void waitForRadio(RigPoller& poller) {
    QEventLoop loop;
    const quint64 sequence = poller.tune(0, QString());
    QObject::connect(&poller, &RigPoller::readingArrived, &loop, [&loop, sequence](const RigReading&, quint64 done) {
        if (done >= sequence)
            loop.quit();
    });
    QObject::connect(&poller, &RigPoller::connectionChanged, &loop, [&loop](bool connected) {
        if (!connected)
            loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int runSend(CliContext& context) {
    QString problem;
    const std::optional<SendOptions> options = readOptions(context, problem);
    if (!options || context.badOptions || context.args.isEmpty())
        return context.usage(problem);
    const IniFile settings(context.folder.settingsFile());
    const std::optional<KeyerConfig> chosen = keyerFor(KeyerConfig::read(settings), *options, problem);
    if (!chosen)
        return context.usage(problem);
    KeyerConfig config = *chosen;

    CommandLineEntry entry;
    if (!fillEntry(entry, context, settings))
        return Cli::kFailure;

    PreciseKeyerTime time;
    PpdevParallelPort parallel;
    SerialPortLines lines;
    KeyingInterface keying(&parallel, &lines, nullptr);
    MorseEngine engine(time, keying, entry);
    engine.buffers().read(settings);
    engine.setConfig(config);

    SerialPortStream stream;
    UdpDatagrams datagrams;
    std::unique_ptr<TextKeyer> textKeyer;
    RigPollerKeying rigKeying;
    std::unique_ptr<RigPoller> radio;
    switch (config.kind) {
    case KeyerKind::Lines:
        if (config.port == KeyingPort::None) {
            Cli::err(KeyerStartup::noPortsStatus().text);
            return Cli::kFailure;
        }
        if (config.port == KeyingPort::Com && !lines.open(config.comPort).ok) {
            Cli::err(KeyerStartup::serialMissingMessage(config.comPort));
            return Cli::kFailure;
        }
        if (config.port == KeyingPort::Lpt && !keying.lptChosen()) {
            Cli::err(config.lptLabel() + QStringLiteral(": brak dostępu"));
            return Cli::kFailure;
        }
        break;
    case KeyerKind::Winkeyer:
    case KeyerKind::Cwdaemon: {
        textKeyer = makeTextKeyer(config, &stream, &datagrams);
        const TextKeyerOpenResult opened = textKeyer->open(config.textKeyerSettings());
        if (!opened.ok) {
            Cli::err(opened.text);
            return Cli::kFailure;
        }
        engine.setTextKeyer(textKeyer.get());
        break;
    }
    case KeyerKind::Rig: {
        const RigSettings rig = RigSettings::read(settings);
        if (const auto rigProblem = rig.problem()) {
            Cli::err(*rigProblem);
            return Cli::kFailure;
        }
        radio = std::make_unique<RigPoller>(std::make_unique<HamlibRig>(rig), RigSettings::kMinPollMs);
        QEventLoop opening;
        bool connected = false;
        QString error;
        QObject::connect(radio.get(), &RigPoller::connectionChanged, &opening, [&](bool up, const QString& text) {
            connected = up;
            error = text;
            opening.quit();
        });
        radio->start();
        opening.exec();
        if (!connected) {
            Cli::err(QStringLiteral("Radio: brak połączenia (%1)").arg(error));
            return Cli::kFailure;
        }
        rigKeying.setPoller(radio.get());
        keying.setRigKeying(&rigKeying, rig.pttThroughRig);
        break;
    }
    }

    QString failure;
    bool byPaddle = false;
    QObject::connect(&engine, &MorseEngine::keyerFailed, [&failure](const QString& text) { failure = text; });
    QObject::connect(&engine, &MorseEngine::pausedByPaddle, [&byPaddle] { byPaddle = true; });
    QEventLoop sending;
    QObject::connect(&engine, &MorseEngine::transmissionFinished, &sending, &QEventLoop::quit, Qt::QueuedConnection);
    // The flag a signal handler may set, looked at on this thread.
    bool interrupted = false;
    g_interrupted = 0;
    QTimer interruptWatch;
    interruptWatch.setInterval(10);
    QObject::connect(&interruptWatch, &QTimer::timeout, [&] {
        if (g_interrupted && !interrupted) {
            interrupted = true;
            engine.StopSending();
        }
    });
    std::signal(SIGINT, onInterrupt);
    interruptWatch.start();

    engine.SendText(context.args.join(u' '));
    if (engine.sending())
        sending.exec();
    engine.waitForSender();
    interruptWatch.stop();
    // What the keyer told on its way out (a failure, the paddle) is taken up before the verdict.
    QCoreApplication::processEvents();
    // The transmission's end released the key and PTT; the keyer lets go of its device, the lines rest.
    if (textKeyer)
        textKeyer->close();
    engine.setTextKeyer(nullptr);
    keying.pttOff();
    if (radio) {
        waitForRadio(*radio);
        rigKeying.setPoller(nullptr);
    }
    lines.close();
    std::signal(SIGINT, SIG_DFL);

    if (interrupted || g_interrupted) {
        Cli::err(QStringLiteral("Nadawanie przerwane."));
        return Cli::kFailure;
    }
    if (byPaddle) {
        Cli::err(QStringLiteral("Nadawanie przerwane manipulatorem."));
        return Cli::kFailure;
    }
    if (!failure.isEmpty() || engine.keyingFailed()) {
        Cli::err(failure.isEmpty() ? QStringLiteral("Nadawanie przerwane: klucz nie odpowiada.") : failure);
        return Cli::kFailure;
    }
    return Cli::kOk;
}
