#pragma once

#include "core/qso.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <set>
#include <span>

// The callsigns worked on the current band, by mode window (SSB, CW, FM) and by call-area column:
// "1" … "9" hold the first six characters of the callsign, "Inne" (area 0 or no digit) the whole callsign.
// Other modes are not listed.
class WorkedCallsGroups {
public:
    enum class List { SSB = 0, CW = 1, FM = 2 };
    static constexpr int kLists = 3;
    static constexpr int kColumns = 10;
    static constexpr int kOtherColumn = 9;

    enum class Prefix { SP = 0, SQ = 1, SN = 2, Other = 3 };

    // Rebuilds everything from the log for this band.
    void rebuild(std::span<const QsoRecord> log, Band band);
    // Adds one contact; false when it is not listed (other band, other mode) or already there.
    bool add(const QsoRecord& qso, Band band);
    void clear();

    // Sorted, each entry once.
    const std::set<QString>& column(List list, int column) const { return m_columns[size_t(list)][size_t(column)]; }
    QStringList columnEntries(List list, int column) const;

    // 0 … 8 for the areas 1 … 9, kOtherColumn for area 0 or no digit (second character, else third).
    static int columnFor(QStringView call);
    static QString entryFor(QStringView call);
    static Prefix prefixOf(QStringView entry);
    static QString caption(QStringView band, List list);
    static QString headerText(int column);

private:
    std::array<std::array<std::set<QString>, kColumns>, kLists> m_columns;
};
