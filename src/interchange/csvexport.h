#pragma once

#include "analysis/analysisoptions.h"
#include "core/qso.h"
#include "core/textfile.h"

#include <QString>

#include <span>

// The log as semicolon-separated rows for spreadsheets.
class CsvExport {
public:
    static QString heading(const AnalysisOptions& analysis);
    // Ten fields; a dupe's mark is dropped.
    static QString row(const Qso& qso);
    static TextFile::Status write(const QString& path, const AnalysisOptions& analysis, std::span<const QsoRecord> log);
};
