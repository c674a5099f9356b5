#include "lookup/textmasterfile.h"

#include "lookup/workedcalls.h"

TextMasterFile::ReadResult TextMasterFile::read(const QString& path, WorkedCalls& calls) {
    calls.clear();
    ReadResult result;
    result.status = TextFile::forEachLine(path, [&](QString&& line) {
        const QString entry = line.trimmed();
        if (entry.isEmpty() || entry.startsWith(QLatin1Char('#')))
            return true;
        const qsizetype semicolon = entry.indexOf(QLatin1Char(';'));
        const QString call = semicolon < 0 ? entry : entry.left(semicolon);
        if (call.isEmpty())
            return true;
        ++result.count;
        calls.add(call, semicolon < 0 ? entry + QLatin1String(";;") : entry);
        return true;
    });
    return result;
}
