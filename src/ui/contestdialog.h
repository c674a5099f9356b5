#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class ContestDialog;
}
class ContestSession;
class IniFile;
class UserDialogs;

// "Zawody": the contest the log is scored for, chosen from the definitions found ("brak": none), with what the
// selected definition says and the definitions that do not read. OK chooses and keeps the choice in the settings.
class ContestDialog : public QDialog {
    Q_OBJECT
public:
    ContestDialog(ContestSession& contest, IniFile& settings, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~ContestDialog() override;

    // The definitions read again and the current choice selected, before the dialog is shown.
    void prepare();

public slots:
    // "OK": the selected contest is chosen; a refusal is told and the dialog stays open.
    void chooseSelected();

private:
    void showSelected();
    QString selectedName() const;

    std::unique_ptr<Ui::ContestDialog> m_ui;
    ContestSession& m_contest;
    IniFile& m_settings;
    UserDialogs& m_dialogs;
    bool m_countryProblemTold = false;
};
