#include "lookup/workedcallsgroups.h"

#include "core/textfile.h"

#include <optional>

namespace {
std::optional<WorkedCallsGroups::List> listFor(Mode mode) {
    if (mode.isPhone())
        return WorkedCallsGroups::List::SSB;
    if (mode.isCw())
        return WorkedCallsGroups::List::CW;
    if (mode == Mode::fm())
        return WorkedCallsGroups::List::FM;
    return std::nullopt;
}

int areaDigit(QChar c) {
    return c.isDigit() && c.unicode() < 128 ? c.unicode() - '0' : -1;
}
} // namespace

void WorkedCallsGroups::clear() {
    for (auto& list : m_columns)
        for (auto& column : list)
            column.clear();
}

void WorkedCallsGroups::rebuild(std::span<const QsoRecord> log, Band band) {
    clear();
    for (const QsoRecord& qso : log)
        add(qso, band);
}

bool WorkedCallsGroups::add(const QsoRecord& qso, Band band) {
    if (!band.isValid() || qso.band() != band)
        return false;
    const auto list = listFor(qso.mode());
    if (!list)
        return false;
    const QString call = TextFile::decode(qso.field(QsoField::Call));
    if (call.isEmpty())
        return false;
    return m_columns[size_t(*list)][size_t(columnFor(call))].insert(entryFor(call)).second;
}

QStringList WorkedCallsGroups::columnEntries(List list, int column) const {
    const auto& entries = this->column(list, column);
    return {entries.begin(), entries.end()};
}

int WorkedCallsGroups::columnFor(QStringView call) {
    int digit = call.size() > 1 ? areaDigit(call[1]) : -1;
    if (digit < 0 && call.size() > 2)
        digit = areaDigit(call[2]);
    return digit >= 1 ? digit - 1 : kOtherColumn;
}

QString WorkedCallsGroups::entryFor(QStringView call) {
    if (columnFor(call) == kOtherColumn)
        return call.toString();
    return call.left(6).toString().leftJustified(6, QLatin1Char(' '));
}

WorkedCallsGroups::Prefix WorkedCallsGroups::prefixOf(QStringView entry) {
    const QStringView two = entry.left(2);
    if (two == QLatin1String("SP"))
        return Prefix::SP;
    if (two == QLatin1String("SQ"))
        return Prefix::SQ;
    if (two == QLatin1String("SN"))
        return Prefix::SN;
    return Prefix::Other;
}

QString WorkedCallsGroups::caption(QStringView band, List list) {
    static const char* const modes[] = {"   SSB", "   CW", "   FM"};
    return QStringLiteral("Lista zalogowanych znaków - pasmo ") + band.toString() + QLatin1String(modes[int(list)]);
}

QString WorkedCallsGroups::headerText(int column) {
    return column == kOtherColumn ? QStringLiteral("Inne") : QString::number(column + 1);
}
