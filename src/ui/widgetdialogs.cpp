#include "widgetdialogs.h"

#include <QColor>
#include <QColorDialog>
#include <QFileDialog>
#include <QFont>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMessageBox>

#include <cstdlib>
#include <optional>

namespace {

QMessageBox::StandardButton toQt(DialogButton button) {
    switch (button) {
    case DialogButton::Ok:
        return QMessageBox::Ok;
    case DialogButton::Cancel:
        return QMessageBox::Cancel;
    case DialogButton::Yes:
        return QMessageBox::Yes;
    case DialogButton::No:
        return QMessageBox::No;
    case DialogButton::NoButton:
        break;
    }
    return QMessageBox::NoButton;
}

DialogButton fromQt(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return DialogButton::Ok;
    case QMessageBox::Cancel:
        return DialogButton::Cancel;
    case QMessageBox::Yes:
        return DialogButton::Yes;
    case QMessageBox::No:
        return DialogButton::No;
    default:
        return DialogButton::NoButton;
    }
}

QMessageBox::Icon iconToQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

DialogButton WidgetDialogs::message(
    const QString& title, const QString& text, MessageIcon icon, unsigned buttons, DialogButton defaultButton) {
    QMessageBox box(iconToQt(icon), title, text, QMessageBox::NoButton, m_parent);
    for (DialogButton b : {DialogButton::Yes, DialogButton::No, DialogButton::Ok, DialogButton::Cancel}) {
        if (buttons & unsigned(b))
            box.addButton(toQt(b));
    }
    if (defaultButton != DialogButton::NoButton)
        box.setDefaultButton(toQt(defaultButton));
    const int result = box.exec();
    const DialogButton pressed = fromQt(result);
    return pressed == DialogButton::NoButton ? defaultButton : pressed;
}

std::optional<QString> WidgetDialogs::openFile(const FileRequest& request) {
    const QString start =
        request.proposedName.isEmpty() ? request.directory : QDir(request.directory).filePath(request.proposedName);
    const QString name = QFileDialog::getOpenFileName(m_parent, request.title, start, request.filter);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> WidgetDialogs::saveFile(const FileRequest& request) {
    const QString start =
        request.proposedName.isEmpty() ? request.directory : QDir(request.directory).filePath(request.proposedName);
    // The program asks its own overwrite questions.
    const QString name = QFileDialog::getSaveFileName(m_parent, request.title, start, request.filter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> WidgetDialogs::chooseFolder(const FolderRequest& request) {
    const QString folder = QFileDialog::getExistingDirectory(m_parent, request.title, request.directory);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> WidgetDialogs::inputText(const QString& title, const QString& prompt, const QString& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

std::optional<int> WidgetDialogs::chooseColour(int current) {
    const QColor chosen = QColorDialog::getColor(colourFromWindows(current), m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    return colourToWindows(chosen);
}

std::optional<FontSpec> WidgetDialogs::chooseFont(const FontSpec& current) {
    QFontDialog dialog(m_parent);
    dialog.setCurrentFont(fontForChooser(current));
    // The chooser shows the nearest font it lists (another family when the stored face is missing here). OK
    // on exactly that keeps the stored font as it is: its face, character set and style.
    const FontSpec opened = specFromFont(dialog.currentFont(), current.colour);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    FontSpec chosen = specFromFont(dialog.selectedFont(), current.colour);
    if (chosen == opened)
        return current;
    chosen.charset = current.charset;
    return chosen;
}

QColor colourFromWindows(int value) {
    if (value < 0)
        return QColor(Qt::white);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int colourToWindows(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QFont fontFromSpec(const FontSpec& stored) {
    QFont font(stored.face);
    if (stored.pointSize > 0)
        font.setPointSize(stored.pointSize);
    font.setBold(stored.bold);
    font.setItalic(stored.italic);
    font.setUnderline(stored.underline);
    font.setStrikeOut(stored.strikeOut);
    return font;
}

namespace {

// The family's own name of the style nearest to bold or regular, upright or slanted: the chooser takes a style
// only by a name it lists ("Book", not "Normal"), and opens on its first style (which may be the italic)
// otherwise.
std::optional<QString> listedStyle(const QString& family, bool bold, bool italic) {
    const int wanted = bold ? QFont::Bold : QFont::Normal;
    std::optional<QString> best;
    int bestDistance = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont listed = QFontDatabase::font(family, style, 10);
        if ((listed.style() != QFont::StyleNormal) != italic)
            continue;
        const int distance = std::abs(listed.weight() - wanted);
        // Among equals the plainest name: "Book" before "Condensed".
        if (!best || distance < bestDistance || (distance == bestDistance && style.size() < best->size())) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

QFont fontForChooser(const FontSpec& stored) {
    // The chooser finds a font by the family and style it lists. A stored face this system lacks ("Arial")
    // would open it on another family in its first style, and a new size would then drop the bold; so it
    // opens on the family actually drawn, in that family's style nearest to the stored one.
    QFont font = fontFromSpec(stored);
    const QString family = QFontInfo(font).family();
    font.setFamily(family);
    font.setStyleName(listedStyle(family, stored.bold, stored.italic).value_or(QFontDatabase::styleString(font)));
    return font;
}

FontSpec specFromFont(const QFont& font, int colour) {
    FontSpec stored;
    // The chooser names a family found at several foundries "Nimbus Sans [urw]"; the settings keep the family.
    stored.face = font.family();
    if (const qsizetype foundry = stored.face.indexOf(QStringLiteral(" [")); foundry > 0 && stored.face.endsWith(']'))
        stored.face.truncate(foundry);
    stored.pointSize = font.pointSize();
    stored.colour = colour;
    stored.bold = font.bold();
    stored.italic = font.italic();
    stored.underline = font.underline();
    stored.strikeOut = font.strikeOut();
    return stored;
}
