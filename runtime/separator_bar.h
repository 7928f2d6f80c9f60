#pragma once

#include <QWidget>

namespace kaleno {

/// A shape as the designs draw one: a thin bar, as between the 3×3 boxes of the grid, filled
/// silver and outlined one pixel wide in the button shadow colour, or in a dark grey where that
/// shadow is not darker than the silver. A decoration: it takes no input.
class SeparatorBar : public QWidget
{
    Q_OBJECT

public:
    explicit SeparatorBar(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kaleno
