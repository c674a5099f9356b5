#include "clicontext.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <vector>

namespace {

QCommandLineOption option(const char* name, const char* description, const char* valueName = "") {
    return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description),
                              QString::fromLatin1(valueName));
}

// Taken on every level of the command line, before and after the command.
const QCommandLineOption kHome = option("home",
                                        "The program folder: settings, county list, logs. Else KVRLOG_HOME, else "
                                        "the folder of kvrlog-cli when it holds them, else ~/.local/share/kvrlog.",
                                        "DIR");
const QCommandLineOption kHelp = option("help", "Shows this help.");

// A subcommand, or one format of export and import: what it does and the options it takes.
struct Command {
    QString name;
    QString description;
    QList<QCommandLineOption> options = {};
    QString synopsis = {};             // a format's is its command's
    int (*run)(CliContext&) = nullptr; // a format's is its command's
    std::vector<Command> formats = {}; // export and import name the format first
    QString listed = {};               // the line in the list of commands, when not the synopsis
};

const std::vector<Command>& commands() {
    static const std::vector<Command> table = [] {
        const QCommandLineOption log = option("log", "The log; else the one the program opens at start.", "LOG");
        // The radio as the "Radio" settings name it, unless these say otherwise.
        const QList<QCommandLineOption> radio = {
            option("model", "hamlib's model number of a radio on a serial port.", "N"),
            option("port", "The radio's serial port.", "P"),
            option("speed", "The serial port's speed in bit/s; else the model's own.", "S"),
            option("rigctld", "A running rigctld instead of a serial port.", "HOST:PORT")};
        return std::vector<Command>{
            {.name = QStringLiteral("add"),
             .description =
                 QStringLiteral("Logs one contact as the entry window does, with its backups, and prints the "
                                "line as written."),
             .options =
                 QList<QCommandLineOption>{
                     log, option("call", "The callsign worked.", "C"),
                     option("band", "The band; else the one in the settings.", "B"),
                     option("mode", "The mode; else the one in the settings.", "M"),
                     option("rst-sent", "The report sent; else the mode's usual one.", "R"),
                     option("rst-rcvd", "The report received; else the mode's usual one.", "R"),
                     option("stx", "The serial number sent; else the next one.", "S"),
                     option("stx-fixed", "The fixed part of the exchange sent; else the one in the settings.", "F"),
                     option("srx", "The exchange received.", "X"),
                     option("date", "The date of the contact, with --time; else the UTC clock's.", "yyyy-mm-dd"),
                     option("time", "The UTC time of the contact, with --date.", "hh:mm:ss"),
                     option("rig", "Band and mode from the radio instead of --band and --mode.")} +
                 radio,
             .synopsis =
                 QStringLiteral("add [--log LOG] --call C [--band B] [--mode M] [--rst-sent R] [--rst-rcvd R] "
                                "[--stx S] [--stx-fixed F] [--srx X] [--date yyyy-mm-dd --time hh:mm:ss]\n"
                                "       add ... --rig [--model N] [--port P] [--speed S] [--rigctld HOST:PORT]"),
             .run = runAdd,
             .listed = QStringLiteral("add [--log LOG] --call C [--band B] [--mode M] [--rig] ...")},
            {.name = QStringLiteral("export"),
             .description =
                 QStringLiteral("Writes the log to OUT as Cabrillo, ADIF or CSV, or to one EDI file per band in "
                                "DIR. \"export FORMAT --help\" shows the options of a format."),
             .synopsis = QStringLiteral(
                 "export cabrillo [--log LOG] [--claimed N] [--province P] [--location L] [--contest-name NAME] OUT\n"
                 "       export adif [--log LOG] [--comment C] [--contest NAME] [--operator CALL] [--sppa-comment] "
                 "[--odx-comment] OUT\n"
                 "       export csv [--log LOG] OUT\n"
                 "       export edi [--log LOG] [--band 6M|2M|70CM|23CM|all] DIR"),
             .run = runExport,
             .formats =
                 {{.name = QStringLiteral("cabrillo"),
                   .description = QStringLiteral("Writes the log as a Cabrillo file, its header from the operator "
                                                 "data and the Cabrillo settings."),
                   .options =
                       {log, option("claimed", "The claimed score; else the chosen contest's, else 0.", "N"),
                        option("province", "The province.", "P"), option("location", "The location; else DX.", "L"),
                        option("contest-name",
                               "The contest, when the settings name none; else the chosen contest's Cabrillo name.",
                               "NAME")}},
                  {.name = QStringLiteral("adif"),
                   .description = QStringLiteral("Writes the log as an ADIF file."),
                   .options = {log, option("comment", "The comment of every contact.", "C"),
                               option("contest", "The contest; else the Cabrillo settings' one and the year.", "NAME"),
                               option("operator", "The OPERATOR of every contact; else the callsign in use.", "CALL"),
                               option("sppa-comment", "Puts the county (\"SPPA: \") in front of each comment."),
                               option("odx-comment", "Puts the distance (\"ODX: \") in front of each comment.")}},
                  {.name = QStringLiteral("csv"),
                   .description = QStringLiteral("Writes the log as a CSV file."),
                   .options = {log}},
                  {.name = QStringLiteral("edi"),
                   .description = QStringLiteral("Writes one EDI file per band with contacts; needs the locator "
                                                 "analysis."),
                   .options = {log, option("band", "The one band to write; else all.", "6M|2M|70CM|23CM|all")}}},
             .listed =
                 QStringLiteral("export cabrillo|adif|csv [--log LOG] OUT | export edi [--log LOG] [--band B] DIR")},
            {.name = QStringLiteral("import"),
             .description = QStringLiteral("Reads the contacts of IN into the log and prints how many. \"import FORMAT "
                                           "--help\" shows the options of a format."),
             .synopsis = QStringLiteral("import adif|cabrillo IN [--log LOG]"),
             .run = runImport,
             .formats = {{.name = QStringLiteral("adif"),
                          .description =
                              QStringLiteral("Replaces the log with the contacts of an ADIF file; the log as "
                                             "it was is kept in Backup_logs."),
                          .options = {log}},
                         {.name = QStringLiteral("cabrillo"),
                          .description = QStringLiteral("Adds the contacts of a Cabrillo file to the log."),
                          .options = {log}}}},
            {.name = QStringLiteral("locator"),
             .description = QStringLiteral("Prints the distance and the azimuth from one locator to another."),
             .synopsis = QStringLiteral("locator FROM TO"),
             .run = runLocator},
            {.name = QStringLiteral("master"),
             .description =
                 QStringLiteral("Prints the callsigns of a MASTER file that the suggestions offer for PATTERN, "
                                "in file order. In a .dta database \"?\" stands for any character."),
             .synopsis = QStringLiteral("master FILE PATTERN"),
             .run = runMaster},
            {.name = QStringLiteral("morse"),
             .description = QStringLiteral("Sends TEXT through the Morse engine on virtual time and prints its key and "
                                           "pause lines in milliseconds."),
             .options = {option("wpm", "Words per minute, 10 to 60; else 30.", "N"),
                         option("dash", "The dash in tenths of a dot, 10 to 50; else 30.", "T"),
                         option("gap", "The gap between elements in tenths of a dot, 3 to 17; else 10.", "T"),
                         option("long", "The gap after a character in tenths of a dot, 10 to 50; else 30.", "T"),
                         option("factor", "The calibration factor, above 0; else 1.", "F")},
             .synopsis = QStringLiteral("morse [--wpm N] [--dash T] [--gap T] [--long T] [--factor F] TEXT"),
             .run = runMorse},
            {.name = QStringLiteral("rig"),
             .description = QStringLiteral(
                 "Reads the radio once and prints its frequency and mode with the band and mode the program "
                 "takes from them (empty where it keeps its own)."),
             .options = radio,
             .synopsis = QStringLiteral("rig [--model N] [--port P] [--speed S] [--rigctld HOST:PORT]"),
             .run = runRig},
            {.name = QStringLiteral("score"),
             .description =
                 QStringLiteral("Prints the claimed score of LOG, else of the log the program opens at start, in a "
                                "contest: a line a band and mode, then \"Wynik: S (punkty P, mnożniki M)\"."),
             .options = {option("contest",
                                "The contest: a definition's name (spdx-sp, spdx-dx, wpx, powiaty, ukf-km …) or "
                                "the path of a definition file; else the one chosen in the program.",
                                "NAME|FILE")},
             .synopsis = QStringLiteral("score [--contest NAME|FILE] [LOG]"),
             .run = runScore},
            {.name = QStringLiteral("send"),
             .description = QStringLiteral(
                 "Keys TEXT through the keyer of the settings, or the one chosen here, and returns once it is sent. "
                 "Macros are expanded as the message buffers do: <MYCALL> from the operator data, <STX> the next "
                 "serial of the log the program opens, <CALL> empty. Ctrl+C stops the sending."),
             .options = {option("keyer",
                                "The keyer: line (the serial port's lines), winkeyer, cwdaemon or rig (the "
                                "radio's keyer, reached as the \"Radio\" settings say); else the settings' one.",
                                "line|winkeyer|cwdaemon|rig"),
                         option("port", "The serial port of the line keyer or of the Winkeyer.", "P"),
                         option("line", "The line keyer's keying line; PTT goes on the other one.", "DTR|RTS"),
                         option("address", "cwdaemon's host and UDP port.", "HOST:PORT"),
                         option("wpm", "Words per minute, 10 to 60; else the settings' speed.", "N")},
             .synopsis = QStringLiteral("send [--keyer line|winkeyer|cwdaemon|rig] [--port P] [--line DTR|RTS] "
                                        "[--address HOST:PORT] [--wpm N] TEXT"),
             .run = runSend,
             .listed = QStringLiteral("send [--keyer K] [--port P] [--line DTR|RTS] [--address HOST:PORT] "
                                      "[--wpm N] TEXT")},
            {.name = QStringLiteral("summary"),
             .description =
                 QStringLiteral("Prints the score summary of LOG, else of the log the program opens at start, "
                                "and its counts."),
             .options = {option("band", "The band the counties are counted on; else the one in the settings.", "B"),
                         option("mode", "The mode the counties are counted on; else the one in the settings.", "M")},
             .synopsis = QStringLiteral("summary [LOG] [--band B] [--mode M]"),
             .run = runSummary},
        };
    }();
    return table;
}

