#pragma once

#include "analysis/analysisoptions.h"
#include "core/textfile.h"

#include <QString>

#include <vector>

// The log as semicolon-separated rows for spreadsheets.
class CsvExport {
public:
    static QString heading(const AnalysisOptions& analysis);
    // Ten fields; a dupe's mark is dropped.
    static QString row(QStringView line);
    static TextFile::Status
    write(const QString& path, const AnalysisOptions& analysis, const std::vector<QString>& log);
};
