#pragma once

#include <QFont>
#include <QWidget>

// The column titles of the log window and of the edit dialog, each drawn above its column of the QSO line
// as the fixed-pitch list font places it. The titles get a font small enough for each to stay within its
// column; a title that does not fit even at the smallest size is elided.
class LogColumnHeader : public QWidget {
    Q_OBJECT
public:
    explicit LogColumnHeader(QWidget* parent = nullptr);

    // The font of the list below; the titles are placed by its character width.
    void setColumnFont(const QFont& font);
    void setShowOther(bool show);
    // Pixels from the widget's left edge to the list text's first character.
    void setTextOffset(int pixels);

    struct Title {
        const char* text;
        int column; // 1-based column of the QSO line where the title starts
    };
    static const QList<Title>& titles();

    // One title as it is drawn: its text (elided when even the smallest font is too wide), where it starts
    // and the pixels its column leaves for it.
    struct PlacedTitle {
        QString text;
        qreal x = 0;
        qreal room = 0;
    };
    struct Layout {
        QFont font;
        QList<PlacedTitle> titles;
    };
    Layout titleLayout() const;

    static constexpr qreal kSmallestPointSize = 6.0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont m_columnFont;
    bool m_showOther = true;
    int m_offset = 4;
};
