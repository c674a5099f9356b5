#pragma once

#include "core/qso.h"

#include <functional>

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

class MasterSelection;
class WorkedCalls;

enum class SuggestionColour {
    Normal, // navy: not worked on this band and mode
    Dupe,   // red: working it again would be a dupe
};

// The MASTER call suggestions while a callsign is typed: from the .dta database when one is in use,
// otherwise from the worked-calls list (text MASTER file and every log seen since start-up).
class CallSuggestions {
public:
    static constexpr int kDatabaseLimit = 44;
    static constexpr int kListLimit = 40;
    static QString moreMarker() { return QStringLiteral("...."); }

    enum class Change {
        Replaced, // entries is the new list
        Kept,     // the list stays as it is
        Cleared,  // the list (and the logged-calls suggestions) are emptied
    };
    struct Update {
        Change change = Change::Kept;
        QStringList entries; // sorted, the marker "...." last
    };

    // callsign is the text of the callsign field. startupDone: the program has finished starting.
    Update UpdateSuggestions(const QString& callsign,
                             MasterSelection& master,
                             const WorkedCalls& calls,
                             bool startupDone = true);

    // The colour of an entry for the current band and mode.
    // workedKey tells whether the log holds a dupe key.
    static SuggestionColour colourFor(QStringView call,
                                      const std::function<bool(const DupeKey& key)>& workedKey,
                                      Band band,
                                      Mode mode,
                                      bool oneQsoPerBand);
    // The order of the list: callsigns sorted, "...." after them so that Ctrl+Space takes a callsign.
    static void sortEntries(QStringList& entries);

    bool refreshFlag() const { return m_refresh; }
    void setRefreshFlag(bool on) { m_refresh = on; }
    int takenLength() const { return m_takenLength; }
    void setTakenLength(int length) { m_takenLength = length; }
    // Each added QSO lets the next keystroke compute the list again.
    void qsoAdded() { m_refresh = true; }

private:
    // The worked-calls list as one UTF-8 text, callsign after callsign, so that a keystroke is one fast
    // substring scan instead of 85,000 string searches. Rebuilt when the list changes.
    struct FlatList {
        const WorkedCalls* owner = nullptr;
        quint64 revision = 0;
        QByteArray text;
        std::vector<qsizetype> starts; // where each callsign begins in text, plus the end
    };
    const FlatList& flatList(const WorkedCalls& calls);
    void appendMatches(const WorkedCalls& calls, const QString& typed, QStringList& entries);

    FlatList m_flat;
    bool m_refresh = true;
    int m_takenLength = 0;
};
