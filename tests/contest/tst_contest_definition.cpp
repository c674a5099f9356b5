#include "contest/contestdefinition.h"
#include "contesttext.h"
#include "core/textfile.h"
#include "testsupport.h"

#include <QTest>

namespace {

const QString kFile = QStringLiteral("spdx-sp.ini");

QString broken(int line, const QString& what) {
    return QStringLiteral("Plik zawodów spdx-sp.ini, wiersz %1: %2.").arg(line).arg(what);
}

// The fields that are not in `fields`, with the ones that are there for the same key, for a readable failure.
QString missingFields(const QStringList& fields, const QStringList& expected) {
    QStringList missing;
    for (const QString& line : expected) {
        if (fields.contains(line))
            continue;
        const QString key = line.section('=', 0, 0) + '=';
        const auto found =
            std::find_if(fields.begin(), fields.end(), [&](const QString& f) { return f.startsWith(key); });
        missing.append(QStringLiteral("expected \"%1\", read \"%2\"").arg(line, found == fields.end() ? "" : *found));
    }
    return missing.join('\n');
}

} // namespace

// Reading contest definition files: the fields they give, the message naming what is wrong, the shipped files and
// the catalogue of definitions an operator chooses from.
class TestContestDefinition : public QObject {
    Q_OBJECT

private slots:
    void definitionReadsAs_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("defaults of the optional keys") << contestText({})
                                                       << QStringList{"plik=spdx-sp",
                                                                      "Powtorzenia=pasmo i emisja",
                                                                      "Odbierana=raport i numer",
                                                                      "Kody=",
                                                                      "Wynik=punkty x mnozniki",
                                                                      "Reguly=",
                                                                      "Mnozniki=",
                                                                      "cty.dat=nie"};
        QTest::newRow("bands and modes in table order, once, blanks or commas")
            << contestText({"Pasma=10m, 160M  20M,10M", "Emisje=cw,ssb, CW"})
            << QStringList{"Pasma=160M 20M 10M", "Emisje=SSB CW"};
        QTest::newRow("sections, keys and words in any letter case")
            << QByteArray(
                   "[ZAWODY]\nNAZWA=X\ncabrillo=Y\npasma=2m\nEMISJE=fm\npowtorzenia=RAZ\nOdbierana=Raport  i   "
                   "Kod\nkody=b,c b\nWYNIK=Punkty\n[punkty]\nREGULA=2 KRAJ=sp,dl PASMO=2m EMISJA=fm\n[mnozniki]\n"
                   "MNOZNIK=KOD Pasmo-Emisja BEZ=b")
            << QStringList{"Powtorzenia=raz",
                           "Odbierana=raport i kod",
                           "Kody=B C",
                           "Wynik=punkty",
                           "Reguly=2 kraj=SP,DL pasmo=2M emisja=FM",
                           "Mnozniki=kod pasmo-emisja bez=B",
                           "cty.dat=tak"};
        QTest::newRow("repeated rules kept in order with their lines")
            << contestText({}, {"Regula=0 kraj=SP", "# Europa", "", "Regula=1 kontynent=EU emisja=CW",
                                "Regula=3 kontynent=inny", "Regula=6*km moj-kontynent=NA kraj=wlasny", "Regula=km"})
            << QStringList{"Reguly=0 kraj=SP; 1 kontynent=EU emisja=CW; 3 kontynent=inny; 6*km moj-kontynent=NA "
                           "kraj=wlasny; km",
                           "wiersze regul=7,10,11,12,13", "cty.dat=tak"};
        QTest::newRow("every multiplier kind and scope; a country multiplier needs cty.dat")
            << contestText({}, {"Regula=1 pasmo=20M"},
                           {"Mnoznik=kraj pasmo bez=SP,3D2/c", "Mnoznik=wpx raz", "Mnoznik=powiat pasmo-emisja",
                            "Mnoznik=kwadrat raz"})
            << QStringList{"Mnozniki=kraj pasmo bez=SP,3D2/C; wpx raz; powiat pasmo-emisja; kwadrat raz",
                           "cty.dat=tak"};
        QTest::newRow("Windows-1250 name")
            << TextFile::encode(QString::fromUtf8(contestText({"Nazwa=Zawody Łódź – Śląsk"})))
            << QStringList{"Nazwa=Zawody Łódź – Śląsk"};
        QTest::newRow("UTF-8 name after a byte-order mark, lone CR line ends, comments")
            << "\xEF\xBB\xBF; definicja\r# zawody\r" + contestText({"Nazwa=Zawody Łódź – Śląsk"}).replace('\n', '\r')
            << QStringList{"Nazwa=Zawody Łódź – Śląsk", "Cabrillo=TEST"};
        QTest::newRow("tabs and runs of blanks in the name and Cabrillo name")
            << contestText({"Nazwa=SP\tDX   Contest", "Cabrillo= SP  DX"})
            << QStringList{"Nazwa=SP DX Contest", "Cabrillo=SP DX"};
    }
    void definitionReadsAs() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, expected);
        const ContestDefinitionRead read = parseContestDefinition(text, kFile);
        QVERIFY2(read.definition, qPrintable(read.error));
        QVERIFY(read.error.isEmpty());
        const QString missing = missingFields(contestFields(*read.definition), expected);
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }

    // What the contest chooser shows of a definition: every rule that decides the score, in the operator's words.
    void descriptionSaysWhatDecidesTheScore_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("codes once per band and mode, countries without some")
            << contestText({"Pasma=80M 40M", "Emisje=CW SSB", "Powtorzenia=pasmo i emisja", "Odbierana=raport i kod",
                            "Kody=A B"},
                           {"Regula=1"}, {"Mnoznik=kod pasmo-emisja", "Mnoznik=kraj raz bez=SP,DL"})
            << QStringList{"Nazwa: Test",
                           "Cabrillo: TEST",
                           "Pasma: 80M 40M",
                           "Emisje: SSB CW",
                           "Powtórzenia: raz na każdym paśmie każdą emisją",
                           "Wymiana: raport i kod (A B)",
                           "Mnożniki: kody na każdym paśmie i emisji; kraje raz w zawodach (bez SP DL)"};
        QTest::newRow("locator once, no multipliers")
            << contestText({"Pasma=2M", "Emisje=FM", "Powtorzenia=raz", "Odbierana=lokator"}, {"Regula=km"})
            << QStringList{
                   "Nazwa: Test",      "Cabrillo: TEST", "Pasma: 2M", "Emisje: FM", "Powtórzenia: raz w zawodach",
                   "Wymiana: lokator", "Mnożniki: brak"};
    }
    void descriptionSaysWhatDecidesTheScore() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, expected);
        const ContestDefinitionRead read = parseContestDefinition(text, kFile);
        QVERIFY2(read.definition, qPrintable(read.error));
        QCOMPARE(describeContest(*read.definition), expected);
    }

    void brokenDefinitionIsNamedWithItsLine_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown key") << contestText({"Pasmaa=20M"}) << broken(6, "nieznany klucz \"Pasmaa\"");
        QTest::newRow("key of another section")
            << contestText({}, {"Mnoznik=kraj pasmo"}) << broken(7, "nieznany klucz \"Mnoznik\"");
        QTest::newRow("key before the first section")
            << "Nazwa=X\n" + contestText({}) << broken(1, "klucz \"Nazwa\" przed pierwszą sekcją");
        QTest::newRow("line without equals sign")
            << contestText({"Pasma 20M"}) << broken(6, "niezrozumiały wiersz \"Pasma 20M\"");
        QTest::newRow("empty value") << contestText({"Nazwa= "}) << broken(2, "pusta wartość klucza Nazwa");
        QTest::newRow("list of commas only") << contestText({"Pasma=, ,"}) << broken(4, "pusta wartość klucza Pasma");
        QTest::newRow("repeated key") << QByteArray("[Zawody]\nNazwa=A\nnazwa=B\n")
                                      << broken(3, "powtórzony klucz Nazwa");
        QTest::newRow("unknown band") << contestText({"Pasma=20M 11M"}) << broken(4, "nieznane pasmo \"11M\"");
        QTest::newRow("unknown mode") << contestText({"Emisje=CW AM"}) << broken(5, "nieznana emisja \"AM\"");
        QTest::newRow("control character in the name")
            << contestText({"Nazwa=SP\x01DX"}) << broken(2, "zła wartość \"SP\x01DX\" klucza Nazwa");
        QTest::newRow("bad dupe rule") << contestText({"Powtorzenia=dwa razy"})
                                       << broken(6, "zła wartość \"dwa razy\" klucza Powtorzenia");
        QTest::newRow("points in words") << contestText({}, {"Regula=trzy kraj=SP"})
                                         << broken(7, "zła liczba punktów \"trzy\"");
        QTest::newRow("no points per km")
            << contestText({}, {"Regula=0*km"}) << broken(7, "zła liczba punktów \"0*km\"");
        QTest::newRow("unknown condition")
            << contestText({}, {"Regula=1 strefa=15"}) << broken(7, "nieznany warunek \"strefa=15\"");
        QTest::newRow("band condition outside the table")
            << contestText({}, {"Regula=1 pasmo=20M,11M"}) << broken(7, "zły warunek \"pasmo=20M,11M\"");
        QTest::newRow("own continent compared with itself")
            << contestText({}, {"Regula=1 moj-kontynent=wlasny"}) << broken(7, "zły warunek \"moj-kontynent=wlasny\"");
        QTest::newRow("unknown continent")
            << contestText({}, {"Regula=1 kontynent=EU,EUR"}) << broken(7, "zły warunek \"kontynent=EU,EUR\"");
        QTest::newRow("empty country in a list")
            << contestText({}, {"Regula=1 kraj=SP,,DL"}) << broken(7, "zły warunek \"kraj=SP,,DL\"");
        QTest::newRow("condition without value")
            << contestText({}, {"Regula=1 kraj"}) << broken(7, "zły warunek \"kraj\"");
        QTest::newRow("multiplier without scope")
            << contestText({}, {}, {"Mnoznik=kraj"}) << broken(8, "mnożnik bez zakresu (pasmo, pasmo-emisja albo raz)");
        QTest::newRow("unknown multiplier kind")
            << contestText({}, {}, {"Mnoznik=strefa raz"}) << broken(8, "nieznany rodzaj mnożnika \"strefa\"");
        QTest::newRow("word after the multiplier's scope")
            << contestText({}, {}, {"Mnoznik=wpx raz pasmo"}) << broken(8, "niezrozumiałe \"pasmo\" w mnożniku");
        QTest::newRow("unknown section") << contestText({}) + "\n[Wyniki]" << broken(8, "nieznana sekcja \"[Wyniki]\"");
        QTest::newRow("repeated section") << contestText({}) + "\n[Punkty]" << broken(8, "powtórzona sekcja [Punkty]");
        QTest::newRow("missing section, at line 0")
            << QByteArray("[Zawody]\nNazwa=T\nCabrillo=T\nPasma=20M\nEmisje=CW\n[Punkty]\nRegula=1\n")
            << broken(0, "brak sekcji [Mnozniki]");
        QTest::newRow("missing key, at its section's line")
            << QByteArray("# SP DX\n[Zawody]\nNazwa=T\nCabrillo=T\nEmisje=CW\n[Punkty]\n[Mnozniki]\n")
            << broken(2, "brak klucza Pasma w sekcji [Zawody]");
        QTest::newRow("code exchange without codes")
            << contestText({"Odbierana=raport i kod"})
            << broken(6, "brak klucza Kody, którego wymaga \"Odbierana=raport i kod\"");
        QTest::newRow("codes without code exchange")
            << contestText({"Kody=B C"}) << broken(6, "klucz Kody bez \"Odbierana=raport i kod\"");
        QTest::newRow("code multiplier without codes")
            << contestText({}, {}, {"Mnoznik=wpx raz", "Mnoznik=kod pasmo"})
            << broken(9, "mnożnik kod wymaga \"Odbierana=raport i kod\" i klucza Kody");
    }
    void brokenDefinitionIsNamedWithItsLine() {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        const ContestDefinitionRead read = parseContestDefinition(text, kFile);
        QVERIFY(!read.definition);
        QCOMPARE(read.error, message);
    }

    void fileThatCannotBeADefinitionIsNamed() {
        TempProgramFolder folder(false);
        const ContestDefinitionRead missing = readContestDefinition(folder.file("brak.ini"));
        QVERIFY(!missing.definition);
        QVERIFY2(missing.error.startsWith("Plik zawodów brak.ini nie daje się odczytać: "), qPrintable(missing.error));
        const QString huge = folder.writeBytes("duzy.ini", contestText({}) + QByteArray(1 << 20, '#'));
        QCOMPARE(readContestDefinition(huge).error, QStringLiteral("Plik zawodów duzy.ini jest za duży (ponad 1 MB)."));
    }

    void shippedDefinitionReads_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("fields");
        const QString hf = "Pasma=160M 80M 40M 20M 15M 10M";
        QTest::newRow("spdx-sp.ini") << "spdx-sp.ini"
                                     << QStringList{"plik=spdx-sp",
                                                    "Nazwa=SP DX Contest (stacja SP)",
                                                    "Cabrillo=SPDX",
                                                    hf,
                                                    "Emisje=SSB CW",
                                                    "Powtorzenia=pasmo i emisja",
                                                    "Odbierana=raport i numer",
                                                    "Kody=",
                                                    "Wynik=punkty x mnozniki",
                                                    "Reguly=0 kraj=SP; 1 kontynent=EU; 3 kontynent=AF,AN,AS,NA,OC,SA",
                                                    "Mnozniki=kraj pasmo bez=SP",
                                                    "cty.dat=tak"};
        QTest::newRow("spdx-dx.ini") << "spdx-dx.ini"
                                     << QStringList{"plik=spdx-dx",
                                                    "Nazwa=SP DX Contest (stacja zagraniczna)",
                                                    "Cabrillo=SPDX",
                                                    hf,
                                                    "Emisje=SSB CW",
                                                    "Powtorzenia=pasmo i emisja",
                                                    "Odbierana=raport i kod",
                                                    "Kody=B C D F G J K L M O P R S U W Z",
                                                    "Wynik=punkty x mnozniki",
                                                    "Reguly=3 kraj=SP",
                                                    "Mnozniki=kod pasmo",
                                                    "cty.dat=tak"};
        QTest::newRow("wpx.ini") << "wpx.ini"
                                 << QStringList{"plik=wpx",
                                                "Nazwa=CQ WPX Contest",
                                                "Cabrillo=CQ-WPX-CW",
                                                hf,
                                                "Emisje=SSB CW",
                                                "Powtorzenia=pasmo",
                                                "Odbierana=raport i numer",
                                                "Kody=",
                                                "Wynik=punkty x mnozniki",
                                                "Reguly=1 kraj=wlasny; "
                                                "2 moj-kontynent=NA kontynent=NA kraj=inny pasmo=20M,15M,10M; "
                                                "4 moj-kontynent=NA kontynent=NA kraj=inny pasmo=160M,80M,40M; "
                                                "1 kontynent=wlasny pasmo=20M,15M,10M; "
                                                "2 kontynent=wlasny pasmo=160M,80M,40M; "
                                                "3 kontynent=inny pasmo=20M,15M,10M; "
                                                "6 kontynent=inny pasmo=160M,80M,40M",
                                                "Mnozniki=wpx raz",
                                                "cty.dat=tak"};
        QTest::newRow("powiaty.ini") << "powiaty.ini"
                                     << QStringList{"plik=powiaty",
                                                    "Nazwa=Zawody o powiaty",
                                                    "Cabrillo=POWIATY",
                                                    "Pasma=" + Bands::selectorList(true).join(' '),
                                                    "Emisje=" + Modes::selectorList(true).join(' '),
                                                    "Powtorzenia=pasmo i emisja",
                                                    "Odbierana=raport i powiat",
                                                    "Kody=",
                                                    "Wynik=punkty x mnozniki",
                                                    "Reguly=1",
                                                    "Mnozniki=powiat raz",
                                                    "cty.dat=nie"};
        QTest::newRow("ukf-km.ini") << "ukf-km.ini"
                                    << QStringList{"plik=ukf-km",
                                                   "Nazwa=Zawody UKF (punkty za km)",
                                                   "Cabrillo=UKF",
                                                   "Pasma=6M 2M 70CM 23CM",
                                                   "Emisje=" + Modes::selectorList(true).join(' '),
                                                   "Powtorzenia=pasmo",
                                                   "Odbierana=lokator",
                                                   "Kody=",
                                                   "Wynik=punkty",
                                                   "Reguly=km",
                                                   "Mnozniki=",
                                                   "cty.dat=nie"};
    }
    void shippedDefinitionReads() {
        QFETCH(QString, file);
        QFETCH(QStringList, fields);
        // The copy the build puts beside the programs.
        const ContestDefinitionRead read = readContestDefinition(QStringLiteral(KVR_BIN_DIR "/contests/") + file);
        QVERIFY2(read.definition, qPrintable(read.error));
        QCOMPARE(contestFields(*read.definition, false), fields);
    }

    // The example of the README and of the help page is the shipped file with other comments.
    void documentedExampleReadsAsTheShippedFile_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("opening");
        QTest::addColumn<QByteArray>("closing");
        QTest::newRow("README") << KVR_SOURCE_DIR "/README.md" << QByteArray("## Contest definitions")
                                << QByteArray("```ini\n") << QByteArray("```");
        QTest::newRow("help page") << KVR_SOURCE_DIR "/data/KVR_Log.html" << QByteArray("<h2 id=\"zawody\">")
                                   << QByteArray("<pre id=\"przyklad-zawodow\">\n") << QByteArray("</pre>");
    }
    void documentedExampleReadsAsTheShippedFile() {
        QFETCH(QString, document);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, opening);
        QFETCH(QByteArray, closing);
        const QByteArray text = fileBytes(document);
        const qsizetype from = text.indexOf(opening, text.indexOf(section));
        const qsizetype to = text.indexOf(closing, from + opening.size());
        QVERIFY(text.indexOf(section) >= 0 && from >= 0 && to >= 0);
        const ContestDefinitionRead example =
            parseContestDefinition(text.mid(from + opening.size(), to - from - opening.size()), kFile);
        QVERIFY2(example.definition, qPrintable(example.error));
        const ContestDefinitionRead shipped = readContestDefinition(KVR_SOURCE_DIR "/data/contests/spdx-sp.ini");
        QVERIFY2(shipped.definition, qPrintable(shipped.error));
        QCOMPARE(contestFields(*example.definition, false), contestFields(*shipped.definition, false));
    }

    void catalogueTakesTheLaterFolderByNameAndListsBrokenFiles() {
        TempProgramFolder installed(false);
        TempProgramFolder program(false);
        installed.writeBytes("wpx.ini", contestText({"Nazwa=CQ WPX"}));
        installed.writeBytes("spdx.ini", contestText({"Nazwa=SP DX (stary)"}));
        installed.writeBytes("poprawiony.ini", contestText({"Nazwa=Zly", "Pasma=11M"}));
        installed.writeBytes("opis.txt", contestText({"Nazwa=Nie definicja"}));
        program.writeBytes("SPDX.ini", contestText({"Nazwa=SP DX"}));
        program.writeBytes("poprawiony.ini", contestText({"Nazwa=Alfa"}));
        program.writeBytes("literowka.ini", contestText({"Pasmaa=20M"}));
        const ContestCatalog catalog =
            ContestCatalog::scan({installed.path(), program.file("brak-folderu"), program.path()});
        QStringList names;
        for (const ContestDefinition& d : catalog.definitions)
            names << d.name + " <" + d.fileName + ">";
        QCOMPARE(names, (QStringList{"Alfa <poprawiony>", "CQ WPX <wpx>", "SP DX <SPDX>"}));
        QCOMPARE(catalog.errors, QStringList{"Plik zawodów literowka.ini, wiersz 6: nieznany klucz \"Pasmaa\"."});
        QVERIFY(catalog.find("spdx") && catalog.find("spdx")->name == "SP DX");
        QVERIFY(!catalog.find("literowka"));
    }

    void everyShippedDefinitionIsInTheCatalogue() {
        const ContestCatalog catalog = ContestCatalog::scan({QStringLiteral(KVR_SOURCE_DIR "/data/contests")});
        QVERIFY2(catalog.errors.isEmpty(), qPrintable(catalog.errors.join('\n')));
        QStringList files;
        for (const ContestDefinition& d : catalog.definitions)
            files << d.fileName;
        QCOMPARE(files, (QStringList{"wpx", "spdx-sp", "spdx-dx", "powiaty", "ukf-km"}));
    }
};

QTEST_GUILESS_MAIN(TestContestDefinition)
#include "tst_contest_definition.moc"
