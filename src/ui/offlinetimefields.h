#pragma once

#include <QObject>
#include <QString>

class QDateEdit;
class QKeyEvent;
class QLineEdit;
class UserDialogs;

// The off-line date and time fields of the entry window: their keys (OfflineTimeKeys) and the check of a
// typed time when the time field is left.
class OfflineTimeFields : public QObject {
    Q_OBJECT
public:
    OfflineTimeFields(QDateEdit* date, QLineEdit* time, UserDialogs& dialogs, QObject* parent = nullptr);

    // PageUp / PageDown in the entry fields: the off-line time a minute on or back, across midnight.
    void stepMinutes(int minutes);

signals:
    // Esc or Alt+W: the keyer sees the key before the focus goes back.
    void keyForKeyer(int key, Qt::KeyboardModifiers modifiers);
    void callsignRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(QObject* watched, const QKeyEvent* key);
    void typeDateSeparator();
    void checkTime();

    QDateEdit* m_date;
    QLineEdit* m_time;
    UserDialogs& m_dialogs;
    // The time shown when the field was entered: a wrong time typed over it is put back.
    QString m_timeBefore;
};
