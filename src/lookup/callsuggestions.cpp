#include "lookup/callsuggestions.h"

#include "core/bands.h"
#include "core/modes.h"
#include "core/qsoline.h"
#include "lookup/masterselection.h"
#include "lookup/workedcalls.h"

#include <algorithm>
#include <string_view>

CallSuggestions::Update CallSuggestions::UpdateSuggestions(const QString& callsign,
                                                           MasterSelection& master,
                                                           const WorkedCalls& calls,
                                                           bool startupDone) {
    const QString call = callsign.toUpper();
    if (call.isEmpty() || call.size() != m_takenLength)
        m_refresh = true;
    Update update;
    if (call.size() >= 2 && (!calls.isEmpty() || master.isDta()) && m_refresh) {
        update.change = Change::Replaced;
        if (master.isDta()) {
            MasterCallDatabase& db = master.database();
            if (master.isLoaded() && db.PartialSearch(call)) {
                const QStringList& found = db.results();
                update.entries = found.mid(0, kDatabaseLimit);
                if (found.size() > kDatabaseLimit)
                    update.entries.append(moreMarker());
            }
        } else {
            appendMatches(calls, call, update.entries);
        }
        sortEntries(update.entries);
    } else if (call.isEmpty() && startupDone) {
        update.change = Change::Cleared;
    }
    return update;
}

const CallSuggestions::FlatList& CallSuggestions::flatList(const WorkedCalls& calls) {
    if (m_flat.owner == &calls && m_flat.revision == calls.revision())
        return m_flat;
    m_flat.owner = &calls;
    m_flat.revision = calls.revision();
    m_flat.text.clear();
    m_flat.starts.clear();
    m_flat.starts.reserve(size_t(calls.size()) + 1);
    for (qsizetype i = 0; i < calls.size(); ++i) {
        m_flat.starts.push_back(m_flat.text.size());
        m_flat.text += calls.call(i).toUtf8();
        m_flat.text += '\n'; // never inside a callsign, so no match spans two of them
    }
    m_flat.starts.push_back(m_flat.text.size());
    return m_flat;
}

// Every callsign of the list that contains the typed text, in list order; after more than 40 the marker.
void CallSuggestions::appendMatches(const WorkedCalls& calls, const QString& typed, QStringList& entries) {
    const FlatList& flat = flatList(calls);
    const QByteArray needleBytes = typed.toUtf8();
    const std::string_view needle(needleBytes.constData(), size_t(needleBytes.size()));
    const std::string_view text(flat.text.constData(), size_t(flat.text.size()));
    qsizetype from = 0;
    while (from < flat.text.size()) {
        const size_t found = text.find(needle, size_t(from));
        if (found == std::string_view::npos)
            return;
        const auto at = qsizetype(found);
        const auto next = std::upper_bound(flat.starts.begin(), flat.starts.end(), at);
        const auto index = (next - flat.starts.begin()) - 1;
        entries.append(calls.call(index).toString());
        if (entries.size() > kListLimit) {
            entries.append(moreMarker());
            return;
        }
        from = *next;
    }
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

SuggestionColour CallSuggestions::colourFor(QStringView call,
                                            const std::function<bool(const DupeKey& key)>& workedKey,
                                            Band band,
                                            Mode mode,
                                            bool oneQsoPerBand) {
    return workedKey(DupeKey(band, mode, oneQsoPerBand, call)) ? SuggestionColour::Dupe : SuggestionColour::Normal;
}
