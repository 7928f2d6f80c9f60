#pragma once

#include "grid.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <initializer_list>

class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace kaleno {

class FormSudoku;

/// How a puzzle goes into the main window whole, and out of it: a grid pasted (Ctrl+V,
/// Shift+Insert) or dropped (a file, or a text) takes the place of what the cells hold, as
/// "Tout effacer" and the givens typed in would; Ctrl+C (Ctrl+Insert) copies the grid on one
/// line; the arrow keys move between the cells. What holds no grid is left to the cells' own
/// paste and drop. It filters the events of the cells, of the buttons and of the window.
class GridEvents : public QObject
{
public:
    GridEvents(FormSudoku *window, const std::array<QLineEdit *, CellCount> &cells,
        std::initializer_list<QWidget *> buttons);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyPressed(int cell, const QKeyEvent &event);
    bool arrowPressed(int cell, const QKeyEvent &event);
    void copyGrid() const;
    bool dragged(QDragMoveEvent *event) const;
    bool dropped(QDropEvent *event);
    void openDroppedFile();
    int cellOf(const QObject *watched) const; // -1 when `watched` is no cell

    FormSudoku *m_window;
    std::array<QLineEdit *, CellCount> m_cells;
    QString m_droppedFile;
    QTimer m_dropOver; // the drop of m_droppedFile is over
};

} // namespace kaleno
