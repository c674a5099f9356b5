#pragma once

#include "listwindowlayout.h"
#include "platform/userdialogs.h"

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class WorkedCountiesWindow;
}
class IniFile;
class LogSession;

// The counties worked on the current band (and mode), with their number in the caption.
class WorkedCountiesWindow : public QWidget {
    Q_OBJECT
public:
    explicit WorkedCountiesWindow(LogSession& session, QWidget* parent = nullptr);
    ~WorkedCountiesWindow() override;

    QStringList counties() const;

    FontSpec listFont() const;
    void setListFont(const FontSpec& font);
    int backgroundColour() const;
    void setBackgroundColour(int colour);
    // Section "Powiaty": geometry, font and background colour.
    void readSettings(const IniFile& settings);
    void writeSettings(IniFile& settings) const;
    ListWindowLayout& layout() { return *m_layout; }

public slots:
    // Shows the session's logged counties.
    void refresh();

private:
    std::unique_ptr<Ui::WorkedCountiesWindow> m_ui;
    LogSession& m_session;
    std::optional<ListWindowLayout> m_layout;
};
