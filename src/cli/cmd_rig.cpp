#include "clicontext.h"
#include "core/bands.h"
#include "core/modes.h"
#include "hamlibrig.h"
#include "rig/rigfollower.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"

namespace Cli {

RigTake readRig(const CliContext& context, const IniFile& settings) {
    RigTake take;
    RigSettings rig = RigSettings::read(settings);
    if (const auto address = context.option(QStringLiteral("rigctld"))) {
        if (!RigSettings::parseAddress(*address)) {
            take.exitCode = context.usage(QStringLiteral("--rigctld takes HOST:PORT"));
            return take;
        }
        rig.connection = RigSettings::Connection::Rigctld;
        rig.rigctldAddress = *address;
    }
    const auto model = context.option(QStringLiteral("model"));
    const auto port = context.option(QStringLiteral("port"));
    const auto speed = context.option(QStringLiteral("speed"));
    if ((model || port) && context.option(QStringLiteral("rigctld"))) {
        take.exitCode = context.usage(QStringLiteral("--rigctld goes without --model and --port"));
        return take;
    }
    if (model || port)
        rig.connection = RigSettings::Connection::Serial;
    bool ok = true;
    if (model)
        rig.model = model->toInt(&ok);
    if (!ok || (model && rig.model <= 0)) {
        take.exitCode = context.usage(QStringLiteral("--model takes hamlib's model number"));
        return take;
    }
    if (port)
        rig.port = *port;
    if (speed)
        rig.speed = speed->toInt(&ok);
    if (!ok || rig.speed < 0) {
        take.exitCode = context.usage(QStringLiteral("--speed takes the port's speed in bit/s"));
        return take;
    }
    if (const auto problem = rig.problem()) {
        err(*problem);
        take.exitCode = kFailure;
        return take;
    }

    HamlibRig radio(rig);
    if (const RigReply opened = radio.open(); !opened.ok()) {
        err(QStringLiteral("Radio: brak połączenia (%1)").arg(opened.error));
        take.exitCode = kFailure;
        return take;
    }
    take.reading = radio.read();
    radio.close();
    if (!take.reading.ok()) {
        err(QStringLiteral("Radio: brak połączenia (%1)").arg(take.reading.error));
        take.exitCode = kFailure;
        return take;
    }
    // What the entry window would select on this reading, with the lists the settings give it.
    RigFollower::Program program;
    program.bands = Bands::selectorList(settings.value(SettingsKeys::Program::warcBands));
    program.modes = Modes::selectorList(settings.value(SettingsKeys::Program::digitalModes));
    const RigFollower::Follow follow = RigFollower().reading(take.reading, 0, program);
    take.band = follow.band;
    take.mode = follow.mode;
    return take;
}

} // namespace Cli

int runRig(CliContext& context) {
    if (context.badOptions || !context.args.isEmpty())
        return context.usage();
    const IniFile settings(context.folder.settingsFile());
    const Cli::RigTake take = Cli::readRig(context, settings);
    if (take.exitCode != Cli::kOk)
        return take.exitCode;
    Cli::out(QStringLiteral("freq=%1 mode=%2 band=%3 kvrmode=%4")
                 .arg(take.reading.frequencyHz)
                 .arg(take.reading.mode, take.band, take.mode));
    return Cli::kOk;
}
