#include "log/loggedcounties.h"

#include "analysis/countylist.h"
#include "analysis/exchangeanalysis.h"
#include "core/qsoline.h"
#include "log/logbook.h"

void RebuildLoggedCounties(LogBook& log, const AnalysisContext& context) {
    if (!context.options.enabled || !context.options.countyMode())
        return;
    std::set<QString> logged;
    for (const QString& line : log.lines()) {
        if (QsoLine::isDupe(line) || !context.counties)
            continue;
        const QString key = analysisKey(QsoLine::column(line, QsoColumns::Srx), context.options.keyLength());
        if (context.counties->contains(key) && countyCountsForCurrent(line, context))
            logged.insert(key);
    }
    log.setLoggedCounties(std::move(logged));
}
