#pragma once

struct AnalysisContext;
class LogBook;

// Recomputes the logged counties of the current band and mode from the whole log (after a band or mode
// change). Only the county modes with the analysis on keep such a list; otherwise nothing changes.
void RebuildLoggedCounties(LogBook& log, const AnalysisContext& context);
