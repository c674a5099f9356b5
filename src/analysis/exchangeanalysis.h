#pragma once

#include "analysis/analysisoptions.h"

#include <QString>
#include <QStringView>

#include <optional>

class CountyList;

// Everything the analysis of one QSO depends on besides the line itself.
struct AnalysisContext {
    AnalysisOptions options;
    const CountyList* counties = nullptr;
    QString ownLocator;
    QString currentBand; // band selector text, "80M"
    QString currentMode; // mode selector text, "CW"
};

struct QsoAnalysis {
    QString suffix;                // what follows column 74 of the line
    QString county;                // county key found in the list, if any
    bool logCounty = false;        // the county goes into the logged counties (current band and mode)
    std::optional<int> distanceKm; // distance credited to the ODX total
    QString infoCounty;            // county field of the call-info entry ("_IC" or "SIC")
    QString infoLocator;           // locator field of the call-info entry
};

// The analysis key: the received exchange trimmed, then its last 2, 3 or 6 characters.
QString analysisKey(QStringView receivedExchange, int keyLength);

// The analysis of one QSO line (the body of 74 characters is what counts); a dupe gets none.
QsoAnalysis AnalyseQso(QStringView line, bool dupe, const AnalysisContext& context);

// Whether a county found on this line belongs to the logged counties of the current band and mode.
bool countyCountsForCurrent(QStringView line, const AnalysisContext& context);

// The call-info entry: callsign;county;locator.
QString callInfoEntry(QStringView call, QStringView county, QStringView locator);
