#include "dtawriter.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <array>
#include <set>
#include <vector>

namespace {
constexpr int kPairs = 37 * 37;
constexpr int kEntries = 1370;
constexpr int kHeaderSize = 4 * kEntries;

int code(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= '0' && c <= '9')
        return 26 + c - '0';
    return c == '/' ? 36 : -1;
}
} // namespace

void DtaWriter::putEntry(QByteArray& file, int index, quint32 value) {
    for (int b = 0; b < 4; ++b)
        file[4 * index + b] = char((value >> (8 * b)) & 0xFF);
}

QByteArray DtaWriter::header(const QList<quint32>& entries) {
    QByteArray bytes(kHeaderSize, '\0');
    for (int i = 0; i < kEntries && i < entries.size(); ++i)
        putEntry(bytes, i, entries.at(i));
    return bytes;
}

QByteArray DtaWriter::build(const QStringList& callsigns) {
    std::vector<QByteArray> blocks(kPairs);
    for (const QString& call : callsigns) {
        QByteArray entry = call.trimmed().toUpper().toLatin1();
        entry.replace(' ', '_');
        std::set<int> pairs;
        for (qsizetype i = 0; i + 1 < entry.size(); ++i) {
            const int a = code(entry[i]);
            const int b = code(entry[i + 1]);
            if (a >= 0 && b >= 0)
                pairs.insert(37 * a + b);
        }
        for (const int k : pairs) {
            blocks[size_t(k)] += entry;
            blocks[size_t(k)] += '\0';
        }
    }
    QByteArray file(kHeaderSize, '\0');
    quint32 offset = kHeaderSize;
    for (int k = 0; k < kPairs; ++k) {
        putEntry(file, k, offset);
        offset += quint32(blocks[size_t(k)].size());
    }
    putEntry(file, kPairs, offset);
    for (const QByteArray& block : blocks)
        file += block;
    return file;
}

bool DtaWriter::write(const QString& path, const QStringList& callsigns) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(build(callsigns));
    return file.commit();
}

QStringList DtaWriter::readCallList(const QString& path) {
    QFile file(path);
    QStringList calls;
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            calls.append(line);
    }
    return calls;
}
