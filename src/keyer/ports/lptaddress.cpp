#include "keyer/ports/lptaddress.h"

#include "platform/userdialogs.h"

namespace LptAddress {

LptSelection fixed(const QString& choice) {
    LptSelection s;
    s.choice = choice;
    if (choice == QLatin1String("LPT2"))
        s.base = 0x3BC;
    else if (choice == QLatin1String("LPT3"))
        s.base = 0x278;
    else
        s.choice = QStringLiteral("LPT1");
    s.label = QStringLiteral("Port LPT [$") + QString::number(s.base, 16).toUpper() + u']';
    return s;
}

std::optional<QString> accept(const QString& typed) {
    const QString text = QString(typed).remove(u'$').toUpper();
    // The first three characters must be hexadecimal digits; longer texts must be entirely hexadecimal too,
    // so the address always converts to a number.
    if (text.size() < 3 || text.size() > 4)
        return std::nullopt;
    for (const QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return std::nullopt;
    return text;
}

LptSelection askUser(UserDialogs& dialogs, const QString& currentUserAddress) {
    QString initial = QString(currentUserAddress).remove(u'$');
    for (;;) {
        const std::optional<QString> answer =
            dialogs.inputText(QStringLiteral("Adres portu LPT"), QStringLiteral("Wprowadź adres portu [Hex]"), initial);
        // Cancelling answers with the initial text; after a rejected address that would ask for ever, so a
        // cancel then counts as an empty answer.
        const QString typed = answer ? answer->trimmed() : accept(initial.trimmed()) ? initial.trimmed() : QString();
        if (typed.isEmpty()) {
            dialogs.information(QStringLiteral("Nie został wybrany żaden port LPT.\nZostanie ustawiony port LPT1."));
            return fixed(QStringLiteral("LPT1"));
        }
        if (const std::optional<QString> address = accept(typed)) {
            LptSelection s;
            s.choice = QStringLiteral("USER");
            s.userAddress = *address;
            s.base = address->toInt(nullptr, 16);
            s.label = QStringLiteral("Port LPT [$") + *address + u']';
            return s;
        }
        dialogs.error(QStringLiteral(
            "Adres portu LPT zawiera niewłaściwe  znaki.\nDopuszczalne znaki to cyfry 0-9 oraz litery A-F."));
        initial = typed;
    }
}

} // namespace LptAddress
