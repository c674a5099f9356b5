#pragma once

#include "listwindowlayout.h"

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class ScoreWindow;
}
class ContestSession;
class IniFile;

// "Wynik": the claimed score of the chosen contest, a row per band and mode worked, the total and the score line;
// "brak zawodów" while no contest is chosen. Follows every change of the score and of the choice.
class ScoreWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScoreWindow(const ContestSession& contest, QWidget* parent = nullptr);
    ~ScoreWindow() override;

    // Section "Wynik": geometry, font and background colour.
    void readSettings(const IniFile& settings);
    void writeSettings(IniFile& settings) const;
    ListWindowLayout& layout() { return *m_layout; }

public slots:
    void refresh();

signals:
    // The window manager closed it: the view item loses its tick.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setRow(int row, const QStringList& cells);

    std::unique_ptr<Ui::ScoreWindow> m_ui;
    const ContestSession& m_contest;
    std::optional<ListWindowLayout> m_layout;
};
