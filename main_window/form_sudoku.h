#pragma once

#include "module_sudoku.h"
#include "shared_window.h"
#include "solve_core.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace kaleno {

/// What the solve command runs on the 81 cell texts: the solve core, or what a test put in its
/// place to make it fail. An empty function brings the core back.
using SolveFunction = std::function<SolveOutcome(const CellTexts &texts)>;
void setSolveFunction(SolveFunction replacement);

/// The main window: the 81 cells of the grid in their frame, the solve, clear and About
/// buttons, the success label and picture, and the menus. The startup window: one shared
/// instance, loaded at start.
class FormSudoku : public QMainWindow
{
    Q_OBJECT

public:
    explicit FormSudoku(QWidget *owner = nullptr);

    /// The solve command: reads the 81 cells, solves, and shows the outcome. Any failure on the
    /// way ends in the input-error message, leaving what was shown before it as it is.
    void Cmd_Resolution_Click();

    /// Types the givens (1..9; 0 for a free cell) into the cells as a user would: the digits'
    /// texts, the other cells emptied; colours and indicators stay as they are.
    void typeGivens(const Grid &givens);

    /// A puzzle put in whole, from a paste or a drop: what "Tout effacer" does, then the givens
    /// typed.
    void enterPuzzle(const Grid &givens);

    /// The grid store whose LoopIndex the clear command runs on. Only the tests read it: the
    /// clear command leaves LoopIndex at 81, which no widget shows.
    const Module_Sudoku &module() const { return m_module; }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void Cmd_Effacer_Click();
    void CmdAPropos_Click();
    void Command1_Click();
    void mnuauteur_Click();
    void mnueffacer_Click();
    void mnuquitter_Click();
    void mnuresoudre_Click();

private:
    void buildDesign();
    void buildMenus();
    void Form_Load();
    void applyOutcome(const SolveOutcome &outcome);

    WindowLoad<FormSudoku> m_load {this};
    Module_Sudoku m_module;

    std::array<QLineEdit *, CellCount> TxtS {};
    QPushButton *Cmd_Resolution = nullptr;
    QPushButton *Cmd_Effacer = nullptr;
    QPushButton *CmdAPropos = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *LblFin = nullptr;
    QLabel *ImgFin = nullptr;

    QMenu *mnufichier = nullptr;
    QMenu *mnuaction = nullptr;
    QMenu *mnuapropos = nullptr;
    QAction *mnuquitter = nullptr;
    QAction *mnuresoudre = nullptr;
    QAction *mnueffacer = nullptr;
    QAction *mnuauteur = nullptr;
};

} // namespace kaleno
