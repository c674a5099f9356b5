#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Every question and message the program puts to the operator goes through this seam, so the rules in the
// core library can show their exact texts and follow each answer, and tests can script the answers.
enum class MessageIcon { None, Error, Warning, Information, Question };

enum class DialogButton : unsigned {
    NoButton = 0,
    Ok = 1u << 0,
    Cancel = 1u << 1,
    Yes = 1u << 2,
    No = 1u << 3,
};

constexpr unsigned operator|(DialogButton a, DialogButton b) {
    return static_cast<unsigned>(a) | static_cast<unsigned>(b);
}

// A font as the settings file stores it: face, point size, colour, character set and style flags.
struct FontSpec {
    QString face;
    int pointSize = 10;
    int colour = 0; // Windows colour value: 0x00BBGGRR, negative for a system colour
    int charset = 1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontSpec&) const = default;
};

struct FileRequest {
    QString title;
    QString directory;
    QString filter;       // Qt filter syntax: "Log KVR (*.kvr);;Wszystkie pliki (*)"
    QString proposedName; // file name (or full path) shown in the chooser
};

struct FolderRequest {
    QString title;
    QString directory; // the folder the chooser proposes
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Shows a modal message box; returns the button pressed (the default button when closed otherwise).
    virtual DialogButton message(
        const QString& title, const QString& text, MessageIcon icon, unsigned buttons, DialogButton defaultButton) = 0;
    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest& request) = 0;
    // An existing folder; nullopt when cancelled.
    virtual std::optional<QString> chooseFolder(const FolderRequest& request) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString& title, const QString& prompt, const QString& text) = 0;
    virtual std::optional<int> chooseColour(int current) = 0;
    virtual std::optional<FontSpec> chooseFont(const FontSpec& current) = 0;

    // The program's four kinds of message box.
    void error(const QString& text) {
        message(QStringLiteral("Błąd"), text, MessageIcon::Error, unsigned(DialogButton::Ok), DialogButton::Ok);
    }
    void information(const QString& text) {
        message(QStringLiteral("Informacja"), text, MessageIcon::Information, unsigned(DialogButton::Ok),
                DialogButton::Ok);
    }
    DialogButton warningYesNo(const QString& text, DialogButton defaultButton = DialogButton::Yes) {
        return message(QStringLiteral("Ostrzeżenie"), text, MessageIcon::Warning, DialogButton::Yes | DialogButton::No,
                       defaultButton);
    }
    DialogButton confirmYesNo(const QString& text, DialogButton defaultButton = DialogButton::Yes) {
        return message(QStringLiteral("Potwierdzenie"), text, MessageIcon::Question,
                       DialogButton::Yes | DialogButton::No, defaultButton);
    }
};
