#pragma once

#include "interchange/ediexport.h"

#include <QDialog>

#include <functional>
#include <memory>

class LogSession;
class TFEDI_pasma;

namespace Ui {
class TFEDI;
}

// "Dane do pliku EDI": the header of the REG1TEST files; the per-band data live in TFEDI_pasma.
// Created afresh by every run of the menu command and freed by "Powrót".
class TFEDI : public QDialog {
    Q_OBJECT
public:
    // sentExchange gives the "PExch=" text: empty while the serial number's auto-increment is on,
    // otherwise the main window's sent-exchange field.
    TFEDI(LogSession& session, std::function<QString()> sentExchange, QWidget* parent = nullptr);
    ~TFEDI() override;

    // The command's filling: dates, operator data, settings, statistics and claimed scores.
    void prepare();
    Edi::Header header() const;
    TFEDI_pasma* bands() const { return m_bands; }
    Ui::TFEDI* ui() const { return m_ui.get(); }

signals:
    void closedWithReturn();

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Edi::Settings headerSettings() const;

    std::unique_ptr<Ui::TFEDI> m_ui;
    LogSession& m_session;
    std::function<QString()> m_sentExchange;
    TFEDI_pasma* m_bands = nullptr;
    Edi::Statistics m_statistics;
};
