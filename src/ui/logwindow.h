#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class LogWindow;
}
class ContestSession;
class IniFile;
class LogListModel;
class LogSession;
class QMenu;
class QsoEditDialog;

// The log window: the in-memory log one QSO line per row, with the score summary as its caption. Contacts
// are corrected in the edit dialog or removed here; each change rewrites the log file and reloads it.
class LogWindow : public QWidget {
    Q_OBJECT
public:
    explicit LogWindow(LogSession& session, QWidget* parent = nullptr);
    ~LogWindow() override;

    // The entry window's serial field, which steps back when the newest QSO is deleted.
    struct SerialField {
        std::function<QString()> text;
        std::function<void(const QString&)> setText;
        std::function<bool()> autoIncrement;
        std::function<int()> digits; // 1, 2 or 3: "1", "01", "001"
    };
    void setSerialField(SerialField field) { m_serial = std::move(field); }

    qsizetype selectedRow() const;
    QsoEditDialog* editDialog() const { return m_editDialog; }
    QMenu* popupMenu() const { return m_menu; }

    // The contest whose claimed score the caption shows and whose marks the rows wear.
    void setContest(const ContestSession* contest);
    LogListModel* model() const { return m_model; }

    int backgroundColour() const; // Windows colour value
    void setBackgroundColour(int colour);
    // Section "Log": position, height and background colour.
    void readSettings(const IniFile& settings);
    void writeSettings(IniFile& settings) const;

signals:
    // Home or Alt+W in the list, after a delete: the cursor goes back to the callsign field.
    void callsignFocusRequested();
    // Esc in the list, and the edit dialog closing: the cursor goes back to the callsign field and the field
    // gets the Esc key.
    void escapeToCallsign();

public slots:
    // Opens the edit dialog for the selected QSO (double click, Enter, "Edytuj QSO").
    void editSelectedQso();
    // "Usuń QSO".
    void deleteSelectedQso();
    void selectRow(qsizetype row);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSummary();
    void showPathCaption(const QString& path);
    void logReloaded();
    void qsoAdded(qsizetype row);

    std::unique_ptr<Ui::LogWindow> m_ui;
    LogSession& m_session;
    LogListModel* m_model;
    QMenu* m_menu;
    QsoEditDialog* m_editDialog;
    SerialField m_serial;
    const ContestSession* m_contest = nullptr;
};
