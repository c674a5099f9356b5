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

namespace {

constexpr int kLayoutGap = 8;
// A list shorter than this is no use; rather than that it goes over another window, below its title bar.
constexpr int kShortestWindow = 120;

bool isFree(const QRect& frame, const QList<QRect>& taken, const QRect& screen) {
    if (!screen.contains(frame))
        return false;
    return std::none_of(taken.begin(), taken.end(), [&](const QRect& other) {
        return frame.intersects(other.adjusted(-kLayoutGap, -kLayoutGap, kLayoutGap, kLayoutGap));
    });
}

// The places to try, top to bottom and left to right: the screen's corner and beside and below every window.
QList<QPoint> candidatePlaces(const QList<QRect>& taken, const QRect& screen) {
    QList<QPoint> places{screen.topLeft()};
    for (const QRect& r : taken) {
        const int right = r.right() + 1 + kLayoutGap;
        const int below = r.bottom() + 1 + kLayoutGap;
        places << QPoint(right, r.top()) << QPoint(r.left(), below) << QPoint(right, screen.top())
               << QPoint(screen.left(), below);
    }
    std::sort(places.begin(), places.end(),
              [](const QPoint& a, const QPoint& b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
    return places;
}

// The tallest frame of the given width that fits free at place, down to the shortest useful one.
std::optional<QRect>
shortenedToFit(const QPoint& place, const QSize& size, const QList<QRect>& taken, const QRect& screen) {
    int height = std::min(size.height(), screen.bottom() + 1 - place.y());
    for (const QRect& other : taken) {
        const QRect grown = other.adjusted(-kLayoutGap, -kLayoutGap, kLayoutGap, kLayoutGap);
        if (grown.left() > place.x() + size.width() - 1 || grown.right() < place.x())
            continue;
        if (grown.bottom() < place.y())
            continue;
        height = std::min(height, grown.top() - place.y());
    }
    const QRect frame(place, QSize(size.width(), height));
    if (height < std::min(size.height(), kShortestWindow) || !isFree(frame, taken, screen))
        return std::nullopt;
    return frame;
}

// A screen too small for every window: the place where the window covers least of the others, never the entry
// window and never another window's title bar.
std::optional<QRect>
overlappingLeast(const QSize& size, const QRect& entry, const QList<QRect>& placed, const QRect& screen) {
    constexpr int kTitleBar = 30;
    QList<int> xs{screen.left(), screen.right() + 1 - size.width()};
    QList<int> ys{entry.bottom() + 1 + kLayoutGap};
    for (const QRect& r : placed) {
        xs << r.left() << r.right() + 1 + kLayoutGap << r.right() + 1 - size.width();
        ys << r.top() + kTitleBar + kLayoutGap << r.bottom() + 1 + kLayoutGap;
    }
    std::optional<QRect> best;
    qint64 bestCovered = 0;
    for (const int x : xs) {
        for (const int y : ys) {
            const int height = std::min(size.height(), screen.bottom() + 1 - y);
            if (height < kTitleBar * 2)
                continue;
            const QRect frame(QPoint(x, y), QSize(size.width(), height));
            const QRect title(frame.topLeft(), QSize(frame.width(), kTitleBar));
            if (!screen.contains(frame) || frame.intersects(entry))
                continue;
            qint64 covered = 0;
            bool hidesTitle = false;
            for (const QRect& other : placed) {
                const QRect otherTitle(other.topLeft(), QSize(other.width(), kTitleBar));
                hidesTitle = hidesTitle || frame.intersects(otherTitle) || otherTitle.intersects(title);
                const QRect both = frame.intersected(other);
                covered += qint64(both.width()) * both.height();
            }
            if (!hidesTitle && (!best || covered < bestCovered)) {
                best = frame;
                bestCovered = covered;
            }
        }
    }
    return best;
}

// The trailing windows of one size (the worked-calls lists, whose width is fixed) that found no free place each get
// a place along the bottom of the screen: side by side where the screen is wide enough, else spread evenly over its
// width, so each one shows its left columns and the last one all of them. They go over the lower part of the
// windows above them but below their title bars and column headers, never over the entry window, and are a
// quarter of the screen high at most.
void listsSideBySide(
    QList<QRect>& placed, qsizetype first, const QSize& size, const QRect& entry, const QRect& screen) {
    constexpr int kTitleAndHeaders = 60;
    const int count = int(placed.size() - first);
    const int width = std::min(size.width(), screen.width());
    const int step = count * width + (count - 1) * kLayoutGap <= screen.width()
                         ? width + kLayoutGap
                         : (screen.width() - width) / std::max(1, count - 1);
    // A quarter of the screen's height: enough rows to see, and most of the log above them stays in sight.
    const int height = std::min(size.height(), std::max(kShortestWindow, screen.height() / 4));
    int top = std::max(screen.bottom() + 1 - height, entry.bottom() + 1 + kLayoutGap);
    // Down past every title bar and header row the lists would cover, as long as a useful list is left.
    for (bool moved = true; moved;) {
        moved = false;
        for (qsizetype i = 0; i < first; ++i) {
            const int clear = placed[i].top() + kTitleAndHeaders;
            if (placed[i].top() < screen.bottom() + 1 && clear > top &&
                clear <= screen.bottom() + 1 - kShortestWindow) {
                top = clear;
                moved = true;
            }
        }
    }
    for (int i = 0; i < count; ++i)
        placed[first + i] = QRect(QPoint(screen.left() + i * step, top),
                                  QSize(width, std::max(kShortestWindow, screen.bottom() + 1 - top)));
}

} // namespace

QList<QRect> layoutBesideEntryWindow(const QRect& entry, const QList<QSize>& windows, const QRect& screen) {
    QList<QRect> taken{entry};
    QList<QRect> placed;
    // Where the trailing run of same-sized windows starts, and whether each of them found a free place.
    qsizetype group = windows.size();
    while (group > 1 && windows[group - 1] == windows.last())
        --group;
    bool groupFree = true;
    int cascade = 0;
    for (const QSize& size : windows) {
        std::optional<QRect> frame;
        // The log goes right below the entry window when it fits there.
        if (placed.isEmpty()) {
            const QRect below(QPoint(entry.left(), entry.bottom() + 1 + kLayoutGap), size);
            if (isFree(below, taken, screen))
                frame = below;
        }
        const QList<QPoint> places = candidatePlaces(taken, screen);
        for (qsizetype i = 0; !frame && i < places.size(); ++i) {
            if (const QRect r(places[i], size); isFree(r, taken, screen))
                frame = r;
        }
        for (qsizetype i = 0; !frame && i < places.size(); ++i)
            frame = shortenedToFit(places[i], size, taken, screen);
        if (!frame && placed.size() >= group && windows.size() - group > 1)
            groupFree = false;
        if (!frame)
            frame = overlappingLeast(size, entry, placed, screen);
        if (!frame) {
            // No room even for that: over the lower part of the space below the entry window, each one a title
            // bar lower than the one before, so the entry window stays free.
            const int top = std::min(entry.bottom() + 1 + kLayoutGap + 60 + cascade, screen.bottom() + 1 - 30);
            const int x = std::max(screen.left(), screen.right() + 1 - size.width() - cascade);
            frame = QRect(QPoint(x, std::max(screen.top(), top)),
                          QSize(size.width(), std::max(30, std::min(size.height(), screen.bottom() + 1 - top))));
            cascade += 30;
        }
        placed.append(*frame);
        taken.append(*frame);
    }
    if (!groupFree)
        listsSideBySide(placed, group, windows.last(), entry, screen);
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
