#pragma once

#include "platform/userdialogs.h"

class QWidget;

// The dialog seam on the desktop: Qt's message boxes, file, input, colour and font dialogs.
class WidgetDialogs final : public UserDialogs {
public:
    explicit WidgetDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

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

private:
    QWidget* m_parent;
};

// Colours are kept as Windows stores them (0x00BBGGRR); these convert for Qt widgets.
class QColor;
class QFont;
QColor colourFromWindows(int value);
int colourToWindows(const QColor& colour);
QFont fontFromSpec(const FontSpec& stored);
FontSpec specFromFont(const QFont& font, int colour);
// The font the font chooser opens on for a stored font: a family of this system, with the stored style.
QFont fontForChooser(const FontSpec& stored);
