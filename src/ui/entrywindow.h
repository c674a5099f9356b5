#pragma once

#include "entry/entrykeys.h"
#include "entry/entrysession.h"
#include "entrywindowkeyerentry.h"
#include "keyer/keyerhooks.h"
#include "lookup/entryfieldhops.h"
#include "settings/settingskeys.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

class LogSession;
class ContestSession;
class IniFile;
class CallSuggestionsWindow;
class HelpWindow;
class QAction;
class QLabel;
class QLineEdit;
class QTimer;
class LoggedCallsWindow;
class OfflineTimeFields;
namespace Ui {
class EntryWindow;
}

// The entry window: the fields of one contact, band and mode, the UTC clock, the dupe panels and the menu.
// It binds the controls to EntrySession; the rules live there.
class EntryWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit EntryWindow(LogSession& session, QWidget* parent = nullptr);
    ~EntryWindow() override;

    // Start-up of the program in its fixed order. False: the county list is missing and the program ends.
    bool startUp();

    void setKeyerHooks(KeyerHooks* hooks);
    // The contest the contact being typed is scored in, the rate meter's source and the claimed score the status
    // line shows beside the summary: they follow it from now on.
    void setContest(ContestSession* contest);
    EntrySession& entry() { return m_entry; }
    LoggedCallsWindow* loggedCallsWindow() const { return m_loggedCalls; }
    // The menu items that the windows around this one handle; the entry window handles the others itself.
    struct MenuItems {
        // "Plik"
        QAction* newLog;
        QAction* openLog;
        QAction* saveLogAs;
        QAction* exportCabrillo;
        QAction* exportAdif;
        QAction* exportEdi;
        QAction* exportCsv;
        QAction* importAdif;
        QAction* importCabrillo;
        // "Widok"
        QAction* showLog;
        QAction* showBufferBar;
        QAction* showCallSuggestions;
        QAction* currentModeListOnly;
        QAction* showSsbList;
        QAction* showCwList;
        QAction* showFmList;
        QAction* showWorkedCounties;
        QAction* showScore;
        QAction* showStatistics;
        // "Konfiguracja"
        QAction* operatorData;
        QAction* masterFile;
        QAction* programSettings;
        QAction* rigSettings;
        QAction* exchangeAnalysis;
        QAction* contest;
        QAction* windowBackgrounds;
        QAction* fonts;
        QAction* prefixColours;
    };
    const MenuItems& menuItems() const { return m_menuItems; }
    QWidget* keyerArea() const;
    // The controls the other windows and the keyer work with, by type rather than by name.
    QLineEdit* callsignField() const;
    EntryWindowKeyerEntry::Fields keyerFields() const;
    bool isOffline() const;
    // What the entry fields hold now (the keyer's macros read the callsign, the exchanges and the reports).
    EntryForm entryFields() const;
    // The serial field, set by "Nowy log" / "Otwórz log".
    void setSerialField(const QString& serial);

    // The MASTER suggestions window: Ctrl+Space takes its first entry, Space in the exchange stops its refresh.
    void setMasterSuggestions(CallSuggestionsWindow* suggestions) { m_callSuggestions = suggestions; }
    // A suggestion was clicked: the callsign field takes it and the cursor moves on as the rules say.
    void takeSuggestion(const QString& call);
    void setSentFixedPart(const QString& text);
    // "Format raportu" changed in the keyer configuration (index of "1", "01", "001"): with automatic increment
    // the serial field takes the new format's leading zeros.
    void changeSerialFormat(int index);
    // The UTC options of the keyer configuration: the offset is computed again and the clock follows.
    void setUtcOptions(bool manualUtc, int offsetHours);
    // The manual CW window closed with Esc: the callsign or received-exchange field, whichever was entered last.
    void focusLastEntryField();
    // A passing message in the status bar (the score summary comes back after a few seconds).
    void showStatusMessage(const QString& text);
    QString shownDate() const;
    bool autoIncrement() const;
    // The background of the sent-exchange field (Windows colour value).
    int sentExchangeColour() const { return m_sentExchangeColour; }
    void setSentExchangeColour(int colour);
    // The page "Plik pomocy" shows: the one beside the executable unless another is set.
    void setHelpPagePath(const QString& path) { m_helpPagePath = path; }
    // The radio moved to another band or mode: the same change as the operator's keys make, except that the
    // window is not brought in front of the program the operator may be working in.
    void followRigBand(const QString& band);
    void followRigMode(const QString& mode);

