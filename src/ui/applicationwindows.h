#pragma once

#include "keyerpanel.h"
#include "log/loglifecycle.h"
#include "lookup/masterselection.h"

#include <QObject>

#include <memory>

class IniFile;
class EntryWindowKeyerEntry;
class EntryWindowRig;
class InterchangeMenu;
class KeyerSettingsDialog;
class LogSession;
class QAction;
class QMenu;
class QTimer;
class ExchangeAnalysisDialog;
class CallSuggestionsWindow;
class ContestSession;
class ContestDialog;
class ScoreWindow;
class WorkedCountiesWindow;
class EntryWindow;
class OperatorDataDialog;
class LogWindow;
class StatisticsWindow;
class WorkedCallsWindows;

// Every window of the program around the entry window: created once at start-up in the program's order,
// reached from the main menu, restored at the first activation and written back when the program closes.
class ApplicationWindows : public QObject {
    Q_OBJECT
public:
    // devices: where the keyer reaches hardware (tests give recording ports and virtual time).
    explicit ApplicationWindows(LogSession& session, KeyerDevices devices = {});
    ~ApplicationWindows() override;

    // The start-up of the program; false when it must end (the county list is missing).
    bool startUp();

    EntryWindow* entryWindow() const { return m_entryWindow.get(); }
    LogWindow* logWindow() const { return m_logWindow; }
    StatisticsWindow* statisticsWindow() const { return m_statisticsWindow; }
    CallSuggestionsWindow* callSuggestionsWindow() const { return m_callSuggestions; }
    WorkedCountiesWindow* countiesWindow() const { return m_countiesWindow; }
    ExchangeAnalysisDialog* analysisDialog() const { return m_analysisDialog; }
    OperatorDataDialog* operatorDialog() const { return m_operatorDialog; }
    WorkedCallsWindows* workedCalls() const { return m_workedCalls; }
    InterchangeMenu* interchange() const { return m_interchange; }
    KeyerPanel* keyer() const { return m_keyerPanel; }
    KeyerSettingsDialog* keyerSettings() const { return m_keyerSettings; }
    EntryWindowRig* rig() const { return m_rig; }
    MasterSelection& master() { return m_master; }
    // The contest scored for the open log (none until start-up reads the choice).
    ContestSession* contest() const { return m_contest; }
    ContestDialog* contestDialog() const { return m_contestDialog; }
    ScoreWindow* scoreWindow() const { return m_scoreWindow; }
    LogLifecycle& lifecycle() { return m_lifecycle; }

private:
    // A view item with the window it shows and the flag of "Widok" that keeps it, in the order they are written.
    struct ViewItem;
    QList<ViewItem> viewItems() const;
    void buildColourAndFontMenus();
    void connectMenu();
    void connectWindows();
    // A view item: ticked, its window is shown and the cursor goes back to the callsign field; unticked, hidden.
    void bindViewItem(QAction* item, QWidget* window);
    void setWindowShown(QAction* item, QWidget* window, bool shown);
    // "Wyświetlaj tylko listę aktualnej emisji": only the worked-calls list of the current mode is shown.
    void showCurrentModeListOnly();
    void restoreLayout(const IniFile& settings);
    void saveLayout(IniFile& settings);
    void focusCallsign();
    void placeAroundMainWindow();
    void createKeyer(const KeyerDevices& devices);
    // The buffer editor for one buffer; its OK stores the buffer and writes it at once.
    void editBuffer(int number);
    // "Nadawanie CW": modal; Esc returns to the entry field entered last, a buffer key starts the buffer.
    void openManualCw();
    // "Bufory CW": the keyer's buffer bar below the entry fields.
    void showBufferBar(bool shown);
    int serialDigits() const;
    QMenu* submenu(QAction* item);
    QAction* addItem(QMenu* menu, const QString& name, const QString& text);

    LogSession& m_session;
    std::unique_ptr<EntryWindow> m_entryWindow;
    LogLifecycle m_lifecycle;
    MasterSelection m_master;
    ContestSession* m_contest = nullptr;
    ContestDialog* m_contestDialog = nullptr;
    ScoreWindow* m_scoreWindow = nullptr;
    WorkedCallsWindows* m_workedCalls = nullptr;
    LogWindow* m_logWindow = nullptr;
    StatisticsWindow* m_statisticsWindow = nullptr;
    InterchangeMenu* m_interchange = nullptr;
    CallSuggestionsWindow* m_callSuggestions = nullptr;
    WorkedCountiesWindow* m_countiesWindow = nullptr;
    ExchangeAnalysisDialog* m_analysisDialog = nullptr;
    OperatorDataDialog* m_operatorDialog = nullptr;
    std::unique_ptr<EntryWindowKeyerEntry> m_keyerEntry;
    KeyerPanel* m_keyerPanel = nullptr;
    KeyerSettingsDialog* m_keyerSettings = nullptr;
    EntryWindowRig* m_rig = nullptr;
    QTimer* m_serialReopenTimer = nullptr;
    bool m_firstStart = false;
    bool m_framed = false;
};
