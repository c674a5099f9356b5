#pragma once

#include "interchange/interchangecommands.h"

#include <QObject>
#include <QPointer>

#include <functional>

class ContestSession;
class LogSession;
class QWidget;
class EdiExportDialog;
class CabrilloExportDialog;
class AdifExportDialog;

// The "Eksportuj log" and "Importuj log" commands of the main window's "Plik" menu. The main window creates
// one at start-up (which creates the Cabrillo and ADIF dialogs) and connects its menu items to the slots.
class InterchangeMenu : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> warcOption;               // "Wszystkie pasma KF (łącznie z WARC)" is on
        std::function<QString()> sentExchange;          // "PExch=": empty with auto-increment on, else the field
        InterchangeCommands::SaveLogCopy saveLogCopy;   // the log-lifecycle copy; true when written
        std::function<bool()> autoIncrement;            // the serial number's auto-increment is on
        std::function<int()> serialDigits;              // the serial format: 1, 2 or 3 digits
        std::function<const ContestSession*()> contest; // the contest scored, for the Cabrillo header
    };

    InterchangeMenu(LogSession& session, Hooks hooks, QWidget* mainWindow);
    ~InterchangeMenu() override;

    CabrilloExportDialog* cabrilloDialog() const { return m_cabrilloDialog; }
    AdifExportDialog* adifDialog() const { return m_adifDialog; }
    EdiExportDialog* ediDialog() const { return m_ediDialog; }

signals:
    // After an export the focus goes back to the callsign field (callsignEdit).
    void focusCallsignRequested();
    // An import changed the log: the serial field (sentSerialEdit) follows its last contact.
    void serialFieldChanged(const QString& serial);

public slots:
    void exportCabrillo();
    void exportAdif();
    void exportEdi();
    void exportCsv();
    void importAdif();
    void importCabrillo();

private:
    void followImportedLog(const InterchangeCommands::ImportOutcome& outcome);

    LogSession& m_session;
    Hooks m_hooks;
    QWidget* m_mainWindow;
    CabrilloExportDialog* m_cabrilloDialog;
    AdifExportDialog* m_adifDialog;
    QPointer<EdiExportDialog> m_ediDialog;
};
