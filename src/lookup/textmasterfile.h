#pragma once

#include "core/textfile.h"

#include <QString>

class WorkedCalls;

// A text MASTER file: one station a line, "callsign" or "callsign;county;locator". Lines starting with "#"
// are the comments of the common super-check-partial lists and blank lines carry no callsign; both are
// skipped.
namespace TextMasterFile {

struct ReadResult {
    TextFile::Status status;
    int count = 0; // callsigns read
};

// Clears the worked-calls and call-info lists and fills them from the file.
ReadResult read(const QString& path, WorkedCalls& calls);

} // namespace TextMasterFile
