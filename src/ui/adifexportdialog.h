#pragma once

#include <QDialog>

#include <memory>

class LogSession;

namespace Ui {
class AdifExportDialog;
}

// "Zapis pliku ADIF": the comment, contest and operator of every record, then the file.
class AdifExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit AdifExportDialog(LogSession& session, QWidget* parent = nullptr);
    ~AdifExportDialog() override;

    // The menu command fills the contest and operator fields before the dialog is shown.
    void prepare();
    Ui::AdifExportDialog* ui() const { return m_ui.get(); }

signals:
    void exported(const QString& path);

public slots:
    // "Zapisz": writes the ADIF file and closes, the file chosen or not.
    void writeAdif();
    // "Powrót".
    void goBack();
    // Leaving the operator field drops the blanks around the callsign.
    void trimOperator();

private:
    std::unique_ptr<Ui::AdifExportDialog> m_ui;
    LogSession& m_session;
};
