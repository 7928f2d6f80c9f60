#pragma once

#include <QWidget>

namespace kaleno {

/// A frame: an etched outline around controls, its caption written into the top edge. The
/// inside is painted in the palette colour of its background role, exactly (Window by default:
/// give that role a colour for a frame of fixed colour, or another role for a system colour).
/// The outline's top edge runs through the middle of the caption, which sits on the frame's
/// own background; without a caption the outline starts at the frame's top. Children are
/// placed from the frame's top-left corner, caption or not. It takes no focus.
class Frame : public QWidget
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int outlineTop() const; // in pixels from the frame's top

    QString m_caption;
};

} // namespace kaleno
