#pragma once

#include <QString>
#include <QtGlobal>

// What tells that a file was changed by someone else since we last read or wrote it, without reading it: its
// identity (a file replaced by rename is a new one), size, modification and status-change times.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 statusChangedNs = 0;

    bool operator==(const FileStamp&) const = default;

    static FileStamp of(const QString& path);
};
