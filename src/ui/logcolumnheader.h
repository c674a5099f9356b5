#pragma once

#include <QFont>
#include <QWidget>

// The column titles of the log window and of the edit dialog, each drawn above its column of the QSO line
// as the fixed-pitch list font places it.
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont m_columnFont;
    bool m_showOther = true;
    int m_offset = 4;
};
