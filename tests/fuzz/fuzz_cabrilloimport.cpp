// Cabrillo files come from contest robots and other loggers. Every "QSO:" line is imported or counted as
// skipped, the imported lines are each one line of the log, contacts of one minute get distinct seconds, and
// the log with the contacts appended loads back whole.
#include "fuzzsupport.h"

#include "core/qso.h"
#include "core/textfile.h"
#include "interchange/cabrilloimport.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace {

// Two contacts already in the log, in the minute of the seed files, so the seconds have something to avoid.
const QStringList& existingLog() {
    static const QStringList lines = {
        QStringLiteral("2007-05-12 120500  20M CW 599         001 SP1AA           599      017            "),
        QStringLiteral("2024-06-01 120000   2M CW 599   001KO02MD SP2BB           599   005JO90AB    "),
    };
    return lines;
}

const std::vector<QsoRecord>& existingRecords() {
    static const std::vector<QsoRecord> records = [] {
        std::vector<QsoRecord> out;
        for (const QString& line : existingLog())
            out.push_back(*QsoRecord::fromLine(line));
        return out;
    }();
    return records;
}

// The date and time of a line ("yyyy-mm-dd hhmmss") and its minute, as the log reads them.
QString stampOf(const QString& line) {
    return TextFile::decode(QsoRecord::fromLine(line)->dateAndTime());
}

QString minuteOf(const QString& line) {
    return Qso::fromLine(line)->dateAndMinute();
}

bool isQsoLine(QStringView line) {
    static const char kTag[] = "QSO:";
    if (line.size() < 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        const char16_t c = line[i].unicode();
        const char16_t upper = (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
        if (upper != char16_t(kTag[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = TextFile::decode(Fuzz::bytes(data, size));
    CabrilloImport import(existingRecords());
    const CabrilloImport::Result result = import.parse(text);

    // A line of a Cabrillo file ends at CR or LF, each on its own.
    QString separated = text;
    separated.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    qsizetype qsoLines = 0;
    for (const QStringView line : QStringView(separated).split(QLatin1Char('\n')))
        qsoLines += isQsoLine(line) ? 1 : 0;
    FUZZ_CHECK(result.lines.size() + result.skipped == qsoLines && result.qsoLines == qsoLines,
               "every \"QSO:\" line gives a QSO line or is counted as skipped");
    FUZZ_CHECK(result.notes.size() == result.skipped, "every line left out is named in a note");

    QHash<QString, int> perMinute;
    QSet<QString> stamps;
    for (const QString& line : existingLog()) {
        ++perMinute[minuteOf(line)];
        stamps.insert(stampOf(line));
    }
    for (const QString& line : result.lines) {
        FUZZ_CHECK(!Fuzz::hasControlCharacter(line), "an imported QSO line holds no NUL, TAB or other control "
                                                     "character");
        FUZZ_CHECK(line.size() == QsoLayout::kBodyLength, "an imported QSO line is a body of 74 characters");
        ++perMinute[minuteOf(line)];
    }
    for (const QString& line : result.lines) {
        // A minute holds sixty distinct seconds; past that, stamps must repeat.
        if (perMinute.value(minuteOf(line)) > 60)
            continue;
        FUZZ_CHECK(!stamps.contains(stampOf(line)), "contacts of one minute get distinct seconds");
        stamps.insert(stampOf(line));
    }

    QStringList appended = existingLog();
    appended += result.lines;
    Fuzz::checkLogLoadsBack(appended);
    return 0;
}
