#include "consoledialogs.h"

#include <cstdio>

DialogButton ConsoleDialogs::message(
    const QString& title, const QString& text, MessageIcon icon, unsigned, DialogButton defaultButton) {
    if (icon == MessageIcon::Error)
        ++errorCount;
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
    return defaultButton;
}
