#include "interchange/ediexport.h"
#include "keyer/messagebuffers.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"
#include "testsupport.h"

#include <QTest>

namespace {

using SettingsKeys::AnyKey;

// The table's keys and every member of its families, over the buffers, bands and windows the program has.
QList<AnyKey> everyKey() {
    namespace Keys = SettingsKeys;
    QList<AnyKey> keys = Keys::fixedKeys();
    for (int n = 1; n <= MessageBuffers::kCount; ++n)
        keys << Keys::Buffers::name(n) << Keys::Buffers::text(n) << Keys::Buffers::wavFile(n) << Keys::Buffers::loop(n);
    for (int band = 0; band < Edi::kBandCount; ++band) {
        const QString name = Edi::bandName(band);
        keys << Keys::Edi::txEquipment(name) << Keys::Edi::power(name) << Keys::Edi::rxEquipment(name)
             << Keys::Edi::antenna(name) << Keys::Edi::antennaHeight(name) << Keys::Edi::mastHeight(name)
             << Keys::Edi::multiplier(name) << Keys::Edi::bonus(name) << Keys::Edi::remarks(name);
    }
    for (const Keys::WindowSection window : Keys::kWindowSections) {
        keys << Keys::Window::x(window) << Keys::Window::y(window) << Keys::Window::width(window)
             << Keys::Window::height(window) << Keys::Window::fontFace(window) << Keys::Window::fontSize(window)
             << Keys::Window::fontColour(window) << Keys::Window::fontCharset(window) << Keys::Window::fontStyle(window)
             << Keys::Window::background(window);
    }
    return keys;
}

QString sectionOf(const AnyKey& key) {
    return std::visit([](const auto& k) { return k.section; }, key);
}
QString nameOf(const AnyKey& key) {
    return std::visit([](const auto& k) { return k.name; }, key);
}

// A value unlike the key's default and unlike that of any other key.
template <typename T> T distinctValue(const SettingsKey<T>& key, int index) {
    if constexpr (std::is_same_v<T, bool>)
        return !key.defaultValue;
    else if constexpr (std::is_same_v<T, QString>)
        return QStringLiteral("wartość %1").arg(index);
    else
        return key.defaultValue + T(1000 + index);
}

} // namespace

Q_DECLARE_METATYPE(SettingsKeys::AnyKey)

class TestSettingsKeys : public QObject {
    Q_OBJECT

private slots:
    // The file finds keys regardless of letter case and tries every "=" of a line as the separator: two keys
    // that differ in case, or a key that is another one followed by "=", would read each other's line.
    void everyKeyHasALineOfItsOwn() {
        QHash<QString, QStringList> namesBySection;
        for (const AnyKey& key : everyKey()) {
            const QString section = sectionOf(key);
            const QString name = nameOf(key);
            QVERIFY2(!name.isEmpty() && name == name.trimmed() && !name.startsWith(u';') && !name.startsWith(u'['),
                     qPrintable(section + u'/' + name));
            namesBySection[section.toCaseFolded()] << name.toCaseFolded();
        }
        for (auto it = namesBySection.cbegin(); it != namesBySection.cend(); ++it) {
            for (const QString& name : it.value()) {
                QCOMPARE(it.value().count(name), 1);
                for (const QString& other : it.value())
                    QVERIFY2(!other.startsWith(name + u'='), qPrintable(it.key() + u'/' + other));
            }
        }
    }

    void missingKeysReadAsTheirDefaultsAndWrittenOnesReadBack() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Inna]\r\nKlucz=1\r\n");
        const QList<AnyKey> keys = everyKey();
        {
            IniFile ini(path);
            IniFile::Batch batch(ini);
            for (const AnyKey& key : keys) {
                std::visit([&](const auto& k) { QCOMPARE(ini.value(k), k.defaultValue); }, key);
                QVERIFY(!std::visit([&](const auto& k) { return ini.contains(k); }, key));
            }
            for (int i = 0; i < keys.size(); ++i)
                std::visit([&](const auto& k) { ini.setValue(k, distinctValue(k, i)); }, keys.at(i));
        }
        const IniFile again(path);
        for (int i = 0; i < keys.size(); ++i)
            std::visit([&](const auto& k) { QCOMPARE(again.value(k), distinctValue(k, i)); }, keys.at(i));
    }

    void familiesBuildTheNamesOfTheFile_data() {
        QTest::addColumn<AnyKey>("key");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("name");
        QTest::newRow("first buffer's name") << AnyKey(SettingsKeys::Buffers::name(1)) << "Bufory"
                                             << "Bufor1-nazwa";
        QTest::newRow("last buffer's loop") << AnyKey(SettingsKeys::Buffers::loop(12)) << "Bufory"
                                            << "Bufor12-petla";
        QTest::newRow("band station") << AnyKey(SettingsKeys::Edi::mastHeight(QStringLiteral("70CM"))) << "EDI"
                                      << "Wys_masztu_70CM";
        QTest::newRow("band bonus") << AnyKey(SettingsKeys::Edi::bonus(QStringLiteral("2M"))) << "EDI"
                                    << "SpinEdit2_2M";
        QTest::newRow("logged calls") << AnyKey(SettingsKeys::Window::width(SettingsKeys::WindowSection::LoggedCalls))
                                      << "Zalogowane"
                                      << "Szerokość";
        QTest::newRow("call suggestions")
            << AnyKey(SettingsKeys::Window::background(SettingsKeys::WindowSection::CallSuggestions)) << "Master"
            << "Kolor tła";
        QTest::newRow("SSB list") << AnyKey(SettingsKeys::Window::x(SettingsKeys::WindowSection::SsbList))
                                  << "Lista SSB"
                                  << "X";
    }
    void familiesBuildTheNamesOfTheFile() {
        QFETCH(AnyKey, key);
        QFETCH(QString, section);
        QFETCH(QString, name);
        QCOMPARE(sectionOf(key), section);
        QCOMPARE(nameOf(key), name);
    }
};

QTEST_GUILESS_MAIN(TestSettingsKeys)
#include "tst_settingskeys.moc"
