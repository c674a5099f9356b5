// Contest definitions are written by hand and shared between operators. Any bytes give either a definition the
// rest of the program can use as it is, or one message naming the file and a line of it; never both, never
// neither, and the same answer every time.
#include "fuzzsupport.h"

#include "contest/contestdefinition.h"

#include <algorithm>

namespace {

bool isPlainLine(const QString& text) {
    return !text.isEmpty() && std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; });
}

void checkDefinition(const ContestDefinition& d, qsizetype lineCount) {
    FUZZ_CHECK(d.fileName == QStringLiteral("fuzz"), "the definition is named by its file without the extension");
    FUZZ_CHECK(isPlainLine(d.name) && isPlainLine(d.cabrilloName), "the names are one line of text");
    FUZZ_CHECK(!d.bands.empty() && !d.modes.empty(), "a contest has bands and modes");
    for (size_t i = 0; i < d.bands.size(); ++i) {
        FUZZ_CHECK(d.bands[i].isValid(), "every band is one of the table");
        FUZZ_CHECK(i == 0 || d.bands[i - 1].index() < d.bands[i].index(), "bands in table order, each once");
    }
    for (const Mode& mode : d.modes)
        FUZZ_CHECK(mode.isKnown(), "every mode is one of the table");
    const bool byCode = d.exchange == ContestDefinition::Exchange::ReportAndCode;
    FUZZ_CHECK(byCode == !d.codes.isEmpty(), "codes exactly for an exchange of codes");
    QStringList codes = d.codes;
    FUZZ_CHECK(codes.removeDuplicates() == 0, "each code once");
    int previousLine = 0;
    for (const ContestDefinition::PointsRule& rule : d.pointsRules) {
        FUZZ_CHECK(rule.line > previousLine && rule.line <= lineCount, "rules in file order, on lines of the file");
        previousLine = rule.line;
        FUZZ_CHECK(rule.points >= 0 && rule.pointsPerKm >= 0, "no negative points");
        FUZZ_CHECK(rule.pointsPerKm == 0 || rule.points == 0, "points per contact or per km, not both");
        for (const ContestDefinition::Condition& c : rule.conditions) {
            FUZZ_CHECK(int(c.own) + int(c.other) + int(!c.values.isEmpty()) == 1,
                       "a condition is own, other or a list of values");
            for (const QString& value : c.values)
                FUZZ_CHECK(!value.isEmpty() && value == value.toUpper(), "values are upper case");
        }
    }
    for (const ContestDefinition::Multiplier& m : d.multipliers) {
        FUZZ_CHECK(m.kind != ContestDefinition::MultiplierKind::ExchangeCode || byCode,
                   "a code multiplier has codes to count");
        for (const QString& value : m.excluded)
            FUZZ_CHECK(!value.isEmpty() && value == value.toUpper(), "excluded values are upper case");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString name = QStringLiteral("fuzz.ini");
    const ContestDefinitionRead read = parseContestDefinition(bytes, name);
    const ContestDefinitionRead again = parseContestDefinition(bytes, name);
    FUZZ_CHECK(read.definition.has_value() == read.error.isEmpty(), "a definition or a message, never both");
    FUZZ_CHECK(read.error == again.error && read.definition.has_value() == again.definition.has_value(),
               "the same bytes read the same way");
    const qsizetype lineCount = Fuzz::textLines(Fuzz::bytes(data, size)).size();
    if (read.definition) {
        checkDefinition(*read.definition, lineCount);
        return 0;
    }
    const QString prefix = QStringLiteral("Plik zawodów fuzz.ini, wiersz ");
    FUZZ_CHECK(read.error.startsWith(prefix) && read.error.endsWith(QLatin1Char('.')), "the message names the file");
    const qsizetype colon = read.error.indexOf(QLatin1Char(':'), prefix.size());
    bool isNumber = false;
    const int line = colon < 0 ? -1 : read.error.mid(prefix.size(), colon - prefix.size()).toInt(&isNumber);
    FUZZ_CHECK(isNumber && line >= 0 && line <= lineCount, "the message names a line of the file, or line 0");
    return 0;
}
