#pragma once

#include <QDialog>

#include <memory>

class LogSession;
class MasterSelection;

namespace Ui {
class MasterFileDialog;
}

// The dialog "Plik MASTER": choose the MASTER file (a .dta database or a text list of callsigns).
class MasterFileDialog : public QDialog {
    Q_OBJECT
public:
    MasterFileDialog(MasterSelection& master, LogSession& session, QWidget* parent = nullptr);
    ~MasterFileDialog() override;

    // Where the file chooser opens: the folder of the current file, else the ready list of the hamradio-files
    // package when it is installed, else the program folder.
    static QString chooserDirectory(const QString& current, const QString& programFolder);
    static QString readyListPath() { return QStringLiteral("/usr/share/hamradio-files/MASTER.SCP"); }

signals:
    // "OK": the caption the suggestions window takes (CallSuggestionsWindow::setCaption).
    void suggestionsCaptionChanged(const QString& caption);

public slots:
    void chooseFile();
    void confirm();

private:
    std::unique_ptr<Ui::MasterFileDialog> m_ui;
    MasterSelection& m_master;
    LogSession& m_session;
};
