#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installPolishTranslations(QCoreApplication& application) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool any = false;
    for (const QString& catalogue : {QStringLiteral("qtbase"), QStringLiteral("qtmultimedia")}) {
        auto* translator = new QTranslator(&application);
        if (translator->load(QLocale(QLocale::Polish, QLocale::Poland), catalogue, QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            any = true;
        } else {
            delete translator;
        }
    }
    return any;
}
