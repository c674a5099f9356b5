#pragma once

#include "log/logedit.h"

#include <QDialog>

#include <memory>

namespace Ui {
class QsoEditDialog;
}
class LogSession;
class QLineEdit;

// "Edycja QSO": one contact of the log, field by field. Enter saves, Esc leaves without saving.
class QsoEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit QsoEditDialog(LogSession& session, QWidget* parent = nullptr);
    ~QsoEditDialog() override;

    // Fills the fields from the line at row of the log.
    void setQso(qsizetype row);
    EditedQso fields() const;
    // What the last save did.
    LogEdit::EditResult result() const { return m_result; }

public slots:
    // SaveEditedQso: OK or Enter in a field.
    void saveQso();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QList<QLineEdit*> edits() const;

    std::unique_ptr<Ui::QsoEditDialog> m_ui;
    LogSession& m_session;
    qsizetype m_row = -1;
    LogEdit::EditResult m_result;
};
