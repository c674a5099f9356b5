#pragma once

#include "analysis/analysisoptions.h"
#include "core/bands.h"
#include "core/modes.h"

#include <QString>
#include <QStringView>

#include <optional>

class CountyList;

// Everything the analysis of one QSO depends on besides the line itself.
struct AnalysisContext {
    AnalysisOptions options;
    const CountyList* counties = nullptr;
    QString ownLocator;
    Band currentBand;
    Mode currentMode;
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

// The analysis of one contact from its received exchange, band and mode; a dupe gets none.
QsoAnalysis AnalyseQso(QStringView receivedExchange, Band band, Mode mode, bool dupe, const AnalysisContext& context);

// Whether a county found on a contact of this band and mode belongs to the logged counties of the current band
// and mode.
bool countyCountsForCurrent(Band band, Mode mode, const AnalysisContext& context);

// The call-info entry: callsign;county;locator.
QString callInfoEntry(QStringView call, QStringView county, QStringView locator);
