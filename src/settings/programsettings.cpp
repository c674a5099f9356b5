#include "settings/programsettings.h"

ProgramSettings::ProgramSettings(QString path, QObject* parent) : QObject(parent), m_file(std::move(path)) {
    m_file.setChangeHandler([this](const QString& section, const QString& key) { emit changed(section, key); });
}

ProgramSettings::~ProgramSettings() = default;
