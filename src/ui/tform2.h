#pragma once

#include <QDialog>

#include <memory>

class LogSession;
struct CabrilloHeader;
struct CabrilloSettings;

namespace Ui {
class TForm2;
}

// "Nagłówek pliku Cabrillo": the header of the Cabrillo file, then the file itself.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(LogSession& session, QWidget* parent = nullptr);
    ~TForm2() override;

    // The menu command's preparation: the WARC notice and the operator-data fields, before the dialog is shown.
    void prepare(bool warcOption);
    CabrilloHeader header() const;
    CabrilloSettings settings() const;
    Ui::TForm2* ui() const { return m_ui.get(); }

signals:
    // A file was written: the main window gives the focus back to its callsign field.
    void exported(const QString& path);

public slots:
    void Button3Click();
    void Button1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void FormClose();

protected:
    void done(int result) override;

private:
    void FormCreate();
    void applySettings(const CabrilloSettings& settings);
    void setVersion3(bool version3);

    std::unique_ptr<Ui::TForm2> m_ui;
    LogSession& m_session;
};
