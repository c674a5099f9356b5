#include "core/textfile.h"

#include "platform/writefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include <algorithm>
#include <array>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// Reverse map for the upper half, built once.
const QHash<char16_t, char>& reverseTable() {
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int i = 0; i < 128; ++i)
            t.insert(kHighHalf[size_t(i)], char(0x80 + i));
        return t;
    }();
    return table;
}

constexpr qint64 kChunk = 1 << 20;

} // namespace

namespace TextFile {

QString decode(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *dst++ = b < 0x80 ? QChar(b) : QChar(kHighHalf[b - 0x80]);
    }
    return out;
}

char16_t decodeByte(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return b < 0x80 ? char16_t(b) : kHighHalf[b - 0x80];
}

QByteArray encode(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            *dst++ = char(u);
        } else {
            *dst++ = reverseTable().value(u, '?');
        }
    }
    return out;
}

QString openFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Nie można otworzyć pliku:\n%1\n\n%2").arg(path, reason);
}

QString writeFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Nie można zapisać pliku:\n%1\n\n%2").arg(path, reason);
}

Status forEachLineBytes(const QString& path, const std::function<bool(QByteArrayView)>& onLine) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(openFailure(path, file.errorString()));
    // A line cut by the end of a chunk waits here for its rest; every other line is handed on where it lies.
    QByteArray pending;
    bool lastWasCr = false;
    QByteArray chunk;
    while (true) {
        chunk = file.read(kChunk);
        if (chunk.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                return Status::failure(openFailure(path, file.errorString()));
            break;
        }
        const char* data = chunk.constData();
        const qsizetype size = chunk.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char c = data[i];
            if (c != '\n' && c != '\r')
                continue;
            if (c == '\n' && lastWasCr && i == start && pending.isEmpty()) {
                // second half of a CR LF pair
                start = i + 1;
                lastWasCr = false;
                continue;
            }
            lastWasCr = (c == '\r');
            bool more;
            if (pending.isEmpty()) {
                more = onLine(QByteArrayView(data + start, i - start));
            } else {
                pending.append(data + start, i - start);
                more = onLine(pending);
                pending.clear();
            }
            start = i + 1;
            if (!more)
                return {};
        }
        if (start < size) {
            pending.append(data + start, size - start);
            lastWasCr = false;
        }
    }
    if (!pending.isEmpty())
        onLine(pending);
    return {};
}

Status forEachLine(const QString& path, const std::function<bool(QString&&)>& onLine) {
    return forEachLineBytes(path, [&onLine](QByteArrayView line) { return onLine(decode(line)); });
}

Status readLines(const QString& path, QStringList& lines) {
    lines.clear();
    return forEachLine(path, [&lines](QString&& line) {
        lines.append(std::move(line));
        return true;
    });
}

QString systemReason(int errorCode) {
    return qt_error_string(errorCode);
}

bool writeAll(QFileDevice& file, QByteArrayView bytes, QString& reason) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 wanted = std::min<qint64>(bytes.size() - done, kChunk);
        const qint64 fits = WriteFaults::admit(wanted);
        const qint64 written = fits > 0 ? file.write(bytes.data() + done, fits) : 0;
        if (written < 0 || written < fits) {
            reason = file.error() != QFileDevice::NoError ? file.errorString() : systemReason(ENOSPC);
            return false;
        }
        done += written;
        if (fits < wanted) {
            reason = systemReason(ENOSPC);
            return false;
        }
    }
    return true;
}

Status syncFile(QFileDevice& file, const QString& path) {
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        return Status::failure(writeFailure(path, systemReason(errno)));
#else
    Q_UNUSED(file);
    Q_UNUSED(path);
#endif
    return {};
}

Status syncFolder(const QString& path) {
#ifdef Q_OS_UNIX
    // The rename of a rewrite is only durable once the folder that holds the name is on the disk too.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(writeFailure(path, systemReason(errno)));
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; their renames are as durable as they get.
    if (synced != 0 && error != EINVAL)
        return Status::failure(writeFailure(path, systemReason(error)));
#else
    Q_UNUSED(path);
#endif
    return {};
}

