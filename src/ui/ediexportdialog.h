#pragma once

#include "interchange/ediexport.h"

#include <QDialog>

#include <functional>
#include <memory>

class LogSession;
class EdiBandDataDialog;

namespace Ui {
class EdiExportDialog;
}

// "Dane do pliku EDI": the header of the REG1TEST files; the per-band data live in EdiBandDataDialog.
// Created afresh by every run of the menu command and freed by "Powrót".
class EdiExportDialog : public QDialog {
    Q_OBJECT
public:
    // sentExchange gives the "PExch=" text: empty while the serial number's auto-increment is on,
    // otherwise the main window's sent-exchange field.
    EdiExportDialog(LogSession& session, std::function<QString()> sentExchange, QWidget* parent = nullptr);
    ~EdiExportDialog() override;

    // The command's filling: dates, operator data, settings, statistics and claimed scores.
    void prepare();
    Edi::Header header() const;
    EdiBandDataDialog* bands() const { return m_bands; }
    Ui::EdiExportDialog* ui() const { return m_ui.get(); }

signals:
    void closedWithReturn();

public slots:
    // "Powrót": saves the header settings and frees the dialog.
    void goBack();
    // "Zapisz plik EDI": the file of the chosen band, or of every band with contacts.
    void writeEdi();
    // "Konfiguracja poszczególnych pasm".
    void showBandData();
    // The header settings into "EDI".
    void saveSettings();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Edi::Settings headerSettings() const;

    std::unique_ptr<Ui::EdiExportDialog> m_ui;
    LogSession& m_session;
    std::function<QString()> m_sentExchange;
    EdiBandDataDialog* m_bands = nullptr;
    Edi::Statistics m_statistics;
};
