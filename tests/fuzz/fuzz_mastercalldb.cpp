// A .dta database is a binary file from outside the program. The reader takes it only when its header describes
// the file block by block, never reads outside it, and a search returns only callsigns that hold the pattern.
// The same bytes, read as a list of callsigns and built into a database, must give every matching callsign.
#include "fuzzsupport.h"

#include "dtawriter.h"
#include "lookup/mastercalldb.h"

#include <QRegularExpression>

namespace {

// The pattern in the entry, "?" standing for any one character; written apart from the reader's own matching.
bool holds(QStringView entry, QStringView pattern) {
    for (qsizetype start = 0; start + pattern.size() <= entry.size(); ++start) {
        bool all = true;
        for (qsizetype i = 0; all && i < pattern.size(); ++i)
            all = pattern[i] == QLatin1Char('?') || pattern[i] == entry[start + i];
        if (all)
            return true;
    }
    return false;
}

// Whether the reader can search the pattern: it needs two adjacent characters of "A…Z0…9/".
bool searchable(QStringView pattern) {
    for (qsizetype i = 0; i + 1 < pattern.size(); ++i) {
        if (MasterCallDatabase::code(pattern[i]) >= 0 && MasterCallDatabase::code(pattern[i + 1]) >= 0)
            return true;
    }
    return false;
}

const QStringList kPatterns = {
    QStringLiteral("SP"),  QStringLiteral("sp9"), QStringLiteral("?P9"),    QStringLiteral("9A/"),
    QStringLiteral("A?C"), QStringLiteral("/P"),  QStringLiteral("SP9ABC"), QStringLiteral("??"),
    QStringLiteral("Z"),   QStringLiteral("E0A"), QStringLiteral(" dl1 "),  QStringLiteral("ŁA"),
};

void checkHostileFile(const QByteArray& bytes) {
    const QString path = Fuzz::scratchPath(QStringLiteral("hostile.dta"));
    Fuzz::writeFile(path, reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    MasterCallDatabase db;
    const MasterCallDatabase::LoadResult loaded = db.LoadDatabase(path);
    FUZZ_CHECK(loaded.ok == MasterCallDatabase::checkImage(bytes, bytes.size()).has_value(),
               "the file is taken exactly when its header describes it");
    FUZZ_CHECK(loaded.ok == db.isLoaded(), "a rejected file leaves no database in use");
    if (!loaded) {
        FUZZ_CHECK(!loaded.error.isEmpty(), "a rejected file is reported");
        return;
    }
    FUZZ_CHECK(db.fileSize() == bytes.size(), "the database notes the size it read");
    for (const QString& pattern : kPatterns) {
        db.PartialSearch(pattern);
        const QString wanted = pattern.trimmed().toUpper();
        for (const QString& result : db.results())
            FUZZ_CHECK(holds(result, wanted), "a search returns only callsigns that hold the pattern");
    }
}

// Callsigns as the database holds them: upper-case letters, digits and "/".
QStringList callsFrom(QByteArrayView bytes) {
    static const QRegularExpression kCall(QStringLiteral("^[A-Z0-9/]{1,15}$"));
    QStringList calls;
    for (const QString& line : Fuzz::textLines(bytes)) {
        const QString call = line.trimmed().toUpper();
        if (kCall.match(call).hasMatch())
            calls.append(call);
    }
    return calls;
}

void checkBuiltDatabase(const QStringList& calls) {
    const QString path = Fuzz::scratchPath(QStringLiteral("built.dta"));
    FUZZ_CHECK(DtaWriter::write(path, calls), "the database is written");
    MasterCallDatabase db;
    FUZZ_CHECK(db.LoadDatabase(path).ok, "a database built by the rules is taken");

    QStringList patterns = kPatterns;
    // Parts of the file's own callsigns, with a "?" for one of their characters.
    for (qsizetype i = 0; i < std::min<qsizetype>(calls.size(), 4); ++i) {
        const QString& call = calls.at(i);
        QString part = call.mid(1, 3);
        patterns.append(part);
        if (part.size() == 3) {
            part[1] = QLatin1Char('?');
            patterns.append(part);
        }
        patterns.append(call.toLower());
    }
    for (const QString& pattern : patterns) {
        const QString wanted = pattern.trimmed().toUpper();
        if (!searchable(wanted))
            continue;
        QStringList expected;
        for (const QString& call : calls) {
            if (holds(call, wanted))
                expected.append(call);
        }
        db.PartialSearch(pattern);
        FUZZ_CHECK(db.results() == expected, "a search finds every callsign that holds the pattern, in file order");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkHostileFile(bytes);
    checkBuiltDatabase(callsFrom(Fuzz::bytes(data, size)));
    return 0;
}
