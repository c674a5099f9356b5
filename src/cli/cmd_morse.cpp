#include "clicontext.h"
#include "keyer/keyerentry.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"

#include <algorithm>

namespace {

// An integer option clamped to its control's range; nullopt (usage error) when it is not a number.
std::optional<int>
intOption(const CliContext& context, const QString& name, int fallback, int low, int high, bool& bad) {
    const std::optional<QString> text = context.option(name);
    if (!text)
        return fallback;
    bool ok = false;
    const int value = text->toInt(&ok);
    if (!ok) {
        bad = true;
        return std::nullopt;
    }
    return std::clamp(value, low, high);
}

} // namespace

int runMorse(CliContext& context) {
    KeyerConfig config; // the configuration window's design values
    bool bad = false;
    config.speed = intOption(context, QStringLiteral("wpm"), config.speed, 10, 60, bad).value_or(0);
    config.dashRatio = intOption(context, QStringLiteral("dash"), config.dashRatio, 10, 50, bad).value_or(0);
    config.gapRatio = intOption(context, QStringLiteral("gap"), config.gapRatio, 3, 17, bad).value_or(0);
    config.longGapRatio = intOption(context, QStringLiteral("long"), config.longGapRatio, 10, 50, bad).value_or(0);
    if (const std::optional<QString> factor = context.option(QStringLiteral("factor"))) {
        bool ok = false;
        config.calibrationFactor = factor->toDouble(&ok);
        bad = bad || !ok || !(config.calibrationFactor > 0.0);
    }
    if (bad || context.badOptions || context.args.isEmpty())
        return context.usage();
    config.sidetone = false;
    config.ptt = false;
    config.multithreaded = false;
    config.port = KeyingPort::None;

    VirtualKeyerTime time;
    KeyingInterface keying(nullptr, nullptr, nullptr);
    PlainKeyerEntry entry;
    MorseEngine engine(time, keying, entry);
    engine.setConfig(config);
    engine.setTrace([](MorseEngine::TraceKind kind, int ms) {
        Cli::out(QStringLiteral("%1 %2").arg(kind == MorseEngine::TraceKind::Key ? "key" : "pause").arg(ms));
    });
    engine.SendText(context.args.join(u' '));
    return Cli::kOk;
}
