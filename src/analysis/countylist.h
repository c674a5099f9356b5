#pragma once

#include "analysis/analysisoptions.h"
#include "core/textfile.h"

#include <QSet>
#include <QStringList>

#include <vector>

// The county list read from powiaty.txt: characters 1–2 of a line are the county, character 4 its province.
// In the county mode an entry is the county (IC); otherwise the province letter and the county (SIC).
class CountyList {
public:
    TextFile::Status LoadCountyList(const QString& path, AnalysisMode mode);
    void setEntries(const QStringList& entries);

    // Exact whole-entry match, regardless of letter case.
    bool contains(QStringView key) const;
    const QStringList& entries() const { return m_sorted; }
    bool isEmpty() const { return m_sorted.isEmpty(); }
    static QString entryFor(QStringView fileLine, AnalysisMode mode);

private:
    QStringList m_sorted;
    QSet<QString> m_upper;
    // The entries of up to three ASCII characters, each packed into a number, sorted: the exchange of a loaded
    // contact is looked up without building a string.
    std::vector<quint64> m_packed;
};