namespace {

// A whole-file rewrite: the new content goes to a temporary beside the file, is synced, and then takes the
// file's name in one rename, so a crash leaves the old or the new file. The temporary's name carries our
// marker, so the clean-up at start-up removes only what a killed rewrite of ours left behind.
class ReplacingFile {
public:
    explicit ReplacingFile(QString path)
        : m_path(std::move(path)), m_temporary(m_path + QLatin1String(kTemporaryMarker) + QStringLiteral("XXXXXX")) {}

    Status open() {
        if (!m_temporary.open())
            return Status::failure(writeFailure(m_path, m_temporary.errorString()));
        // A log rewritten keeps who may read it; a new file gets the usual rights of a document.
        const QFileInfo existing(m_path);
        const QFileDevice::Permissions rights = existing.exists() ? existing.permissions()
                                                                  : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                        QFileDevice::ReadGroup | QFileDevice::ReadOther;
        m_temporary.setPermissions(rights);
        return {};
    }

    Status write(QByteArrayView bytes) {
        QString reason;
        if (!writeAll(m_temporary, bytes, reason))
            return Status::failure(writeFailure(m_path, reason));
        return {};
    }

    Status commit() {
        if (!m_temporary.flush())
            return Status::failure(writeFailure(m_path, m_temporary.errorString()));
        if (Status synced = syncFile(m_temporary, m_path); !synced)
            return synced;
        const QString temporaryPath = m_temporary.fileName();
        m_temporary.close();
        if (Status renamed = replaceWith(temporaryPath); !renamed)
            return renamed;
        m_temporary.setAutoRemove(false);
        return syncFolder(m_path);
    }

private:
    Status replaceWith(const QString& temporaryPath) const {
#ifdef Q_OS_WIN
        if (!::MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(temporaryPath).utf16()),
                           reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(m_path).utf16()),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return Status::failure(writeFailure(m_path, QStringLiteral("MoveFileEx: %1").arg(::GetLastError())));
#else
        if (::rename(QFile::encodeName(temporaryPath).constData(), QFile::encodeName(m_path).constData()) != 0)
            return Status::failure(writeFailure(m_path, systemReason(errno)));
#endif
        return {};
    }

    QString m_path;
    // Removed by its destructor unless it became the file: a failed rewrite leaves nothing behind.
    QTemporaryFile m_temporary;
};

} // namespace

Status writeText(const QString& path, QByteArrayView bytes) {
    ReplacingFile file(path);
    if (Status opened = file.open(); !opened)
        return opened;
    if (Status written = file.write(bytes); !written)
        return written;
    return file.commit();
}

QByteArray encodeLines(const QStringList& lines) {
    QByteArray bytes;
    qsizetype total = 0;
    for (const QString& line : lines)
        total += line.size() + 2;
    bytes.reserve(total);
    for (const QString& line : lines) {
        bytes += encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

Status writeLines(const QString& path, const QStringList& lines) {
    return writeText(path, encodeLines(lines));
}

Status copyFile(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return Status::failure(openFailure(from, source.errorString()));
    ReplacingFile target(to);
    if (Status opened = target.open(); !opened)
        return opened;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kChunk);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return Status::failure(openFailure(from, source.errorString()));
        if (Status written = target.write(chunk); !written)
            return written;
    }
    return target.commit();
}

QString folderWriteProblem(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-check") + QLatin1String(kTemporaryMarker) +
                                               QStringLiteral("XXXXXX")));
    if (!probe.open())
        return probe.errorString();
    QString reason;
    if (!writeAll(probe, QByteArray(512, 'x'), reason))
        return reason;
    if (!probe.flush())
        return probe.errorString();
#ifdef Q_OS_UNIX
    if (::fsync(probe.handle()) != 0)
        return systemReason(errno);
#endif
    return {};
}

bool isTemporaryName(QStringView fileName) {
    const qsizetype at = fileName.lastIndexOf(QLatin1String(kTemporaryMarker));
    if (at <= 0 || fileName.size() - at - qsizetype(qstrlen(kTemporaryMarker)) != 6)
        return false;
    for (QChar c : fileName.sliced(at + qsizetype(qstrlen(kTemporaryMarker)))) {
        if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
            return false;
    }
    return true;
}

} // namespace TextFile
