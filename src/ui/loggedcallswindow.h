#pragma once

#include "listwindowlayout.h"

#include <QWidget>

#include <memory>
#include <optional>

class IniFile;
class QStringListModel;
namespace Ui {
class LoggedCallsWindow;
}

// "Zalogowane znaki": the callsigns of the log on the current band and mode that contain the typed text.
class LoggedCallsWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoggedCallsWindow(QWidget* parent = nullptr);
    ~LoggedCallsWindow() override;

    void setCalls(const QStringList& calls);
    QStringList calls() const;
    // Section "Zalogowane": geometry, list font and background.
    ListWindowLayout& layout() { return *m_layout; }
    void readSettings(const IniFile& settings) { m_layout->readSettings(settings); }
    void writeSettings(IniFile& settings) const { m_layout->writeSettings(settings); }

signals:
    // Home in the list: the cursor goes back to the callsign field.
    void returnToCallsign();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitColumns();

    std::unique_ptr<Ui::LoggedCallsWindow> m_ui;
    QStringListModel* m_model;
    std::optional<ListWindowLayout> m_layout;
};
