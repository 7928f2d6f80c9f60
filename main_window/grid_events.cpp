#include "grid_events.h"

#include "form_sudoku.h"
#include "input_chunks.h"
#include "message_box.h"
#include "solve_core.h"

#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kaleno {

namespace {

// The first grid of a text, as the command line reads its argument.
std::optional<Grid> gridIn(const QString &text)
{
    // A character is at least a byte: what is past the reader's limit is not converted.
    const QByteArray bytes = text.left(static_cast<qsizetype>(FirstGridBytes) + 1).toUtf8();
    const FirstGrid first
        = firstGrid(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!first.found())
        return std::nullopt;
    return first.read->givens;
}

// A drop is always a copy: a source told that its text moved would delete it.
void acceptCopy(QDropEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

// Part of the text is selected, not the whole of it, as Tab and the arrow keys select it.
bool selectedByHand(const QLineEdit *cell)
{
    return cell->hasSelectedText() && cell->selectedText() != cell->text();
}

} // namespace

GridEvents::GridEvents(FormSudoku *window, const std::array<QLineEdit *, CellCount> &cells,
    std::initializer_list<QWidget *> buttons)
    : QObject(window), m_window(window), m_cells(cells)
{
    for (QLineEdit *cell : m_cells)
        cell->installEventFilter(this);
    for (QWidget *button : buttons)
        button->installEventFilter(this);
    m_dropOver.setSingleShot(true);
    connect(&m_dropOver, &QTimer::timeout, this, &GridEvents::openDroppedFile);
    // The drops on the window's other controls, which take none, come to the window.
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool GridEvents::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return watched != m_window && keyPressed(cellOf(watched), *static_cast<QKeyEvent *>(event));
    case QEvent::DragEnter:
    case QEvent::DragMove:
        return dragged(static_cast<QDragMoveEvent *>(event));
    case QEvent::Drop:
        return dropped(static_cast<QDropEvent *>(event));
    default:
        return false;
    }
}

bool GridEvents::keyPressed(int cell, const QKeyEvent &event)
{
    if (event.matches(QKeySequence::Paste)) {
        const std::optional<Grid> grid = gridIn(QGuiApplication::clipboard()->text());
        if (grid)
            m_window->enterPuzzle(*grid);
        return grid || cell < 0; // else a cell pastes the text, as any text box
    }
    if (event.matches(QKeySequence::Copy)) {
        if (cell >= 0 && selectedByHand(m_cells[static_cast<std::size_t>(cell)]))
            return false;
        copyGrid();
        return true;
    }
    return cell >= 0 && arrowPressed(cell, event);
}

bool GridEvents::arrowPressed(int cell, const QKeyEvent &event)
{
    // With Shift or Ctrl an arrow selects or moves by words in the cell, as in any text box.
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const QLineEdit *edit = m_cells[static_cast<std::size_t>(cell)];
    const bool whole = edit->hasSelectedText() && !selectedByHand(edit);
    const bool caretOnly = !edit->hasSelectedText();
    int to = cell;
    switch (event.key()) {
    case Qt::Key_Up:
        to = rowOf(cell) > 0 ? cell - GridSize : cell;
        break;
    case Qt::Key_Down:
        to = rowOf(cell) < GridSize - 1 ? cell + GridSize : cell;
        break;
    case Qt::Key_Left:
        if (columnOf(cell) == 0 || !(whole || (caretOnly && edit->cursorPosition() == 0)))
            return false;
        to = cell - 1;
        break;
    case Qt::Key_Right:
        if (columnOf(cell) == GridSize - 1
            || !(whole || (caretOnly && edit->cursorPosition() == edit->text().size())))
            return false;
        to = cell + 1;
        break;
    default:
        return false;
    }
    // As after Tab, a digit typed into the cell reached takes the place of its text.
    QLineEdit *reached = m_cells[static_cast<std::size_t>(to)];
    reached->setFocus(Qt::OtherFocusReason);
    reached->selectAll();
    return true;
}

void GridEvents::copyGrid() const
{
    Grid grid {};
    for (std::size_t k = 0; k < m_cells.size(); ++k)
        grid[k] = readCell(m_cells[k]->text().toStdString()).value_or(0);
    QGuiApplication::clipboard()->setText(QString::fromStdString(gridText(grid)));
}

bool GridEvents::dragged(QDragMoveEvent *event) const
{
    const QMimeData *data = event->mimeData();
    if (const QList<QUrl> urls = data->urls(); !urls.isEmpty()) { // files, or links
        if (urls.constFirst().isLocalFile())
            acceptCopy(event);
        else
            event->ignore();
        return true;
    }
    if (!gridIn(data->text()))
        return false; // a cell's own drop of text; the window takes none
    acceptCopy(event);
    return true;
}

bool GridEvents::dropped(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (const QList<QUrl> urls = data->urls(); !urls.isEmpty()) {
        const QUrl &first = urls.constFirst();
        if (!first.isLocalFile()) {
            event->ignore();
            return true;
        }
        acceptCopy(event);
        // Read once the drop is over: the message box that may follow would hold it up.
        m_droppedFile = first.toLocalFile();
        m_dropOver.start(0);
        return true;
    }
    const std::optional<Grid> grid = gridIn(data->text());
    if (!grid)
        return false;
    acceptCopy(event);
    m_window->enterPuzzle(*grid);
    return true;
}

void GridEvents::openDroppedFile()
{
    const std::string name = QFile::encodeName(m_droppedFile).toStdString();
    std::error_code ignored;
    // Only a plain file: a pipe or a device could keep the window waiting.
    const FirstGrid first
        = std::filesystem::is_regular_file(name, ignored) ? firstGridOfFile(name) : FirstGrid {};
    if (first.found()) {
        m_window->enterPuzzle(first.read->givens);
        return;
    }
    messageBox(m_window,
        QStringLiteral("Aucune grille lisible dans le fichier «\u00A0%1\u00A0».")
            .arg(QFileInfo(m_droppedFile).fileName()),
        MessageBoxStyle::Critical, QStringLiteral("Aucune grille"));
}

int GridEvents::cellOf(const QObject *watched) const
{
    const auto at = std::find(m_cells.begin(), m_cells.end(), watched);
    return at == m_cells.end() ? -1 : static_cast<int>(at - m_cells.begin());
}

} // namespace kaleno
