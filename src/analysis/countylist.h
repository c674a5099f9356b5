#pragma once

#include "analysis/analysisoptions.h"
#include "core/textfile.h"

#include <QSet>
#include <QStringList>

#include <optional>
#include <vector>

// The county list read from powiaty.txt: characters 1–2 of a line are the county, character 4 its province.
// In the county mode an entry is the county (IC); otherwise the province letter and the county (SIC).
class CountyList {
public:
    TextFile::Status LoadCountyList(const QString& path, AnalysisMode mode);
    void setEntries(const QStringList& entries);

    // Exact whole-entry match, regardless of letter case.
    bool contains(QStringView key) const { return match(key).has_value(); }
    // The key found in the list, as written in the exchange; nullopt when the list does not hold it. A key
    // written as the list holds it shares the list's string, so the loader builds none per contact.
    std::optional<QString> match(QStringView key) const;
    const QStringList& entries() const { return m_sorted; }
    bool isEmpty() const { return m_sorted.isEmpty(); }
    static QString entryFor(QStringView fileLine, AnalysisMode mode);

private:
    QStringList m_sorted;
    QSet<QString> m_upper;
    // The entries of up to three ASCII characters, each packed into a number, sorted: the exchange of a loaded
    // contact is looked up without building a string.
    struct Packed {
        quint64 key;
        QString entry; // upper case
        bool operator<(const Packed& other) const { return key < other.key; }
    };
    std::vector<Packed> m_packed;
};
