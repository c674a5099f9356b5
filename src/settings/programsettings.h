#pragma once

#include "settings/inifile.h"

#include <QObject>

// kvr_log.ini as the running program holds it: read from the disk once, shared by every window, each write on
// the disk (rewritten whole and atomically) when it returns. A window that shows a value listens to changed()
// to follow a change another window made.
class ProgramSettings : public QObject {
    Q_OBJECT
public:
    explicit ProgramSettings(QString path, QObject* parent = nullptr);
    ~ProgramSettings() override;

    const QString& path() const { return m_file.path(); }
    // What the option structs read from and write to; writes through it are announced like the others.
    IniFile& file() { return m_file; }
    const IniFile& file() const { return m_file; }

    template <SettingsValue T> T value(const SettingsKey<T>& key) const { return m_file.value(key); }
    template <SettingsValue T> T value(const SettingsKey<T>& key, const std::type_identity_t<T>& fallback) const {
        return m_file.value(key, fallback);
    }
    template <SettingsValue T>
    TextFile::Status setValue(const SettingsKey<T>& key, const std::type_identity_t<T>& newValue) {
        return m_file.setValue(key, newValue);
    }
    template <SettingsValue T> bool contains(const SettingsKey<T>& key) const { return m_file.contains(key); }

    // Whether a change announced for section and name is the one of key (names are found regardless of case).
    template <SettingsValue T>
    static bool concerns(const SettingsKey<T>& key, const QString& section, const QString& name) {
        return key.section.compare(section, Qt::CaseInsensitive) == 0 &&
               key.name.compare(name, Qt::CaseInsensitive) == 0;
    }

    // Several keys written as one rewrite of the file at the end of the scope; batchStatus() tells whether it
    // reached the disk.
    class Batch {
    public:
        explicit Batch(ProgramSettings& settings) : m_batch(settings.m_file) {}

    private:
        IniFile::Batch m_batch;
    };
    const TextFile::Status& batchStatus() const { return m_file.batchStatus(); }

signals:
    // After a write changed the key's value, once the write is done.
    void changed(const QString& section, const QString& key);

private:
    IniFile m_file;
};