const Command* find(const std::vector<Command>& list, const QString& name) {
    for (const Command& command : list) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QString commandList() {
    QString text = QStringLiteral("COMMAND ...");
    for (const Command& command : commands())
        text += QStringLiteral("\n  ") + (command.listed.isEmpty() ? command.synopsis : command.listed);
    return text;
}

// Parses one level of the command line. The level that names a command or a format leaves everything from that
// name on to the next level. Returns false on bad usage, which includes an option given twice and a second --home.
bool parseLevel(QCommandLineParser& parser,
                const QString& description,
                const QList<QCommandLineOption>& options,
                const QStringList& args,
                bool namesNext,
                QStringList& homes) {
    parser.setApplicationDescription(description);
    parser.addOptions(QList<QCommandLineOption>{kHome, kHelp} + options);
    if (namesNext)
        parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const bool parsed = parser.parse(QStringList{QString()} + args); // parse() skips the program's name
    homes += parser.values(kHome);
    QStringList names = parser.optionNames();
    return parsed && names.removeDuplicates() == 0 && homes.size() <= 1;
}

// QCommandLineParser's help begins with a line naming the executable by its path; ours begins with the synopsis.
int printHelp(const QCommandLineParser& parser, const QString& synopsis) {
    const QString help = parser.helpText();
    Cli::out(Cli::usageText(synopsis) + QLatin1Char('\n') + help.mid(help.indexOf(u'\n')).chopped(1));
    return Cli::kOk;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvrlog-cli"));
    QStringList homes;

    QCommandLineParser top;
    const bool topParsed =
        parseLevel(top, QStringLiteral("\"kvrlog-cli COMMAND --help\" shows the options of a command."), {},
                   QCoreApplication::arguments().mid(1), true, homes);
    if (top.isSet(kHelp))
        return printHelp(top, commandList());
    const Command* command = topParsed ? find(commands(), top.positionalArguments().value(0)) : nullptr;
    if (!command)
        return Cli::usage(commandList());
    QStringList args = top.positionalArguments().mid(1);

    const Command* chosen = command;
    QString format;
    QCommandLineParser formatLevel;
    if (!command->formats.empty()) {
        const bool parsed = parseLevel(formatLevel, command->description, {}, args, true, homes);
        if (formatLevel.isSet(kHelp))
            return printHelp(formatLevel, command->synopsis);
        format = formatLevel.positionalArguments().value(0).toLower();
        chosen = find(command->formats, format);
        if (!parsed || !chosen)
            return Cli::usage(command->synopsis);
        args = formatLevel.positionalArguments().mid(1);
    }

    QCommandLineParser parser;
    const bool parsed = parseLevel(parser, chosen->description, chosen->options, args, false, homes);
    if (parser.isSet(kHelp))
        return printHelp(parser, command->synopsis);
    const ProgramFolderChoice folder =
        ProgramFolder::resolve(homes.value(0), ProgramPlaces::forExecutable(QCoreApplication::applicationDirPath()));
    CliContext context{folder.folder, command->synopsis, format, parser, parser.positionalArguments(), !parsed, {}};
    folder.tellOperator(context.dialogs);
    return command->run(context);
}
