#pragma once

#include "lookup/workedcallsgroups.h"
#include "settings/settingskeys.h"
#include "workedcallswindow.h"

#include <QObject>

#include <array>

class IniFile;
class LogSession;

// The three worked-calls windows and what they share: the lists of the current band and the four prefix
// colours (kept in the "Lista SSB" section). They follow the log session by themselves: a reload rebuilds
// them, an added QSO adds its line.
class WorkedCallsWindows : public QObject {
    Q_OBJECT
public:
    // Design-time prefix colours (Windows colour values): SP navy, SQ green, SN maroon, others black.
    static inline const std::array<int, 4> kDefaultPrefixColours{
        SettingsKeys::WorkedCalls::spColour.defaultValue, SettingsKeys::WorkedCalls::sqColour.defaultValue,
        SettingsKeys::WorkedCalls::snColour.defaultValue, SettingsKeys::WorkedCalls::otherColour.defaultValue};

    WorkedCallsWindows(LogSession& session, QWidget* parentWindow = nullptr);
    ~WorkedCallsWindows() override;

    WorkedCallsWindow* ssb() const { return m_ssb; }
    WorkedCallsWindow* cw() const { return m_cw; }
    WorkedCallsWindow* fm() const { return m_fm; }
    WorkedCallsWindow* window(WorkedCallsGroups::List list) const;
    const WorkedCallsGroups& groups() const { return m_groups; }

    const std::array<int, 4>& prefixColours() const { return m_prefixColours; }
    int prefixColour(WorkedCallsGroups::Prefix prefix) const { return m_prefixColours[size_t(prefix)]; }
    void setPrefixColour(WorkedCallsGroups::Prefix prefix, int colour);
    // The main menu's prefix colour command: the chooser, then a redraw whether or not a colour was chosen.
    void choosePrefixColour(WorkedCallsGroups::Prefix prefix);

    // Reads and writes the three window sections and the prefix colours.
    void loadSettings(const IniFile& settings);
    void saveSettings(IniFile& settings) const;

public slots:
    // After a load, an added QSO, a band change and a prefix colour choice.
    void refreshWindows();

private:
    void qsoAdded(qsizetype row);
    void showAll();

    LogSession& m_session;
    std::array<int, 4> m_prefixColours = kDefaultPrefixColours;
    WorkedCallsGroups m_groups;
    QString m_band;
    WorkedCallsWindow* m_ssb;
    WorkedCallsWindow* m_cw;
    WorkedCallsWindow* m_fm;
};
