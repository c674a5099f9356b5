#include "clicontext.h"

#include <QCoreApplication>

#include <functional>
#include <map>

namespace {

struct Command {
    std::function<int(CliContext&)> run;
    const char* synopsis;
};

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> table = {
        {QStringLiteral("summary"), {runSummary, "summary [LOG] [--band B] [--mode M]"}},
        {QStringLiteral("locator"), {runLocator, "locator FROM TO"}},
        {QStringLiteral("master"), {runMaster, "master FILE PATTERN"}},
        {QStringLiteral("add"),
         {runAdd, "add [--log LOG] --call C [--band B] [--mode M] [--rst-sent R] [--rst-rcvd R] [--stx S] "
                  "[--stx-fixed F] [--srx X] [--date yyyy-mm-dd --time hh:mm:ss]"}},
        {QStringLiteral("export"),
         {runExport, "export cabrillo|adif|csv [--log LOG] OUT | export edi [--log LOG] [--band B] DIR"}},
        {QStringLiteral("import"), {runImport, "import adif|cabrillo IN [--log LOG]"}},
        {QStringLiteral("morse"), {runMorse, "morse [--wpm N] [--dash T] [--gap T] [--long T] [--factor F] TEXT"}},
    };
    return table;
}

int printUsage() {
    Cli::err(QStringLiteral("usage: kvrlog-cli [--home DIR] COMMAND ..."));
    for (const auto& [name, command] : commands())
        Cli::err(QStringLiteral("  ") + QString::fromUtf8(command.synopsis));
    return Cli::kUsage;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvrlog-cli"));
    QStringList args = QCoreApplication::arguments().mid(1);
    CliContext context{ProgramFolder::resolve(args, QCoreApplication::applicationDirPath()), {}, {}};
    if (args.isEmpty())
        return printUsage();
    const auto found = commands().find(args.takeFirst());
    if (found == commands().end())
        return printUsage();
    context.args = args;
    return found->second.run(context);
}
