#pragma once

#include <QByteArray>
#include <QWidget>

namespace lumawrite::ui {

// A 16-row LED display drawn as round amber dots on black, showing a column image (two bytes
// per column: bit b of the first byte is row b, of the second row 8 + b).
class LedView : public QWidget {
    Q_OBJECT
public:
    LedView(int visibleColumns, int pitch, QWidget *parent = nullptr);

    void setImage(const QByteArray &columns);
    const QByteArray &image() const { return m_image; }
    int columns() const { return int(m_image.size() / 2); }
    int visibleColumns() const { return m_visible; }

    // The image column shown at the left edge; negative values leave dark columns before it.
    void setFirstColumn(int column);
    int firstColumn() const { return m_first; }
    // One step of the sign's scroll: the message enters at the right edge, leaves at the left,
    // then enters again.
    void scrollOneColumn();

    // Whether the dot at a visible position is lit.
    bool lit(int visibleColumn, int row) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_visible;
    int m_pitch;
    int m_first = 0;
    QByteArray m_image;
};

} // namespace lumawrite::ui