signals:
    // After the worked-before check of a changed callsign: the MASTER suggestions follow it.
    void callsignChanged(const QString& call);
    void bandChanged(const QString& band);
    void modeChanged(const QString& mode);
    // A VHF band switched to the locator analysis: the logged-counties window is to be shown or hidden.
    void countiesWindowRequested(bool visible);
    // The main window's first activation: the other windows restore their layout.
    void firstActivation(const IniFile& settings);
    // The first activation of a program with no settings file yet.
    void firstActivationWithoutSettings();
    // Every activation of the window.
    void activated();
    // Closing, before any setting is written: sending stops and the keying port is closed.
    void aboutToClose();
    // Closing: the other windows write their settings into the same piece.
    void closing(IniFile& settings);

public slots:
    void logQso();
    // The first activation restores the layout of the windows around the entry window; later ones do nothing.
    void restoreWindowsOnFirstActivation();
    void quit();
    // A failed write of the settings when the program closes is told once, before the program ends.
    void tellSettingsNotSaved(const TextFile::Status& written);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void onCallsignEdited();
    void onReceivedExchangeEdited();
    void onSentSerialEdited();
    void onBandChosen();
    void onModeChosen();
    void onWarcBandsToggled();
    void onDigitalModesToggled();
    void onOneQsoPerBandToggled();
    void onWithoutExchangeToggled();
    void onSeparateVhfSerialsToggled();
    void onAutoIncrementToggled();
    void onShowLoggedCallsToggled();
    void showUtcClock();
    void showScoreSummary();
    void startOfflineEntry();
    void endOfflineEntry();
    void showAbout();
    void openHelpFile();
    // "Folder programu" of the "Plik" menu: the folder of the logs and settings, in the file manager.
    void openProgramFolder();

private:
    void connectSignals();
    void applyOptions();
    void rebuildLists();
    void selectBand(const QString& band);
    void selectMode(const QString& mode);
    void workedBeforeCheck();
    void updateSuggestions();
    void setCallsignColour();
    void showCrossModeExchange();
    void onReceivedExchangeLeft();
    void checkDateField();
    void acceptCallsign();
    EntryFieldHops::Fields hopFields() const;
    void moveToExchange();
    void takeFirstSuggestion();
    void enterExchange(const EntryFieldHops::ToExchange& move);
    void moveToCallsign();
    EntryKeys::Field keyField(const QObject* watched) const;
    bool routeKey(QObject* watched, const QKeyEvent* key);
    bool runKeyAction(EntryKeys::Action action, QObject* watched, const QKeyEvent* key);
    void stepBand(int step);
    void stepMode(int step);
    bool typeReportCharacter(QLineEdit* field, const QKeyEvent* key);
    void showClock(const QDateTime& shown);
    // The country, heading and contest score of the contact being typed.
    void showContestLine();
    void showRate();
    void focusCallsign();

    std::unique_ptr<Ui::EntryWindow> m_ui;
    MenuItems m_menuItems{};
    LogSession& m_session;
    EntrySession m_entry;
    QLineEdit* m_lastEntryField = nullptr;
    EntryKeys m_keys;
    EntryFieldHops m_hops;
    OfflineTimeFields* m_offlineTime = nullptr;
    NullKeyerHooks m_nullKeyer;
    KeyerHooks* m_keyer = &m_nullKeyer;
    LoggedCallsWindow* m_loggedCalls = nullptr;
    QTimer* m_clockTimer = nullptr;
    ContestSession* m_contest = nullptr;
    QTimer* m_rateTimer = nullptr;
    QLabel* m_summaryLabel = nullptr;
    bool m_starting = true;
    bool m_activated = false;
    bool m_settingsFailureTold = false;
    bool m_followingRig = false;
    int m_sentExchangeColour = SettingsKeys::Program::sentExchangeColour.defaultValue;
    CallSuggestionsWindow* m_callSuggestions = nullptr;
    QPointer<HelpWindow> m_helpWindow;
    QString m_helpPagePath;
};
