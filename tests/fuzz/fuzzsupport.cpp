#include "fuzzsupport.h"

#include "core/qsoline.h"
#include "core/textfile.h"
#include "log/logbook.h"
#include "log/logloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

void fuzzFailure(const char* invariant, const char* file, int line) {
    std::fprintf(stderr, "\n*** broken invariant at %s:%d: %s\n", file, line, invariant);
    std::fflush(stderr);
    std::abort();
}

namespace Fuzz {

QString scratchPath(const QString& name) {
    // Settings and rewritten logs are synced to the disk on every write; in memory that costs nothing.
    static const QString base =
        QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/kvr-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        std::exit(1);
    }
    return dir.filePath(name);
}

void writeFile(const QString& path, const uint8_t* data, size_t size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArrayView bytes(const uint8_t* data, size_t size) {
    return QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size));
}

QStringList textLines(QByteArrayView bytes) {
    QString text = TextFile::decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    // A line end closes a line; it does not open an empty one after it.
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

bool hasControlCharacter(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20)
            return true;
    }
    return false;
}

QString onDisk(const QString& line) {
    return TextFile::decode(TextFile::encode(line));
}

QStringList sortedBodies(const QStringList& lines) {
    QStringList bodies;
    bodies.reserve(lines.size());
    for (const QString& line : lines)
        bodies.append(line.left(QsoLayout::kBodyLength).leftJustified(QsoLayout::kBodyLength));
    bodies.sort();
    return bodies;
}

void checkLogLoadsBack(const QStringList& lines) {
    const QString path = scratchPath(QStringLiteral("loadback.kvr"));
    const TextFile::Status written = TextFile::writeLines(path, lines);
    if (!written)
        std::fprintf(stderr, "%s\n", qPrintable(written.error));
    FUZZ_CHECK(written, "the log file is written");
    LogBook log;
    log.setPath(path);
    const LoadResult loaded = LoadLog(log, LogContext());
    FUZZ_CHECK(loaded.status != LoadResult::Status::FormatError, "a QSO line written to the log loads back");
    FUZZ_CHECK(loaded.complete(), "the log is read whole");
    FUZZ_CHECK(log.size() == lines.size(), "every QSO line comes back as one contact");
    QStringList expected;
    for (const QString& line : lines)
        expected.append(onDisk(line));
    FUZZ_CHECK(sortedBodies(log.lineTexts()) == sortedBodies(expected),
               "every contact comes back with the body it was written with");
}

} // namespace Fuzz
