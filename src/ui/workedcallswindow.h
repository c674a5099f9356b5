#pragma once

#include "lookup/listwindowsettings.h"
#include "lookup/workedcallsgroups.h"

#include <QWidget>

#include <array>
#include <memory>

class IniFile;
class QHeaderView;
class QListWidget;
class QMenu;
class UserDialogs;

namespace Ui {
class WorkedCallsWindow;
}

// One worked-calls window: ten call-area lists under the header "1" … "9", "Inne", for one mode on the current
// band. WorkedCallsWindows holds one for each of SSB, CW and FM and fills them.
class WorkedCallsWindow : public QWidget {
    Q_OBJECT
public:
    WorkedCallsWindow(WorkedCallsGroups::List list,
                      const std::array<int, 4>& prefixColours,
                      UserDialogs& dialogs,
                      QWidget* parent = nullptr);
    ~WorkedCallsWindow() override;

    WorkedCallsGroups::List list() const { return m_list; }
    SettingsKeys::WindowSection section() const;
    QListWidget* columnList(int column) const { return m_lists[size_t(column)]; }
    QMenu* popupMenu() const { return m_menu; }

    // Shows the entries of this window's mode (the caption follows the band).
    void showGroups(const WorkedCallsGroups& groups, const QString& band);
    // Redraws the lists after a prefix colour was chosen.
    void redraw();

    // The window's settings section: position, height, list font and background.
    void loadSettings(const IniFile& settings);
    void saveSettings(IniFile& settings) const;
    void chooseFont();
    void chooseBackground();
    const ListWindowSettings& settings() const { return m_settings; }

signals:
    void prefixColourRequested(WorkedCallsGroups::Prefix prefix);
    // "Zamknij okno": the window hid itself; the main menu unchecks its item.
    void closeRequested();
    // Home in a list: the focus goes back to the callsign field.
    void homePressed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFont();
    void applyBackground();
    void buildMenu();

    std::unique_ptr<Ui::WorkedCallsWindow> m_ui;
    WorkedCallsGroups::List m_list;
    UserDialogs& m_dialogs;
    std::array<QListWidget*, WorkedCallsGroups::kColumns> m_lists{};
    QHeaderView* m_header = nullptr;
    QMenu* m_menu = nullptr;
    ListWindowSettings m_settings;
};
