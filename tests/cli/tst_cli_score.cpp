#include "settings/inifile.h"
#include "testqso.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QTest>

// kvrlog-cli score: the contest from --contest, a definition file or the program's choice, the own station from the
// operator data, the score as the last line; every failure told on stderr.
class TestCliScore : public QObject {
    Q_OBJECT

private slots:
    void scoreOfALogInAContest_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("chosen");  // the contest saved by the program
        QTest::addColumn<QString>("ownCall"); // "Uzywany znak"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("lastOut");
        QTest::addColumn<QString>("err");
        // SP DX Contest from Poland: DL and W1 score 1 and 3, SP9 nothing; DL, K (and DL again on 40 m) multiply.
        const QString spdx = QStringLiteral("Wynik: 15 (punkty 5, mnożniki 3)");
        QTest::newRow("named contest") << QStringList{"score", "--contest", "spdx-sp"} << ""
                                       << "SP9XYZ" << 0 << spdx << "";
        QTest::newRow("the program's choice") << QStringList{"score"} << "spdx-sp"
                                              << "SP9XYZ" << 0 << spdx << "";
        QTest::newRow("--contest wins over the choice") << QStringList{"score", "--contest", "wpx"} << "spdx-sp"
                                                        << "SP9XYZ" << 0 << "Wynik: 21 (punkty 7, mnożniki 3)"
                                                        << "";
        QTest::newRow("no own callsign")
            << QStringList{"score", "--contest", "wpx"} << ""
            << "" << 0 << "Wynik: 0 (punkty 0, mnożniki 3)"
            << "Brak znaku stacji (\"Uzywany znak\" w danych operatora): reguły zależne od własnego kraju i "
               "kontynentu nie dają punktów.";
        QTest::newRow("counties need no countries") << QStringList{"score", "--contest", "powiaty"} << ""
                                                    << "" << 0 << "Wynik: 4 (punkty 4, mnożniki 1)"
                                                    << "";
        QTest::newRow("no contest chosen") << QStringList{"score"} << "brak"
                                           << "SP9XYZ" << 1 << ""
                                           << "Nie wybrano zawodów: podaj --contest NAZWA albo wybierz zawody w "
                                              "programie.";
        QTest::newRow("unknown contest") << QStringList{"score", "--contest", "spdx"} << ""
                                         << "SP9XYZ" << 1 << ""
                                         << "Nie ma definicji zawodów \"spdx\".";
        QTest::newRow("a definition that does not read")
            << QStringList{"score", "--contest", "zepsute.ini"} << ""
            << "SP9XYZ" << 1 << ""
            << "Plik zawodów zepsute.ini, wiersz 2: nieznany klucz \"Pasmaa\".";
    }

    void scoreOfALogInAContest() {
        QFETCH(QStringList, args);
        QFETCH(QString, chosen);
        QFETCH(QString, ownCall);
        QFETCH(int, exitCode);
        QFETCH(QString, lastOut);
        QFETCH(QString, err);
        if (!QFileInfo::exists(QStringLiteral("/usr/share/hamradio-files/cty.dat")))
            QSKIP("hamradio-files' cty.dat is not installed");
        TempProgramFolder folder;
        const TestQso contact = TestQso().band("20M").srx("001GW");
        const QString log = folder.writeLines(
            QStringLiteral("zawody.kvr"),
            {contact.time("10:00:00").call("DL1ABC"), contact.time("10:01:00").call("W1AW"),
             contact.time("10:02:00").call("SP9ABC"), contact.time("10:03:00").band("40M").call("DL1ABC"),
             contact.time("10:04:00").band("40M").call("DL1ABC")});
        folder.writeLines(QStringLiteral("zepsute.ini"), {"[Zawody]", "Pasmaa=20M"});
        {
            IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
            ini.writeString("Program", "Log", log);
            ini.writeString("Analiza grupy", "Opcja", "Powiat");
            ini.writeString("Operator", "Uzywany znak", ownCall);
            if (!chosen.isEmpty())
                ini.writeString("Zawody", "Definicja", chosen);
        }
        for (QString& arg : args) {
            if (arg.endsWith(QLatin1String(".ini")))
                arg = folder.file(arg);
        }
        const CliRun run = runCli(folder.path(), args);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.outLines().value(run.outLines().size() - 1), lastOut);
        QCOMPARE(run.err.trimmed(), err);
        if (exitCode == 0)
            QCOMPARE(run.outLines().value(1), QStringLiteral("Pasmo Emisja    QSO  Punkty  Mnożniki"));
    }
};

QTEST_GUILESS_MAIN(TestCliScore)
#include "tst_cli_score.moc"
