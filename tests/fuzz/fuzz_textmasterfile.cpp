// A text MASTER file is a callsign list from anywhere (super-check-partial lists, exports of other programs).
// Reading it fills the worked-calls list with each callsign once, with its call-info entry, and nothing else.
#include "fuzzsupport.h"

#include "log/logbook.h"
#include "lookup/textmasterfile.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = Fuzz::scratchPath(QStringLiteral("master.txt"));
    Fuzz::writeFile(path, data, size);

    WorkedCalls calls;
    // A list read before is replaced, not added to; the name cannot come from a file, as a line has no LF.
    calls.add(QStringLiteral("EARLIER\nLIST"), QStringLiteral("EARLIER\nLIST;;"));
    const TextMasterFile::ReadResult result = TextMasterFile::read(path, calls);
    FUZZ_CHECK(result.status, "a readable file is read");
    FUZZ_CHECK(!calls.contains(u"EARLIER\nLIST"), "reading a file replaces the list read before");

    // Each station line gives its callsign: the line trimmed, up to the first ";".
    QSet<QString> expected;
    int stationLines = 0;
    for (const QString& line : Fuzz::textLines(Fuzz::bytes(data, size))) {
        const QString entry = line.trimmed();
        if (entry.isEmpty() || entry.startsWith(QLatin1Char('#')))
            continue;
        const QString call = entry.section(QLatin1Char(';'), 0, 0);
        if (call.isEmpty())
            continue;
        ++stationLines;
        expected.insert(call);
    }
    FUZZ_CHECK(result.count == stationLines, "the count is that of the lines naming a station");

    const QStringList& listed = calls.calls();
    FUZZ_CHECK(listed.size() == calls.infos().size(), "every callsign has its call-info entry");
    FUZZ_CHECK(QSet<QString>(listed.begin(), listed.end()) == expected, "the list holds the file's callsigns");
    FUZZ_CHECK(listed.size() == expected.size(), "each callsign is listed once");
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const QString& call = listed.at(i);
        FUZZ_CHECK(calls.indexOf(call) == i, "a callsign is found where it is listed");
        FUZZ_CHECK(calls.infos().at(i).startsWith(call + QLatin1Char(';')),
                   "a call-info entry starts with its callsign and \";\"");
        FUZZ_CHECK(calls.infoFor(call) == calls.infos().at(i), "a callsign's info is the entry beside it");
    }
    return 0;
}
