#include "entry/entrykeys.h"

#include <QTest>

using Action = EntryKeys::Action;
using Field = EntryKeys::Field;
Q_DECLARE_METATYPE(EntryKeys::Action)
Q_DECLARE_METATYPE(EntryKeys::Field)

namespace {
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;

EntryKeys::Stroke stroke(int key, Qt::KeyboardModifiers modifiers, const QString& text = {}, bool repeat = false) {
    return {key, modifiers, text, repeat};
}
} // namespace

// The keys of the entry window's fields, decided without a window.
class TestEntryKeys : public QObject {
    Q_OBJECT
private slots:
    void pressInAField_data() {
        QTest::addColumn<Field>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Action>("expected");
        QTest::newRow("Alt+F1 steps the band down")
            << Field::Callsign << int(Qt::Key_F1) << kAlt << "" << Action::BandDown;
        QTest::newRow("Alt+B steps the band up") << Field::Exchange << int(Qt::Key_B) << kAlt << "" << Action::BandUp;
        QTest::newRow("Ctrl+Alt+F2 is still the band")
            << Field::Callsign << int(Qt::Key_F2) << kCtrlAlt << "" << Action::BandUp;
        QTest::newRow("Ctrl+F1 steps the mode down")
            << Field::Callsign << int(Qt::Key_F1) << kCtrl << "" << Action::ModeDown;
        QTest::newRow("Alt+M steps the mode up") << Field::Exchange << int(Qt::Key_M) << kAlt << "" << Action::ModeUp;
        QTest::newRow("band keys only in the entry fields")
            << Field::SentSerial << int(Qt::Key_F2) << kAlt << "" << Action::None;
        QTest::newRow("Ctrl+T waits for the release")
            << Field::Callsign << int(Qt::Key_T) << kCtrl << "\x14" << Action::Swallow;
        QTest::newRow("PageUp waits for the release")
            << Field::Exchange << int(Qt::Key_PageUp) << kNone << "" << Action::Swallow;
        QTest::newRow("Ctrl+Enter waits for the release")
            << Field::Exchange << int(Qt::Key_Return) << kCtrl << "\r" << Action::Swallow;
        QTest::newRow("Ctrl+Alt+Enter logs")
            << Field::Exchange << int(Qt::Key_Enter) << kCtrlAlt << "\r" << Action::LogQso;
        QTest::newRow("plain T is a letter") << Field::Callsign << int(Qt::Key_T) << kNone << "T" << Action::None;
        QTest::newRow("backquote in the serial field")
            << Field::SentSerial << int(Qt::Key_QuoteLeft) << kNone << "`" << Action::ManualCw;
        QTest::newRow("backquote in a report field is a report key")
            << Field::Report << int(Qt::Key_QuoteLeft) << kNone << "`" << Action::ReportCharacter;
        QTest::newRow("Enter in the callsign field")
            << Field::Callsign << int(Qt::Key_Return) << kNone << "\r" << Action::AcceptCallsign;
        QTest::newRow("Ctrl+Space takes a suggestion")
            << Field::Callsign << int(Qt::Key_Space) << kCtrl << " " << Action::TakeFirstSuggestion;
        QTest::newRow("Shift+Space hops as a blank")
            << Field::Callsign << int(Qt::Key_Space) << Qt::KeyboardModifiers(Qt::ShiftModifier) << " "
            << Action::ToExchange;
        QTest::newRow("Ctrl+Space in the exchange hops back")
            << Field::Exchange << int(Qt::Key_Space) << kCtrl << " " << Action::ToCallsign;
        QTest::newRow("Enter in a report field moves on")
            << Field::Report << int(Qt::Key_Enter) << kNone << "\r" << Action::NextField;
        QTest::newRow("space in the fixed part is typed")
            << Field::SentFixedPart << int(Qt::Key_Space) << kNone << " " << Action::None;
        QTest::newRow("other controls: nothing of the window")
            << Field::Other << int(Qt::Key_Return) << kNone << "\r" << Action::None;
    }
    void pressInAField() {
        QFETCH(Field, field);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, text);
        QFETCH(Action, expected);
        EntryKeys keys;
        QCOMPARE(keys.press(field, stroke(key, modifiers, text), false), expected);
        // Whatever the table says, a key the keyer took does nothing more.
        QCOMPARE(EntryKeys().press(field, stroke(key, modifiers, text), true), Action::Swallow);
    }

    // A held key: band and mode step once, a shortcut is not remembered again, a release repeated does nothing.
    void heldKeysActOnce() {
        EntryKeys keys;
        QCOMPARE(keys.press(Field::Callsign, stroke(Qt::Key_F2, kAlt, {}, true), false), Action::Swallow);
        QCOMPARE(keys.press(Field::Callsign, stroke(Qt::Key_Space, kNone, " ", true), false), Action::ToExchange);
        QCOMPARE(keys.release(Field::Callsign, stroke(Qt::Key_PageUp, kNone, {}, true)), Action::None);
        QCOMPARE(keys.release(Field::Callsign, stroke(Qt::Key_PageDown, kNone)), Action::OfflineMinuteBack);
    }

    // The modifier let go before the letter: the release acts with the modifiers held at the press.
    void releaseTakesTheModifiersOfThePress_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("pressed");
        QTest::addColumn<Action>("expected");
        QTest::newRow("Alt+T speeds up") << int(Qt::Key_T) << kAlt << Action::SpeedUp;
        QTest::newRow("Ctrl+Alt+T speeds up") << int(Qt::Key_T) << kCtrlAlt << Action::SpeedUp;
        QTest::newRow("Ctrl+T slows down") << int(Qt::Key_T) << kCtrl << Action::SpeedDown;
        QTest::newRow("Alt+K opens manual CW") << int(Qt::Key_K) << kAlt << Action::ManualCw;
        QTest::newRow("Ctrl+Enter opens manual CW") << int(Qt::Key_Return) << kCtrl << Action::ManualCw;
        QTest::newRow("PageUp a minute on") << int(Qt::Key_PageUp) << kNone << Action::OfflineMinuteForward;
    }
    void releaseTakesTheModifiersOfThePress() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, pressed);
        QFETCH(Action, expected);
        EntryKeys keys;
        QCOMPARE(keys.press(Field::Exchange, stroke(key, pressed), false), Action::Swallow);
        QCOMPARE(keys.release(Field::Exchange, stroke(key, kNone)), expected);
        // Used once: the next plain release is only a letter.
        QCOMPARE(keys.release(Field::Exchange, stroke(key, kNone)),
                 key == Qt::Key_PageUp ? Action::OfflineMinuteForward : Action::None);
    }

    // The release went to another control: the same key pressed again forgets the remembered modifiers.
    void pressingAgainForgetsTheHeldShortcut() {
        EntryKeys keys;
        keys.press(Field::Callsign, stroke(Qt::Key_T, kCtrl), false);
        QCOMPARE(keys.release(Field::Other, stroke(Qt::Key_T, kNone)), Action::None);
        QCOMPARE(keys.press(Field::Callsign, stroke(Qt::Key_T, kNone, "T"), true), Action::Swallow);
        QCOMPARE(keys.release(Field::Callsign, stroke(Qt::Key_T, kNone)), Action::None);
    }

    // Every row names a key and at least one field, and no row is hidden behind an earlier one.
    void everyRowIsReachable() {
        const auto rows = EntryKeys::table();
        for (qsizetype i = 0; i < qsizetype(rows.size()); ++i) {
            const EntryKeys::Row& row = rows[size_t(i)];
            QVERIFY(row.fields != 0);
            for (qsizetype j = 0; j < i; ++j) {
                const EntryKeys::Row& earlier = rows[size_t(j)];
                const bool sameKey = earlier.key == row.key || earlier.key == EntryKeys::kAnyKey;
                const bool covers =
                    earlier.modifiers == EntryKeys::Modifiers::Any || earlier.modifiers == row.modifiers;
                QVERIFY2(!(earlier.phase == row.phase && sameKey && covers && (row.fields & ~earlier.fields) == 0),
                         qPrintable(QStringLiteral("row %1 is hidden by row %2").arg(i).arg(j)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestEntryKeys)
#include "tst_entrykeys.moc"
