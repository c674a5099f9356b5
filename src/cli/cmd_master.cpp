#include "clicontext.h"
#include "log/logbook.h"
#include "lookup/mastercalldb.h"
#include "lookup/masterselection.h"
#include "lookup/textmasterfile.h"

#include <QFileInfo>

// master FILE PATTERN: the callsigns of a MASTER file that the suggestions would offer for PATTERN, all of
// them, in file order. A .dta database is searched with "?" as a wildcard; a text list by plain substring.
int runMaster(CliContext& context) {
    if (context.args.size() != 2 || context.badOptions)
        return context.usage();
    const QString path = context.args.at(0);
    const QString pattern = context.args.at(1);
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable()) {
        Cli::err(MasterSelection::missingFileMessage(path));
        return Cli::kFailure;
    }
    if (MasterSelection::pathNamesDta(path)) {
        MasterCallDatabase db;
        const MasterCallDatabase::LoadResult loaded = db.LoadDatabase(path);
        if (!loaded) {
            Cli::err(loaded.error);
            return Cli::kFailure;
        }
        db.PartialSearch(pattern);
        for (const QString& call : db.results())
            Cli::out(call);
        return Cli::kOk;
    }
    WorkedCalls calls;
    const TextMasterFile::ReadResult read = TextMasterFile::read(path, calls);
    if (!read.status) {
        Cli::err(read.status.error);
        return Cli::kFailure;
    }
    const QString typed = pattern.toUpper();
    if (typed.isEmpty())
        return Cli::kOk;
    for (qsizetype i = 0; i < calls.size(); ++i)
        if (calls.call(i).contains(typed))
            Cli::out(calls.call(i).toString());
    return Cli::kOk;
}
