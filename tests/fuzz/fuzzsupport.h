#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstddef>
#include <cstdint>

// Stops the run on a broken invariant; libFuzzer keeps the input that caused it as a crash file.
[[noreturn]] void fuzzFailure(const char* invariant, const char* file, int line);

#define FUZZ_CHECK(condition, invariant)                                                                               \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fuzzFailure(invariant, __FILE__, __LINE__);                                                                \
    } while (false)

namespace Fuzz {

// A file in a temporary folder made once per process, so each input costs a write and no directory work.
QString scratchPath(const QString& name);
void writeFile(const QString& path, const uint8_t* data, size_t size);
QByteArrayView bytes(const uint8_t* data, size_t size);

// The lines of a text file of the program as it documents them: Windows-1250, and CR LF, LF or a lone CR
// ends a line. Written independently of the reader, so the two can be compared.
QStringList textLines(QByteArrayView bytes);

// CR, LF, NUL or any other C0 control character: none may reach a line of the log.
bool hasControlCharacter(QStringView text);

// What the log file holds of a line after writing it: Windows-1250, so a character outside it becomes "?".
QString onDisk(const QString& line);

// Writes the lines as one log file and loads it with the analysis off: every line must come back as one
// contact with the same 74-character body.
void checkLogLoadsBack(const QStringList& lines);

// Bodies of the loaded contacts, sorted, for comparing logs whatever their order and suffixes.
QStringList sortedBodies(const QStringList& lines);

} // namespace Fuzz
