#include "platform/filestamp.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#else
#include <QFileInfo>
#endif

FileStamp FileStamp::of(const QString& path) {
#ifdef Q_OS_UNIX
    // Nanosecond times and the inode: two writes within one millisecond that keep the size still differ.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    constexpr qint64 kNs = 1000000000;
    return {true,
            quint64(st.st_dev),
            quint64(st.st_ino),
            qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * kNs + st.st_mtim.tv_nsec,
            qint64(st.st_ctim.tv_sec) * kNs + st.st_ctim.tv_nsec};
#else
    QFileInfo info(path);
    info.setCaching(false);
    if (!info.exists())
        return {};
    return {true,
            0,
            0,
            info.size(),
            info.lastModified().toMSecsSinceEpoch() * 1000000,
            info.metadataChangeTime().toMSecsSinceEpoch() * 1000000};
#endif
}
