#pragma once

#include "lookup/mastercalldb.h"

#include <QString>

class IniFile;
class UserDialogs;
class WorkedCalls;

// The MASTER file in use: its path, whether it is a .dta database and whether that database is loaded, the
// count label of the "Plik MASTER" dialog and the caption it gives the suggestions window.
class MasterSelection {
public:
    static QString defaultCaption() { return QStringLiteral("Podpowiedzi znaków"); }
    static QString missingFileMessage(const QString& path);
    // True when the name says .dta (letter case ignored); the start-up test looks anywhere in the path.
    static bool pathNamesDta(const QString& path);
    static bool extensionIsDta(const QString& path);
    // The suggestions window caption that "OK" sets from the count label.
    static QString captionFromLabel(const QString& label);

    const QString& path() const { return m_path; }
    bool isDta() const { return m_isDta; }
    bool isLoaded() const { return m_loaded; }
    bool databaseInUse() const { return m_isDta && m_loaded; }
    const QString& countLabel() const { return m_countLabel; }
    const QString& caption() const { return m_caption; }
    MasterCallDatabase& database() { return m_db; }
    const MasterCallDatabase& database() const { return m_db; }

    // Start-up: reads "Master" / "Plik" and loads the file it names. A file that is missing or unreadable
    // is reported and the key is written back empty at once.
    void loadAtStartup(IniFile& settings, UserDialogs& dialogs, WorkedCalls& calls);

    enum class ChooseOutcome { Unchanged, Missing, Loaded, Failed };
    // "Wybierz" after the file chooser: checks and loads the chosen file. On Loaded the caller reloads the
    // log, which adds the log's own callsigns to the lists.
    ChooseOutcome choose(const QString& path, UserDialogs& dialogs, WorkedCalls& calls);

    // The path is saved when the program closes.
    void save(IniFile& settings) const;

private:
    bool loadDta(UserDialogs& dialogs);
    void readText(WorkedCalls& calls, UserDialogs& dialogs);

    MasterCallDatabase m_db;
    QString m_path;
    bool m_isDta = false;
    bool m_loaded = false;
    QString m_countLabel = QStringLiteral("0");
    QString m_caption = defaultCaption();
};
