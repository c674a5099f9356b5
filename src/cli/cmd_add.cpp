#include "clicontext.h"
#include "core/bands.h"
#include "core/modes.h"
#include "entry/entryclock.h"
#include "entry/entrysession.h"
#include "entry/entrystartup.h"
#include "entry/outsidecontact.h"
#include "entry/serialnumber.h"
#include "entry/startupoptions.h"
#include "log/logsession.h"
#include "platform/clock.h"
#include "platform/userdialogs.h"
#include "rig/rigmapping.h"
#include "settings/inifile.h"

#include <QFileInfo>

int runAdd(CliContext& context) {
    const auto logOption = context.option(QStringLiteral("log"));
    const auto call = context.option(QStringLiteral("call"));
    const auto band = context.option(QStringLiteral("band"));
    const auto mode = context.option(QStringLiteral("mode"));
    const auto rstSent = context.option(QStringLiteral("rst-sent"));
    const auto rstRcvd = context.option(QStringLiteral("rst-rcvd"));
    const auto stx = context.option(QStringLiteral("stx"));
    const auto stxFixed = context.option(QStringLiteral("stx-fixed"));
    const auto srx = context.option(QStringLiteral("srx"));
    const auto date = context.option(QStringLiteral("date"));
    const auto time = context.option(QStringLiteral("time"));
    if (context.badOptions || !context.args.isEmpty() || !call)
        return context.usage();
    if (date.has_value() != time.has_value())
        return context.usage(QStringLiteral("--date and --time go together"));
    if (date &&
        (!QDate::fromString(*date, QStringLiteral("yyyy-MM-dd")).isValid() || !EntryClock::validManualTime(*time)))
        return context.usage(QStringLiteral("bad --date or --time"));
    const bool fromRig = context.flag(QStringLiteral("rig"));
    if (fromRig && (band || mode))
        return context.usage(QStringLiteral("--rig takes band and mode from the radio: no --band or --mode"));
    if (!fromRig && (context.option(QStringLiteral("model")) || context.option(QStringLiteral("port")) ||
                     context.option(QStringLiteral("speed")) || context.option(QStringLiteral("rigctld"))))
        return context.usage(QStringLiteral("the radio's options go with --rig"));
    if (band && !Band::fromName(*band).isValid())
        return context.usage(QStringLiteral("unknown band ") + *band);
    if (mode && !Mode::fromName(*mode).isKnown())
        return context.usage(QStringLiteral("unknown mode ") + *mode);

    if (!EntryStartup::countyListPresent(context.folder)) {
        Cli::err(EntryStartup::countyListMissingMessage(context.folder));
        return Cli::kFailure;
    }
    // The radio is read before anything is loaded or written: a radio that cannot be read logs nothing.
    std::optional<QString> rigBand;
    std::optional<QString> rigMode;
    if (fromRig) {
        const IniFile settings(context.folder.settingsFile());
        const Cli::RigTake take = Cli::readRig(context, settings);
        if (take.exitCode != Cli::kOk)
            return take.exitCode;
        if (take.band.isEmpty()) {
            Cli::err(QStringLiteral("Radio: %1 kHz poza pasmami programu")
                         .arg(RigMapping::kilohertz(take.reading.frequencyHz)));
            return Cli::kFailure;
        }
        if (take.mode.isEmpty()) {
            Cli::err(QStringLiteral("Radio: emisja %1 nie ma odpowiednika w programie").arg(take.reading.mode));
            return Cli::kFailure;
        }
        rigBand = take.band;
        rigMode = take.mode;
    }
    SystemClock clock;
    LogSession session(context.folder, context.dialogs, clock);
    // The log stays locked from the read to the write: a second add, or the window, waits or is refused.
    session.holdLogLock(Cli::logLockWaitMs());
    EntrySession entry(session);
    IniFile settings(context.folder.settingsFile());
    if (settings.isUnreadable())
        context.dialogs.message(QStringLiteral("Ostrzeżenie"), settings.unreadableMessage(), MessageIcon::Warning,
                                unsigned(DialogButton::Ok), DialogButton::Ok);
    const QString logPath =
        logOption ? QFileInfo(*logOption).absoluteFilePath() : StartupOptions::startupLogPath(settings, context.folder);
    const LoadResult loaded = entry.loadFor(logPath);
    if (loaded.status == LoadResult::Status::FormatError || loaded.status == LoadResult::Status::ReadError)
        return Cli::kFailure;
    if (const std::optional<QString> refusal = session.writeRefusal()) {
        Cli::err(*refusal);
        return Cli::kFailure;
    }

    if (const std::optional<QString> chosen = rigBand ? rigBand : band)
        entry.changeBand(chosen->toUpper(), entry.options().stx);
    if (const std::optional<QString> chosen = rigMode ? rigMode : mode)
        entry.changeMode(chosen->toUpper());
    const QString defaultRst =
        Modes::defaultReport(session.currentMode().info(), QString(), Modes::ReportReset::ModeSwitch);
    QString serial = entry.options().stx;
    if (!stx && entry.options().separateVhfSerials && entry.options().autoIncrement)
        serial = serialAfterBandSwitch(session.log(), session.currentBand(), serial, true, true,
                                       entry.options().serialFormat);

    EntryForm form;
    form.call = *call;
    form.srx = srx.value_or(QString());
    form.rstSent = rstSent.value_or(defaultRst);
    form.rstRcvd = rstRcvd.value_or(defaultRst);
    form.stx = stx.value_or(serial);
    form.stxFixed = stxFixed.value_or(entry.options().stxFixed);
    const QDateTime utc = entry.utcNow();
    form.date = date.value_or(EntryClock::formatDate(utc.date()));
    form.time = time.value_or(EntryClock::formatTime(utc.time()));
    form = OutsideContact::normalised(form);

    // The next contact from the command line goes on with the next serial, as the window would.
    std::optional<SerialReservation> reserved;
    if (!stx && entry.options().autoIncrement && !settings.isUnreadable()) {
        TextFile::Status stored;
        reserved = SerialReservation::reserve(settings, form.stx, entry.options().serialFormat, stored);
        if (!stored) {
            Cli::err(stored.error);
            return Cli::kFailure;
        }
    }
    const AddQsoResult result = entry.addQso(form);
    if (!result.added()) {
        // The contact was not stored, so neither is its serial.
        if (reserved)
            reserved->release();
        return Cli::kFailure;
    }
    Cli::out(result.line);
    return Cli::kOk;
}
