#pragma once

#include "analysis/analysisoptions.h"

#include <QString>

#include <optional>

class CallSuggestions;
class WorkedCalls;

// Space moves between the callsign field and the received-exchange field without typing the blank, and
// each field gets its cursor back where the operator left it, once: a position is used by the next hop into
// its field and then forgotten, so a field entered without one puts the cursor at the end of its text. Going
// to the exchange may pre-fill it from what is known of the station (its county or locator from the call-info
// list), with the cursor at its start. The entry window holds one for its lifetime.
class EntryFieldHops {
public:
    // What the entry window shows: both fields, with their cursor positions.
    struct Fields {
        QString call;
        int callCursor = 0;
        QString exchange;
        int exchangeCursor = 0;
    };
    // Where the focus goes and what changes on the way.
    struct ToExchange {
        std::optional<QString> call;     // Ctrl+Space: the callsign field takes this
        std::optional<QString> exchange; // the received-exchange field is pre-filled with this
        int cursor = 0;                  // the cursor in the received-exchange field, no selection
    };
    struct ToCall {
        int cursor = 0; // the cursor in the callsign field, no selection
    };
    enum class ClickFocus { Exchange, SuggestionList };
    struct Click {
        std::optional<QString> exchange;
        ClickFocus focus = ClickFocus::Exchange;
        int cursor = 0;
    };

    // The pre-fill of the received exchange for this station, if the rules give one: the analysis is on, the
    // exchange is still empty and the callsign is known. County modes take the county field (its characters
    // 2–3 in the county mode, where it is stored as "_IC"); the locator mode the locator field when allowed.
    static std::optional<QString> exchangePrefill(const QString& call,
                                                  const QString& exchange,
                                                  const AnalysisOptions& analysis,
                                                  const WorkedCalls& calls,
                                                  bool locatorAllowed);

    // A blank (or Enter) in the callsign field.
    ToExchange spaceInCall(const Fields& fields, const AnalysisOptions& analysis, const WorkedCalls& calls);
    // A blank in the received-exchange field; the MASTER suggestions, when shown, stop refreshing.
    ToCall spaceInExchange(const Fields& fields, CallSuggestions* suggestions);
    // Ctrl+Space in the callsign field: takes the first suggestion (when there is one) and moves on.
    ToExchange ctrlSpace(const Fields& fields,
                         const std::optional<QString>& firstSuggestion,
                         bool suggestionsShown,
                         CallSuggestions& suggestions,
                         const AnalysisOptions& analysis,
                         const WorkedCalls& calls);
    // A click on a suggestion, after the callsign field has taken it.
    static Click suggestionChosen(const QString& call,
                                  const QString& exchange,
                                  const AnalysisOptions& analysis,
                                  const WorkedCalls& calls);

    // A contact was logged: the next one starts with no remembered positions.
    void forgetPositions();

    std::optional<int> callCursor() const { return m_callCursor; }
    std::optional<int> exchangeCursor() const { return m_exchangeCursor; }

private:
    std::optional<int> m_callCursor;
    std::optional<int> m_exchangeCursor;
};
