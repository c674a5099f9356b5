#pragma once

#include "platform/userdialogs.h"

#include <QList>

#include <deque>

struct ShownMessage {
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::None;
    unsigned buttons = 0;
    DialogButton defaultButton = DialogButton::NoButton;
};

// The dialog seam for tests: answers come from queues, and every message shown is recorded.
// A question with no scripted answer takes its default button; a chooser or input box with none is cancelled.
class ScriptedDialogs : public UserDialogs {
public:
    DialogButton message(const QString& title,
                         const QString& text,
                         MessageIcon icon,
                         unsigned buttons,
                         DialogButton defaultButton) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    std::optional<QString> chooseFolder(const FolderRequest& request) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt, const QString& text) override;
    std::optional<int> chooseColour(int current) override;
    std::optional<FontSpec> chooseFont(const FontSpec& current) override;

    QList<ShownMessage> messages;
    QList<FileRequest> fileRequests;
    QList<FolderRequest> folderRequests;
    QStringList inputPrompts;

    std::deque<DialogButton> buttonAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<int>> colourAnswers;
    std::deque<std::optional<FontSpec>> fontAnswers;

    QStringList texts() const;
    QString lastText() const { return messages.isEmpty() ? QString() : messages.constLast().text; }
};
