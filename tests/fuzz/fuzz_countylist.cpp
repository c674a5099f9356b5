// powiaty.txt sits beside the program, where an operator may edit or replace it. In either analysis mode the
// list read from it holds no blank entry, is sorted, and finds each of its entries in any letter case.
#include "fuzzsupport.h"

#include "analysis/countylist.h"

namespace {

void checkList(const QString& path, AnalysisMode mode, qsizetype lineCount) {
    CountyList list;
    FUZZ_CHECK(list.LoadCountyList(path, mode), "a readable county list is read");
    const QStringList& entries = list.entries();
    FUZZ_CHECK(entries.size() <= lineCount, "a line gives at most one entry");
    // The county is two characters; the province letter goes in front of it in the province mode.
    const qsizetype width = mode == AnalysisMode::County ? 2 : 3;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString& entry = entries.at(i);
        FUZZ_CHECK(!entry.trimmed().isEmpty(), "no entry is blank");
        FUZZ_CHECK(entry.size() <= width, "an entry is a county, or a province letter and a county");
        FUZZ_CHECK(!entry.contains(QLatin1Char('\r')) && !entry.contains(QLatin1Char('\n')),
                   "an entry comes from one line");
        FUZZ_CHECK(list.contains(entry) && list.contains(entry.toLower()) && list.contains(entry.toUpper()),
                   "an entry is found in any letter case");
        if (i > 0)
            FUZZ_CHECK(entries.at(i - 1).compare(entry, Qt::CaseInsensitive) <= 0, "the list is sorted");
    }
    FUZZ_CHECK(!list.contains(QString()), "an empty exchange matches no county");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = Fuzz::scratchPath(QStringLiteral("powiaty.txt"));
    Fuzz::writeFile(path, data, size);
    const qsizetype lineCount = Fuzz::textLines(Fuzz::bytes(data, size)).size();
    checkList(path, AnalysisMode::County, lineCount);
    checkList(path, AnalysisMode::ProvinceCounty, lineCount);
    return 0;
}
