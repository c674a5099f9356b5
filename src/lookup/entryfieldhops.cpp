#include "lookup/entryfieldhops.h"

#include "lookup/callsuggestions.h"
#include "lookup/workedcalls.h"

#include <algorithm>

std::optional<QString> EntryFieldHops::exchangePrefill(const QString& call,
                                                       const QString& exchange,
                                                       const AnalysisOptions& analysis,
                                                       const WorkedCalls& calls,
                                                       bool locatorAllowed) {
    if (!analysis.enabled || !exchange.isEmpty() || !calls.contains(call))
        return std::nullopt;
    const QString info = calls.infoFor(call);
    switch (analysis.mode) {
    case AnalysisMode::ProvinceCounty:
        return info.section(QLatin1Char(';'), 1, 1);
    case AnalysisMode::County:
        return info.section(QLatin1Char(';'), 1, 1).mid(1, 2);
    case AnalysisMode::Locator:
        if (locatorAllowed)
            return info.section(QLatin1Char(';'), 2, 2);
        return std::nullopt;
    }
    return std::nullopt;
}

EntryFieldHops::ToExchange
EntryFieldHops::spaceInCall(const Fields& fields, const AnalysisOptions& analysis, const WorkedCalls& calls) {
    m_callCursor = fields.callCursor;
    ToExchange move;
    move.exchange = exchangePrefill(fields.call, fields.exchange, analysis, calls, true);
    const int length = int(fields.exchange.size());
    move.cursor = move.exchange ? 0 : std::clamp(m_exchangeCursor.value_or(length), 0, length);
    m_exchangeCursor.reset();
    return move;
}

EntryFieldHops::ToCall EntryFieldHops::spaceInExchange(const Fields& fields, CallSuggestions* suggestions) {
    if (suggestions)
        suggestions->setRefreshFlag(false);
    m_exchangeCursor = fields.exchangeCursor;
    const int length = int(fields.call.size());
    const int cursor = std::clamp(m_callCursor.value_or(length), 0, length);
    m_callCursor.reset();
    return {cursor};
}

EntryFieldHops::ToExchange EntryFieldHops::ctrlSpace(const Fields& fields,
                                                     const std::optional<QString>& firstSuggestion,
                                                     bool suggestionsShown,
                                                     CallSuggestions& suggestions,
                                                     const AnalysisOptions& analysis,
                                                     const WorkedCalls& calls) {
    if (suggestionsShown)
        suggestions.setRefreshFlag(false);
    Fields now = fields;
    std::optional<QString> taken;
    if (firstSuggestion && !firstSuggestion->isEmpty()) {
        suggestions.setTakenLength(int(firstSuggestion->size()));
        taken = *firstSuggestion;
        now.call = *firstSuggestion;
        now.callCursor = int(now.call.size()); // the field puts its cursor after the new text
    }
    ToExchange move = spaceInCall(now, analysis, calls);
    move.call = taken;
    return move;
}

void EntryFieldHops::forgetPositions() {
    m_callCursor.reset();
    m_exchangeCursor.reset();
}

EntryFieldHops::Click EntryFieldHops::suggestionChosen(const QString& call,
                                                       const QString& exchange,
                                                       const AnalysisOptions& analysis,
                                                       const WorkedCalls& calls) {
    Click click;
    if (analysis.enabled && analysis.countyMode() && exchange.isEmpty()) {
        if (!calls.contains(call)) {
            click.focus = ClickFocus::SuggestionList;
            return click;
        }
        click.exchange = exchangePrefill(call, exchange, analysis, calls, false);
    }
    return click;
}
