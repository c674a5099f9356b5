#pragma once

#include "core/textfile.h"
#include "platform/filestamp.h"
#include "settings/settingskey.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <type_traits>

// The settings file kvr_log.ini with the semantics of a Windows profile file: sections and keys are found
// regardless of letter case, keys may hold blanks, Polish letters and even "=" ("Mnożnik=lokator"), and
// every write is on the disk when it returns. Lines the class does not understand are kept as they are.
// The file is written as UTF-8; an older file in Windows-1250 is recognised and read as such.
// The program reads and writes its keys through the table of settings/settingskeys.h; the access by section
// and key name below is what the table is built on.
// Another program (kvrlog-cli reserving a serial, an editor) may change the file while it is held: each read and
// each write first looks whether the file on the disk changed, reads it again if so and tells the keys whose values
// that changed; a write then lands on top of the fresh content, so neither side loses its keys.
class IniFile {
public:
    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const { return m_path; }
    bool exists() const { return m_exists; }
    // The file exists but could not be read: it counts as missing, every value is its default, and nothing is
    // written to it.
    bool isUnreadable() const { return !m_unreadableReason.isNull(); }
    QString unreadableMessage() const;

    // A missing key reads as the key's default, or as fallback where the default is a window's current state.
    template <SettingsValue T> T value(const SettingsKey<T>& key) const { return value(key, key.defaultValue); }
    template <SettingsValue T> T value(const SettingsKey<T>& key, const std::type_identity_t<T>& fallback) const;
    template <SettingsValue T>
    TextFile::Status setValue(const SettingsKey<T>& key, const std::type_identity_t<T>& newValue);
    template <SettingsValue T> bool contains(const SettingsKey<T>& key) const { return hasKey(key.section, key.name); }
    // Whether the key's section is in the file, with any of its keys.
    template <SettingsValue T> bool containsSectionOf(const SettingsKey<T>& key) const {
        return hasSection(key.section);
    }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Not a number: the default. Accepts decimal, "$" and "0x" hexadecimal.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    double readFloat(const QString& section, const QString& key, double defaultValue) const;
    bool hasKey(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const;

    TextFile::Status writeString(const QString& section, const QString& key, const QString& value);
    TextFile::Status writeInteger(const QString& section, const QString& key, int value);
    TextFile::Status writeBool(const QString& section, const QString& key, bool value);
    TextFile::Status writeFloat(const QString& section, const QString& key, double value);

    // Groups the writes of one piece (closing the program writes hundreds of keys) into one durable rewrite
    // at the end of the scope.
    class Batch {
    public:
        explicit Batch(IniFile& file) : m_file(file) {
            if (m_file.m_batchDepth++ == 0)
                m_file.m_batchStatus = {};
        }
        ~Batch() { m_file.endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        IniFile& m_file;
    };

    // Whether the rewrite at the end of the last batch reached the disk.
    const TextFile::Status& batchStatus() const { return m_batchStatus; }

    static QString decodeFile(const QByteArray& bytes);

    // Told of every key whose value a write changed, once the write (or the batch it is part of) has been
    // committed, successfully or not: the value read from now on is the new one either way. Also told, at once,
    // of every key whose value changed because the file was changed on the disk by someone else; a line whose key
    // or value holds "=" is told under each name it could be read by.
    using ChangeHandler = std::function<void(const QString& section, const QString& key)>;
    void setChangeHandler(ChangeHandler handler) { m_changed = std::move(handler); }

private:
    struct Found {
        qsizetype line = -1;
        qsizetype valueStart = 0;
    };
    struct Write {
        QString section;
        QString key;
        QString text;
    };
    static qsizetype findSection(const QStringList& lines, const QString& section);
    static Found findKey(const QStringList& lines, const QString& section, const QString& key);
    static std::optional<QString> stored(const QStringList& lines, const QString& section, const QString& key);
    // Puts the value's line into lines; false when the line was already there as it is.
    static bool put(QStringList& lines, const Write& write);
    static QList<std::pair<QString, QString>> changedKeys(const QStringList& before, const QStringList& after);
    std::optional<QString> stored(const QString& section, const QString& key) const;
    // Reads the file again when its stamp is not the one of the last read or write. Reads are const to their
    // callers; what the file holds is the cache this refreshes.
    void refresh() const;
    TextFile::Status commit();
    void endBatch();
    void announceChanges();

    QString m_path;
    mutable QStringList m_lines;
    mutable bool m_exists = false;
    mutable QString m_unreadableReason;
    mutable FileStamp m_stamp;
    int m_batchDepth = 0;
    bool m_dirty = false;
    // The writes of the open batch, put again on top of the file when it is read again before the batch ends.
    QList<Write> m_batchWrites;
    TextFile::Status m_batchStatus;
    ChangeHandler m_changed;
    QList<std::pair<QString, QString>> m_pendingChanges;
};

template <SettingsValue T> T IniFile::value(const SettingsKey<T>& key, const std::type_identity_t<T>& fallback) const {
    if constexpr (std::is_same_v<T, bool>)
        return readBool(key.section, key.name, fallback);
    else if constexpr (std::is_same_v<T, int>)
        return readInteger(key.section, key.name, fallback);
    else if constexpr (std::is_same_v<T, double>)
        return readFloat(key.section, key.name, fallback);
    else
        return readString(key.section, key.name, fallback);
}

template <SettingsValue T>
TextFile::Status IniFile::setValue(const SettingsKey<T>& key, const std::type_identity_t<T>& newValue) {
    if constexpr (std::is_same_v<T, bool>)
        return writeBool(key.section, key.name, newValue);
    else if constexpr (std::is_same_v<T, int>)
        return writeInteger(key.section, key.name, newValue);
    else if constexpr (std::is_same_v<T, double>)
        return writeFloat(key.section, key.name, newValue);
    else
        return writeString(key.section, key.name, newValue);
}
