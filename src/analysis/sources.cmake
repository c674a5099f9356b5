target_sources(kvr_core PRIVATE
    analysis/analysisoptions.h analysis/analysisoptions.cpp
    analysis/locator.h analysis/locator.cpp
    analysis/countylist.h analysis/countylist.cpp
    analysis/exchangeanalysis.h analysis/exchangeanalysis.cpp
    analysis/scoresummary.h analysis/scoresummary.cpp
    analysis/operatordata.h analysis/operatordata.cpp
)
