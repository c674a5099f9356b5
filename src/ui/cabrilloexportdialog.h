#pragma once

#include "interchange/interchangecommands.h"

#include <QDialog>

#include <memory>
#include <optional>

class LogSession;
struct CabrilloHeader;
struct CabrilloSettings;

namespace Ui {
class CabrilloExportDialog;
}

// "Nagłówek pliku Cabrillo": the header of the Cabrillo file, then the file itself.
class CabrilloExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit CabrilloExportDialog(LogSession& session, QWidget* parent = nullptr);
    ~CabrilloExportDialog() override;

    // The menu command's preparation: the WARC notice and the operator-data fields, before the dialog is shown.
    // A chosen contest proposes the contest's name and its claimed score; the operator may still change both.
    void prepare(bool warcOption, const std::optional<InterchangeCommands::CabrilloContestValues>& contest = {});
    CabrilloHeader header() const;
    CabrilloSettings settings() const;
    Ui::CabrilloExportDialog* ui() const { return m_ui.get(); }

signals:
    // A file was written: the main window gives the focus back to its callsign field.
    void exported(const QString& path);

public slots:
    // "OK": writes the Cabrillo file and closes.
    void writeCabrillo();
    // "Powrót".
    void goBack();
    // The Cabrillo 2.0 (domestic) or 3.0 (international) header.
    void chooseDomesticContest();
    void chooseInternationalContest();
    // The header settings into "Cabrillo", on every close.
    void saveSettings();

protected:
    void done(int result) override;

private:
    void loadSettings();
    void applySettings(const CabrilloSettings& settings);
    void setVersion3(bool version3);

    std::unique_ptr<Ui::CabrilloExportDialog> m_ui;
    LogSession& m_session;
    // The chosen contest's name when the list does not hold it: offered when the name is asked for.
    QString m_proposedName;
};
