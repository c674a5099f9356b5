// ADIF files come from any other logger. Whatever they hold, the import must give QSO lines that are each one
// line of the log and that the log loader takes back unchanged.
#include "fuzzsupport.h"

#include "core/qso.h"
#include "core/textfile.h"
#include "interchange/adifimport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // What AdifImport::readFile does with the file's bytes.
    const QString text = TextFile::decode(Fuzz::bytes(data, size));
    const AdifImport::Result result = AdifImport::parse(text);
    // A malformed file is refused whole: the import replaces the log, so half a file would lose contacts.
    if (!result.status) {
        FUZZ_CHECK(result.lines.isEmpty(), "a refused file gives no QSO lines");
        FUZZ_CHECK(result.status.error.endsWith(QStringLiteral("Import danych został przerwany.")),
                   "a refused file says the import was stopped");
        return 0;
    }
    FUZZ_CHECK(result.lines.size() + result.skipped == result.records,
               "every record ended by <EOR> gives a QSO line or is counted as skipped");
    FUZZ_CHECK(result.notes.size() >= result.skipped, "every record left out is named in a note");
    for (const QString& line : result.lines) {
        FUZZ_CHECK(!Fuzz::hasControlCharacter(line), "an imported QSO line holds no CR, LF, NUL or other control "
                                                     "character");
        FUZZ_CHECK(line.size() == QsoLayout::kBodyLength, "an imported QSO line is a body of 74 characters");
    }
    // The import replaces the log with these lines and reloads it.
    Fuzz::checkLogLoadsBack(result.lines);
    return 0;
}
