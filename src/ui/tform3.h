#pragma once

#include <QDialog>

#include <memory>

class LogSession;

namespace Ui {
class TForm3;
}

// "Zapis pliku ADIF": the comment, contest and operator of every record, then the file.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(LogSession& session, QWidget* parent = nullptr);
    ~TForm3() override;

    // The menu command fills the contest and operator fields before the dialog is shown.
    void prepare();
    Ui::TForm3* ui() const { return m_ui.get(); }

signals:
    void exported(const QString& path);

public slots:
    void Button1Click();
    void Button2Click();
    void Edit2Exit();

private:
    std::unique_ptr<Ui::TForm3> m_ui;
    LogSession& m_session;
};
