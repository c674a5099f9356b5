#include "scripteddialogs.h"

namespace {
template <typename T> T takeFront(std::deque<T>& queue, const T& fallback) {
    T value = queue.empty() ? fallback : queue.front();
    if (!queue.empty())
        queue.pop_front();
    return value;
}
} // namespace

DialogButton ScriptedDialogs::message(
    const QString& title, const QString& text, MessageIcon icon, unsigned buttons, DialogButton defaultButton) {
    messages.append({title, text, icon, buttons, defaultButton});
    return takeFront(buttonAnswers, defaultButton);
}

std::optional<QString> ScriptedDialogs::openFile(const FileRequest& request) {
    fileRequests.append(request);
    return takeFront<std::optional<QString>>(fileAnswers, std::nullopt);
}

std::optional<QString> ScriptedDialogs::saveFile(const FileRequest& request) {
    fileRequests.append(request);
    return takeFront<std::optional<QString>>(fileAnswers, std::nullopt);
}

std::optional<QString> ScriptedDialogs::chooseFolder(const FolderRequest& request) {
    folderRequests.append(request);
    return takeFront<std::optional<QString>>(folderAnswers, std::nullopt);
}

std::optional<QString> ScriptedDialogs::inputText(const QString& title, const QString& prompt, const QString&) {
    inputPrompts.append(title + QLatin1Char('|') + prompt);
    return takeFront<std::optional<QString>>(inputAnswers, std::nullopt);
}

std::optional<int> ScriptedDialogs::chooseColour(int) {
    return takeFront<std::optional<int>>(colourAnswers, std::nullopt);
}

std::optional<FontSpec> ScriptedDialogs::chooseFont(const FontSpec&) {
    return takeFront<std::optional<FontSpec>>(fontAnswers, std::nullopt);
}

QStringList ScriptedDialogs::texts() const {
    QStringList list;
    for (const ShownMessage& m : messages)
        list.append(m.text);
    return list;
}
