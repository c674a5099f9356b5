#include "rig/rigsettings.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <optional>

namespace Keys = SettingsKeys::Program;

namespace {

QStringList announced(const QSignalSpy& spy) {
    QStringList keys;
    for (const QList<QVariant>& args : spy)
        keys << args.at(0).toString() + u'/' + args.at(1).toString();
    return keys;
}

} // namespace

class TestProgramSettings : public QObject {
    Q_OBJECT
private slots:
    void writesAreAnnouncedOnceTheyAreOnTheDisk_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("a new key") << QByteArray("[Program]\r\nPasmo=40M\r\n") << QStringList{"Program/Emisja"};
        QTest::newRow("a changed value") << QByteArray("[Program]\r\nEmisja=CW\r\n") << QStringList{"Program/Emisja"};
        QTest::newRow("the same value again")
            << QByteArray("[Program]\r\nPasmo=40M\r\nEmisja=SSB\r\n") << QStringList{};
        QTest::newRow("garbage around the key")
            << QByteArray("\x01\xFF[Program\r\n=\r\n[Program]\r\nEmisja=\r\n") << QStringList{"Program/Emisja"};
    }
    void writesAreAnnouncedOnceTheyAreOnTheDisk() {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, keys);
        TempProgramFolder folder;
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"), before);
        ProgramSettings settings(path);
        QSignalSpy spy(&settings, &ProgramSettings::changed);
        QByteArray onDiskWhenTold;
        connect(&settings, &ProgramSettings::changed, this, [&] { onDiskWhenTold = fileBytes(path); });
        QVERIFY(settings.setValue(Keys::mode, QStringLiteral("SSB")));
        QCOMPARE(announced(spy), keys);
        QCOMPARE(settings.value(Keys::mode), QStringLiteral("SSB"));
        if (!keys.isEmpty())
            QVERIFY(onDiskWhenTold.contains("Emisja=SSB\r\n"));
    }

    // A window closing writes many keys: one rewrite, and the changes are told after it, each once.
    void aBatchIsOneWriteToldAfterItsEnd() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nPasmo=40M\r\n");
        ProgramSettings settings(path);
        QSignalSpy spy(&settings, &ProgramSettings::changed);
        {
            ProgramSettings::Batch batch(settings);
            settings.setValue(Keys::band, QStringLiteral("20M"));
            settings.setValue(Keys::band, QStringLiteral("20M"));
            RigSettings rig;
            rig.pollMs = 700;
            rig.write(settings.file());
            QVERIFY(spy.isEmpty());
            QCOMPARE(fileBytes(path), QByteArray("[Program]\r\nPasmo=40M\r\n"));
        }
        QVERIFY(settings.batchStatus());
        QCOMPARE(spy.size(), 9);
        QCOMPARE(announced(spy).first(), QStringLiteral("Program/Pasmo"));
        QVERIFY(announced(spy).contains(QStringLiteral("Radio/Odpytywanie")));
        QVERIFY(ProgramSettings::concerns(SettingsKeys::Radio::pollMs, QStringLiteral("radio"),
                                          QStringLiteral("ODPYTYWANIE")));
        QVERIFY(
            !ProgramSettings::concerns(SettingsKeys::Radio::pollMs, QStringLiteral("Radio"), QStringLiteral("Model")));
        QCOMPARE(RigSettings::read(IniFile(path)).pollMs, 700);
    }

    // kvrlog-cli reserving a serial or a hand edit while the program runs: the next access reads the file again and
    // tells what changed, and a write lands on top of it, so both the other writer's keys and ours are kept.
    void aChangeByAnotherWriterIsReadToldAndKept_data() {
        QTest::addColumn<bool>("inBatch");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("a single write") << false
                                        << QStringList{"Program/Pasmo", "Program/Grupa", "Radio/Odpytywanie",
                                                       "Program/Emisja"};
        // The other writer comes between the batch's writes; the batch's own keys are told at its end.
        QTest::newRow("during a batch") << true
                                        << QStringList{"Program/Pasmo", "Program/Grupa", "Radio/Odpytywanie",
                                                       "Program/STX", "Program/Emisja"};
    }
    void aChangeByAnotherWriterIsReadToldAndKept() {
        QFETCH(bool, inBatch);
        QFETCH(QStringList, keys);
        TempProgramFolder folder;
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"),
                                               "[Program]\r\nPasmo=40M\r\nGrupa=KD\r\nEmisja=CW\r\nSTX=7\r\n");
        ProgramSettings settings(path);
        QSignalSpy spy(&settings, &ProgramSettings::changed);
        {
            std::optional<ProgramSettings::Batch> batch;
            if (inBatch) {
                batch.emplace(settings);
                settings.setValue(Keys::stx, QStringLiteral("8"));
            }
            // Same length as before: only the file's identity and times tell the change.
            IniFile other(path);
            QVERIFY(other.setValue(Keys::band, QStringLiteral("20M")));
            QVERIFY(other.setValue(Keys::stxFixed, QString()));
            QVERIFY(other.setValue(SettingsKeys::Radio::pollMs, 300));
            settings.setValue(Keys::mode, QStringLiteral("SSB"));
        }
        QCOMPARE(announced(spy), keys);
        const QByteArray expected = QByteArray("[Program]\r\nPasmo=20M\r\nGrupa=\r\nEmisja=SSB\r\nSTX=") +
                                    (inBatch ? "8" : "7") + "\r\n\r\n[Radio]\r\nOdpytywanie=300\r\n";
        QCOMPARE(fileBytes(path), expected);
        QCOMPARE(settings.value(Keys::band), QStringLiteral("20M"));
        QCOMPARE(settings.value(SettingsKeys::Radio::pollMs), 300);
    }

    // A read alone notices the change; a file removed meanwhile keeps what is held and gets it back at a write.
    void aReadNoticesAChangeAndARemovedFileIsWrittenAgain() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nPasmo=40M\r\n");
        ProgramSettings settings(path);
        QSignalSpy spy(&settings, &ProgramSettings::changed);
        folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nPasmo=160M\r\n");
        QCOMPARE(settings.value(Keys::band), QStringLiteral("160M"));
        QCOMPARE(settings.value(Keys::band), QStringLiteral("160M"));
        QCOMPARE(announced(spy), QStringList{"Program/Pasmo"});
        QVERIFY(QFile::remove(path));
        QCOMPARE(settings.value(Keys::band), QStringLiteral("160M"));
        QVERIFY(settings.setValue(Keys::mode, QStringLiteral("SSB")));
        QCOMPARE(fileBytes(path), QByteArray("[Program]\r\nPasmo=160M\r\nEmisja=SSB\r\n"));
    }

    // A folder where the file should be cannot be read: defaults, nothing written, and every write says so.
    void aFileThatCannotBeReadGivesDefaultsAndRefusesWrites() {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("kvr_log.ini"));
        QVERIFY(QDir().mkpath(path));
        ProgramSettings settings(path);
        QCOMPARE(settings.value(Keys::band), Keys::band.defaultValue);
        const TextFile::Status written = settings.setValue(Keys::band, QStringLiteral("20M"));
        QVERIFY(!written);
        QVERIFY(written.error.contains(path));
        QCOMPARE(settings.value(Keys::mode), Keys::mode.defaultValue);
        {
            ProgramSettings::Batch batch(settings);
            settings.setValue(Keys::mode, QStringLiteral("SSB"));
        }
        QVERIFY(!settings.batchStatus());
        QCOMPARE(settings.batchStatus().error, written.error);
        QVERIFY(QFileInfo(path).isDir());
    }
};

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
