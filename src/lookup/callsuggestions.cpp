#include "lookup/callsuggestions.h"

#include "core/bands.h"
#include "core/logbook.h"
#include "core/modes.h"
#include "core/qsoline.h"
#include "lookup/masterselection.h"

#include <algorithm>

CallSuggestions::Update CallSuggestions::UpdateSuggestions(const QString& callsign,
                                                           MasterSelection& master,
                                                           const WorkedCalls& calls,
                                                           bool startupDone) {
    const QString call = callsign.toUpper();
    if (call.isEmpty() || call.size() != m_takenLength)
        m_refresh = true;
    Update update;
    if (call.size() >= 2 && (!calls.calls().isEmpty() || master.isDta()) && m_refresh) {
        update.change = Change::Replaced;
        if (master.isDta()) {
            TMasterCallDB& db = master.database();
            if (master.isLoaded() && db.PartialSearch(call)) {
                const QStringList& found = db.results();
                update.entries = found.mid(0, kDatabaseLimit);
                if (found.size() > kDatabaseLimit)
                    update.entries.append(moreMarker());
            }
        } else {
            for (const QString& known : calls.calls()) {
                if (!known.contains(call))
                    continue;
                update.entries.append(known);
                if (update.entries.size() > kListLimit) {
                    update.entries.append(moreMarker());
                    break;
                }
            }
        }
        sortEntries(update.entries);
    } else if (call.isEmpty() && startupDone) {
        update.change = Change::Cleared;
    }
    return update;
}

void CallSuggestions::sortEntries(QStringList& entries) {
    std::sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
        const bool aMarker = a == moreMarker();
        const bool bMarker = b == moreMarker();
        if (aMarker != bMarker)
            return bMarker;
        return a < b;
    });
}

SuggestionColour CallSuggestions::colourFor(
    QStringView call, const LogBook& log, QStringView band, QStringView mode, bool oneQsoPerBand) {
    const ModeInfo* modeInfo = Modes::byName(mode);
    const char modeCode = modeInfo ? modeInfo->dupeCode : '?';
    const QString key = dupeKey(Bands::dupeCode(band), modeCode, oneQsoPerBand, call);
    return log.hasWorkedKey(key) ? SuggestionColour::Dupe : SuggestionColour::Normal;
}
