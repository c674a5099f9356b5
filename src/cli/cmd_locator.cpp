#include "analysis/locator.h"
#include "clicontext.h"

int runLocator(CliContext& context) {
    if (context.args.size() != 2 || context.badOptions)
        return context.usage();
    const QString from = context.args.at(0).toUpper();
    const QString to = context.args.at(1).toUpper();
    if (LocatorInvalid(from) || LocatorInvalid(to)) {
        Cli::err(QStringLiteral("Został wprowadzony niepoprawny lokator !!"));
        return Cli::kFailure;
    }
    const DistanceAzimuthResult result = DistanceAzimuth(from, to);
    Cli::out(QStringLiteral("km=%1 azimuth=%2").arg(result.km).arg(result.azimuth, 0, 'f', 1));
    return Cli::kOk;
}
