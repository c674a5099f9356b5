#include "settings/windowsettings.h"

#include "settings/inifile.h"

#include <algorithm>
#include <climits>

namespace WindowKeys = SettingsKeys::Window;

namespace {

const QString kBold = QStringLiteral("pogrubienie");
const QString kItalic = QStringLiteral("kursywa");
const QString kUnderline = QStringLiteral("podkreslenie");
const QString kStrikeOut = QStringLiteral("przekreslenie");

std::optional<int> readOptionalInt(const IniFile& s, const SettingsKey<int>& key) {
    if (!s.contains(key))
        return std::nullopt;
    bool ok = false;
    const int value = s.readString(key.section, key.name, QString()).trimmed().toInt(&ok);
    if (ok)
        return value;
    // Hexadecimal and other forms the profile reader accepts.
    const int fallback = s.value(key, INT_MIN);
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

QPoint pulledOnScreen(const QRect& frame, const QList<QRect>& screens) {
    // The title bar: the strip the operator grabs to move the window.
    const QRect titleBar(frame.left(), frame.top(), std::max(1, frame.width()), 30);
    for (const QRect& screen : screens) {
        if (screen.intersects(titleBar) && frame.top() >= screen.top())
            return frame.topLeft();
    }
    if (screens.isEmpty())
        return frame.topLeft();
    auto distance = [&](const QRect& screen) {
        const qint64 dx = std::max({qint64(screen.left()) - frame.left(), qint64(frame.left()) - screen.right(), 0LL});
        const qint64 dy = std::max({qint64(screen.top()) - frame.top(), qint64(frame.top()) - screen.bottom(), 0LL});
        return dx * dx + dy * dy;
    };
    const QRect nearest = *std::min_element(screens.begin(), screens.end(),
                                            [&](const QRect& a, const QRect& b) { return distance(a) < distance(b); });
    const int x =
        std::clamp(frame.left(), nearest.left(), std::max(nearest.left(), nearest.right() + 1 - frame.width()));
    const int y =
        std::clamp(frame.top(), nearest.top(), std::max(nearest.top(), nearest.bottom() + 1 - frame.height()));
    return {x, y};
}

QList<QPoint> layoutBesideEntryWindow(const QRect& entry, const QList<QSize>& windows, const QRect& screen) {
    const int gap = 8;
    const int screenRight = screen.right() + 1;
    const int screenBottom = screen.bottom() + 1;
    const int rightX = entry.right() + 1 + gap;
    const int belowY = entry.bottom() + 1 + gap;
    int rightY = entry.top();
    int belowX = screen.left();
    int cascade = 0;
    QList<QPoint> placed;
    for (const QSize& size : windows) {
        const bool first = placed.isEmpty();
        if (!first && rightX + size.width() <= screenRight && rightY + size.height() <= screenBottom) {
            placed.append({rightX, rightY});
            rightY += size.height() + gap;
        } else if (first || (belowX + size.width() <= screenRight && belowY + size.height() <= screenBottom)) {
            placed.append({belowX, belowY});
            belowX += size.width() + gap;
        } else {
            const int x = std::max(screen.left(), screenRight - size.width());
            const int y = std::max(belowY, std::min(belowY + cascade, screenBottom - size.height()));
            placed.append({x, y});
            cascade += 30;
        }
    }
    return placed;
}

WindowSettings WindowSettings::read(const IniFile& s, SettingsKeys::WindowSection section, Keys keys) {
    WindowSettings w;
    w.x = readOptionalInt(s, WindowKeys::x(section));
    w.y = readOptionalInt(s, WindowKeys::y(section));
    if (keys.width)
        w.width = readOptionalInt(s, WindowKeys::width(section));
    w.height = readOptionalInt(s, WindowKeys::height(section));
    w.background = readOptionalInt(s, WindowKeys::background(section));
    if (keys.font && s.contains(WindowKeys::fontFace(section))) {
        FontSpec f;
        // A font of its own: every key missing from it reads as in a new font.
        f.face = s.value(WindowKeys::fontFace(section));
        f.pointSize = s.value(WindowKeys::fontSize(section));
        f.colour = s.value(WindowKeys::fontColour(section));
        f.charset = s.value(WindowKeys::fontCharset(section));
        applyFontStyle(f, s.value(WindowKeys::fontStyle(section)));
        w.font = f;
    }
    return w;
}

void WindowSettings::write(IniFile& s, SettingsKeys::WindowSection section) const {
    IniFile::Batch batch(s);
    if (width)
        s.setValue(WindowKeys::width(section), *width);
    if (height)
        s.setValue(WindowKeys::height(section), *height);
    if (x)
        s.setValue(WindowKeys::x(section), *x);
    if (y)
        s.setValue(WindowKeys::y(section), *y);
    if (font) {
        s.setValue(WindowKeys::fontFace(section), font->face);
        s.setValue(WindowKeys::fontSize(section), font->pointSize);
        s.setValue(WindowKeys::fontColour(section), font->colour);
        s.setValue(WindowKeys::fontCharset(section), font->charset);
        s.setValue(WindowKeys::fontStyle(section), fontStyleText(*font));
    }
    if (background)
        s.setValue(WindowKeys::background(section), *background);
}
