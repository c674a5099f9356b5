#include "log/loggedcounties.h"

#include "analysis/countylist.h"
#include "analysis/exchangeanalysis.h"
#include "core/qso.h"
#include "core/textfile.h"
#include "log/logbook.h"

void RebuildLoggedCounties(LogBook& log, const AnalysisContext& context) {
    if (!context.options.enabled || !context.options.countyMode())
        return;
    std::set<QString> logged;
    if (!context.counties)
        return log.setLoggedCounties(std::move(logged));
    for (const QsoRecord& qso : log.records()) {
        if (qso.isDupe() || !countyCountsForCurrent(qso.band(), qso.mode(), context))
            continue;
        const QString key = analysisKey(TextFile::decode(qso.field(QsoField::Srx)), context.options.keyLength());
        if (context.counties->contains(key))
            logged.insert(key);
    }
    log.setLoggedCounties(std::move(logged));
}
