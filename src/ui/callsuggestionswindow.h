#pragma once

#include "lookup/callsuggestions.h"
#include "lookup/entryfieldhops.h"
#include "lookup/listwindowsettings.h"

#include <QWidget>

#include <memory>
#include <optional>

class IniFile;
class LogSession;
class MasterSelection;
class QListWidgetItem;

namespace Ui {
class CallSuggestionsWindow;
}

// The MASTER call suggestions window "Podpowiedzi znaków". The entry window calls updateSuggestions with the
// callsign on every change; a click on an entry (or Ctrl+Space in the callsign field, through ctrlSpaceInCallsign)
// takes it.
class CallSuggestionsWindow : public QWidget {
    Q_OBJECT
public:
    CallSuggestionsWindow(LogSession& session, MasterSelection& master, QWidget* parent = nullptr);
    ~CallSuggestionsWindow() override;

    // After the worked-before check of a callsign change.
    void updateSuggestions(const QString& callsign);
    // Recomputes the red/navy colour classes for the current band and mode (after a band or mode change).
    void refreshColours();
    QStringList entries() const;
    std::optional<QString> firstEntry() const;

    // Ctrl+Space in the callsign field: the entry window applies the result to its fields.
    EntryFieldHops::ToExchange ctrlSpaceInCallsign(const EntryFieldHops::Fields& fields, EntryFieldHops& hops);

    CallSuggestions& suggestions() { return m_suggestions; }
    // Until start-up has finished an empty callsign does not clear the list.
    void setStartupDone(bool done) { m_startupDone = done; }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    // Section "Master": geometry, font and background.
    void loadSettings(const IniFile& settings);
    void saveSettings(IniFile& settings) const;
    void chooseFont();
    void chooseBackground();

signals:
    // A suggestion was clicked: the callsign field takes it (then EntryFieldHops::suggestionChosen).
    void suggestionChosen(const QString& call);
    // Home in the list: the focus goes back to the callsign field.
    void homePressed();

public slots:
    void takeClickedSuggestion(QListWidgetItem* item);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showEntries(const QStringList& entries);
    void applyLayout();

    std::unique_ptr<Ui::CallSuggestionsWindow> m_ui;
    LogSession& m_session;
    MasterSelection& m_master;
    CallSuggestions m_suggestions;
    ListWindowSettings m_settings;
    bool m_startupDone = true;
};
