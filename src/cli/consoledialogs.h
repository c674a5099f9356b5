#pragma once

#include "platform/userdialogs.h"

// The dialog seam on a terminal: messages go to stderr, questions take their default answer, and choosers
// are cancelled (every file the command line needs is given as an argument).
class ConsoleDialogs final : public UserDialogs {
public:
    DialogButton message(const QString& title,
                         const QString& text,
                         MessageIcon icon,
                         unsigned buttons,
                         DialogButton defaultButton) override;
    std::optional<QString> openFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const FolderRequest&) override { return std::nullopt; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> chooseColour(int) override { return std::nullopt; }
    std::optional<FontSpec> chooseFont(const FontSpec&) override { return std::nullopt; }

    int errorCount = 0;
};
