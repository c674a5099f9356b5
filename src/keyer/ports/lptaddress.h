#pragma once

#include <QString>

#include <optional>

class UserDialogs;

// The parallel port chosen in the configuration: "LPT1", "LPT2", "LPT3" or "USER" with its address.
struct LptSelection {
    QString choice;
    QString userAddress; // hexadecimal text without "$", for "USER"
    int base = 0x378;
    QString label; // "Port LPT [$378]"
};

namespace LptAddress {
LptSelection fixed(const QString& choice);
// The typed address without "$", upper-cased, when it is a hexadecimal port address.
std::optional<QString> accept(const QString& typed);
// The "USER" question: asks until a valid address or an empty answer (which falls back to LPT1).
LptSelection askUser(UserDialogs& dialogs, const QString& currentUserAddress);
} // namespace LptAddress
