// A log file may have been edited by hand, cut short by a crash or saved by another program. Loading it never
// crashes or hangs, keeps every contact it reads with its body unchanged, stops only at a line it names, and
// a log that loaded whole is kept whole by the rewrite that edits and "save as" make of it.
#include "fuzzsupport.h"

#include "analysis/countylist.h"
#include "core/qsoline.h"
#include "core/textfile.h"
#include "log/logbook.h"
#include "log/logloader.h"

#include <algorithm>

namespace {

const CountyList& counties(AnalysisMode mode) {
    static CountyList county;
    static CountyList provinceCounty;
    static const bool loaded = [] {
        const QString path = QStringLiteral(KVR_COUNTY_FILE);
        return county.LoadCountyList(path, AnalysisMode::County) &&
               provinceCounty.LoadCountyList(path, AnalysisMode::ProvinceCounty);
    }();
    if (!loaded)
        fuzzFailure("the county list " KVR_COUNTY_FILE " is read", __FILE__, __LINE__);
    return mode == AnalysisMode::County ? county : provinceCounty;
}

LogContext countyContext() {
    LogContext context;
    context.analysis.options.enabled = true;
    context.analysis.options.mode = AnalysisMode::County;
    context.analysis.counties = &counties(AnalysisMode::County);
    context.analysis.currentBand = Band::fromName(u"80M");
    context.analysis.currentMode = Mode::fromName(u"CW");
    return context;
}

LogContext locatorContext() {
    LogContext context;
    context.oneQsoPerBand = true;
    context.analysis.options.enabled = true;
    context.analysis.options.mode = AnalysisMode::Locator;
    context.analysis.options.sameLocatorKm = 5;
    context.analysis.ownLocator = QStringLiteral("JO91RU");
    context.analysis.currentBand = Band::fromName(u"2M");
    context.analysis.currentMode = Mode::fromName(u"CW");
    return context;
}

QStringList loadedLines(const LogBook& log) {
    return log.lineTexts();
}

void checkLoad(const QString& path, const QStringList& fileLines, const LogContext& context) {
    LogBook log;
    log.setPath(path);
    const LoadResult result = LoadLog(log, context);
    FUZZ_CHECK(result.status == LoadResult::Status::Loaded || result.status == LoadResult::Status::FormatError,
               "a readable log is loaded or stops with the format error");

    const bool stopped = result.status == LoadResult::Status::FormatError;
    QStringList contacts;
    bool badLineFound = false;
    for (const QString& line : fileLines) {
        if (line.isEmpty())
            continue;
        if (stopped && line.left(QsoLayout::kBodyLength) == result.badLine) {
            badLineFound = true;
            break;
        }
        contacts.append(line);
    }
    FUZZ_CHECK(badLineFound == stopped, "the format error names a line of the file, cut to 74 characters");
    FUZZ_CHECK(log.size() == contacts.size(), "every line before the first bad one is one contact");
    FUZZ_CHECK(Fuzz::sortedBodies(loadedLines(log)) == Fuzz::sortedBodies(contacts),
               "every contact keeps the body it has in the file");
    const QStringList lines = log.lineTexts();
    FUZZ_CHECK(std::is_sorted(lines.begin(), lines.end()), "the log is in sorted order");
    for (const QString& line : lines)
        FUZZ_CHECK(line.size() >= QsoLayout::kBodyLength, "a loaded line holds the whole body");

    const AnalysisContext& analysis = context.analysis;
    if (analysis.options.countyMode()) {
        for (const QString& county : log.loggedCounties())
            FUZZ_CHECK(analysis.counties->contains(county), "a logged county is a county of the list");
    }
    // No two places on the earth are farther apart than half its circumference, some 20 000 km.
    FUZZ_CHECK(log.odxTotal() >= 0 && log.odxTotal() <= qint64(log.size()) * 20100,
               "the distance total is that of distances on the earth");
    for (const int serial : log.vhfSerials())
        FUZZ_CHECK(serial >= 1, "the next VHF serial is positive");

    if (!result.complete())
        return;
    // Editing, deleting and "save as" write the loaded lines back; loading them gives the same contacts.
    const QString rewritten = Fuzz::scratchPath(QStringLiteral("rewritten.kvr"));
    FUZZ_CHECK(TextFile::writeLines(rewritten, loadedLines(log)), "the log is rewritten");
    LogBook again;
    again.setPath(rewritten);
    const LoadResult reloaded = LoadLog(again, context);
    FUZZ_CHECK(reloaded.complete(), "a rewritten log loads whole");
    FUZZ_CHECK(Fuzz::sortedBodies(loadedLines(again)) == Fuzz::sortedBodies(loadedLines(log)),
               "a rewritten log holds the same contacts");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = Fuzz::scratchPath(QStringLiteral("log.kvr"));
    Fuzz::writeFile(path, data, size);
    const QStringList fileLines = Fuzz::textLines(Fuzz::bytes(data, size));
    static const LogContext county = countyContext();
    static const LogContext locator = locatorContext();
    checkLoad(path, fileLines, county);
    checkLoad(path, fileLines, locator);
    return 0;
}
