#include "entry/offlinetimekeys.h"

#include <QTest>

using Action = OfflineTimeKeys::Action;
using Field = OfflineTimeKeys::Field;
using Section = OfflineTimeKeys::Section;
Q_DECLARE_METATYPE(OfflineTimeKeys::Action)
Q_DECLARE_METATYPE(OfflineTimeKeys::Field)
Q_DECLARE_METATYPE(OfflineTimeKeys::Section)

// The keys of the off-line date and time fields.
class TestOfflineTimeKeys : public QObject {
    Q_OBJECT
private slots:
    void keys_data() {
        QTest::addColumn<Field>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Action>("expected");
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        const Qt::KeyboardModifiers alt = Qt::AltModifier;
        QTest::newRow("Esc in the date field")
            << Field::Date << int(Qt::Key_Escape) << none << "\x1b" << Action::ToCallsignAfterKeyer;
        QTest::newRow("Alt+W in the time field")
            << Field::Time << int(Qt::Key_W) << alt << "w" << Action::ToCallsignAfterKeyer;
        QTest::newRow("Ctrl+Alt+W") << Field::Date << int(Qt::Key_W) << (alt | Qt::ControlModifier) << ""
                                    << Action::ToCallsignAfterKeyer;
        QTest::newRow("Alt+Shift+W is no way back")
            << Field::Date << int(Qt::Key_W) << (alt | Qt::ShiftModifier) << "W" << Action::None;
        QTest::newRow("keypad Alt+W") << Field::Time << int(Qt::Key_W) << (alt | Qt::KeypadModifier) << ""
                                      << Action::ToCallsignAfterKeyer;
        QTest::newRow("Enter in the time field")
            << Field::Time << int(Qt::Key_Enter) << none << "\r" << Action::ToCallsign;
        QTest::newRow("Home in the time field") << Field::Time << int(Qt::Key_Home) << none << "" << Action::ToCallsign;
        QTest::newRow("Enter in the date field is the field's")
            << Field::Date << int(Qt::Key_Return) << none << "\r" << Action::None;
        QTest::newRow("Tab moves as the field moves")
            << Field::Time << int(Qt::Key_Tab) << none << "\t" << Action::None;
        QTest::newRow("dash in the date field")
            << Field::Date << int(Qt::Key_Minus) << none << "-" << Action::DateSeparator;
        QTest::newRow("dash in the time field is typed")
            << Field::Time << int(Qt::Key_Minus) << none << "-" << Action::None;
        QTest::newRow("digit in the date field") << Field::Date << int(Qt::Key_2) << none << "2" << Action::None;
    }
    void keys() {
        QFETCH(Field, field);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, text);
        QFETCH(Action, expected);
        QCOMPARE(OfflineTimeKeys::action(field, key, modifiers, text), expected);
    }

    void dateSeparator_data() {
        QTest::addColumn<Section>("current");
        QTest::addColumn<QString>("dateText");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("next"); // -1: the selection stays
        QTest::newRow("after the year: the month") << Section::Year << "2026-03-14" << 4 << int(Section::Month);
        QTest::newRow("after the month: the day") << Section::Month << "2026-3-14" << 6 << int(Section::Day);
        QTest::newRow("the field moved on by itself") << Section::Month << "2026-03-14" << 5 << -1;
        QTest::newRow("in the day: stays") << Section::Day << "2026-03-14" << 9 << -1;
        QTest::newRow("at the start") << Section::Year << "2026-03-14" << 0 << int(Section::Month);
        QTest::newRow("cursor past the text") << Section::Year << "2026" << 9 << int(Section::Month);
    }
    void dateSeparator() {
        QFETCH(Section, current);
        QFETCH(QString, dateText);
        QFETCH(int, cursor);
        QFETCH(int, next);
        const auto section = OfflineTimeKeys::sectionAfterSeparator(current, dateText, cursor);
        QCOMPARE(section ? int(*section) : -1, next);
    }
};

QTEST_GUILESS_MAIN(TestOfflineTimeKeys)
#include "tst_offlinetimekeys.moc"
