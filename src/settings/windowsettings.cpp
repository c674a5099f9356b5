#include "settings/windowsettings.h"

#include "settings/inifile.h"

#include <climits>

namespace {

const QString kBold = QStringLiteral("pogrubienie");
const QString kItalic = QStringLiteral("kursywa");
const QString kUnderline = QStringLiteral("podkreslenie");
const QString kStrikeOut = QStringLiteral("przekreslenie");

std::optional<int> readOptionalInt(const IniFile& s, const QString& section, const QString& key) {
    if (!s.hasKey(section, key))
        return std::nullopt;
    bool ok = false;
    const int value = s.readString(section, key, QString()).trimmed().toInt(&ok);
    if (ok)
        return value;
    // Hexadecimal and other forms the profile reader accepts.
    const int fallback = s.readInteger(section, key, INT_MIN);
    return fallback == INT_MIN ? std::nullopt : std::optional<int>(fallback);
}

} // namespace

QString fontStyleText(const FontSpec& font) {
    QString text;
    if (font.bold)
        text += kBold + QLatin1Char(' ');
    if (font.italic)
        text += kItalic + QLatin1Char(' ');
    if (font.underline)
        text += kUnderline + QLatin1Char(' ');
    if (font.strikeOut)
        text += kStrikeOut + QLatin1Char(' ');
    return text.trimmed().replace(QLatin1Char(' '), QLatin1Char(','));
}

void applyFontStyle(FontSpec& font, const QString& style) {
    font.bold = style.contains(kBold);
    font.italic = style.contains(kItalic);
    font.underline = style.contains(kUnderline);
    font.strikeOut = style.contains(kStrikeOut);
}

WindowSettings WindowSettings::read(const IniFile& s, const QString& section, Keys keys) {
    WindowSettings w;
    w.x = readOptionalInt(s, section, QStringLiteral("X"));
    w.y = readOptionalInt(s, section, QStringLiteral("Y"));
    if (keys.width)
        w.width = readOptionalInt(s, section, QStringLiteral("Szerokość"));
    w.height = readOptionalInt(s, section, QStringLiteral("Wysokość"));
    w.background = readOptionalInt(s, section, QStringLiteral("Kolor tła"));
    if (keys.font && s.hasKey(section, QStringLiteral("Czcionka"))) {
        FontSpec f;
        f.face = s.readString(section, QStringLiteral("Czcionka"), QString());
        f.pointSize = s.readInteger(section, QStringLiteral("Rozmiar czcionki"), f.pointSize);
        f.colour = s.readInteger(section, QStringLiteral("Kolor czcionki"), f.colour);
        f.charset = s.readInteger(section, QStringLiteral("Skrypt"), f.charset);
        applyFontStyle(f, s.readString(section, QStringLiteral("Styl czcionki"), QString()));
        w.font = f;
    }
    return w;
}

void WindowSettings::write(IniFile& s, const QString& section) const {
    IniFile::Batch batch(s);
    if (width)
        s.writeInteger(section, QStringLiteral("Szerokość"), *width);
    if (height)
        s.writeInteger(section, QStringLiteral("Wysokość"), *height);
    if (x)
        s.writeInteger(section, QStringLiteral("X"), *x);
    if (y)
        s.writeInteger(section, QStringLiteral("Y"), *y);
    if (font) {
        s.writeString(section, QStringLiteral("Czcionka"), font->face);
        s.writeInteger(section, QStringLiteral("Rozmiar czcionki"), font->pointSize);
        s.writeInteger(section, QStringLiteral("Kolor czcionki"), font->colour);
        s.writeInteger(section, QStringLiteral("Skrypt"), font->charset);
        s.writeString(section, QStringLiteral("Styl czcionki"), fontStyleText(*font));
    }
    if (background)
        s.writeInteger(section, QStringLiteral("Kolor tła"), *background);
}
