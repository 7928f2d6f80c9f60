#include "form_sudoku.h"

#include "design_builder.h"
#include "frm_apropos.h"
#include "grid_events.h"
#include "message_box.h"
#include "picture_paths.h"
#include "program_end.h"
#include "shared_window.h"
#include "ui_style.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <utility>

namespace kaleno {

namespace {

using Kind = ControlKind;

constexpr Colour Yellow = 0x00FFFF;
constexpr Colour Black = 0x000000;
constexpr Colour White = 0xFFFFFF;

// The design, in twips. The window: its name, caption and icon, its client area below the menu
// bar, the size of its font and its background.
const WindowDesign WindowLook
    = {"FormSudoku", "Kaleno", pictures::programIcon(), 6570, 5115, 8, SystemColour::ButtonFace};

// Its controls in the order they are made: the grid's frame, its 81 cells (cellDesign()), then
// the bars that mark the boxes, each in the gap between two rows or columns of cells, and the
// controls beside the frame. No button is a default one: Enter in a cell does nothing.
const ControlDesign GridFrame = {"Frame1", Kind::Frame, "", "Grille 9x9", {120, 120, 4455, 4815}, 0,
    {.back = SystemColour::ButtonFace}};
const ControlDesign Controls[] = {
    {"Shape1", Kind::Shape, "Frame1", "", {1485, 360, 45, 4215}, NoTabIndex},
    {"Shape2", Kind::Shape, "Frame1", "", {2925, 360, 45, 4215}, NoTabIndex},
    {"Shape3", Kind::Shape, "Frame1", "", {120, 1740, 4200, 45}, NoTabIndex},
    {"Shape4", Kind::Shape, "Frame1", "", {105, 3180, 4200, 45}, NoTabIndex},
    {"Cmd_Resolution", Kind::CommandButton, "", "Résoudre la grille", {4680, 240, 1695, 495}, 82,
        {.accessibleDescription = "Remplit les cases libres avec la solution de la grille"}},
    {"Cmd_Effacer", Kind::CommandButton, "", "Tout effacer", {4680, 960, 1695, 495}, 83,
        {.accessibleDescription = "Vide toutes les cases"}},
    {"CmdAPropos", Kind::CommandButton, "", "A Propos", {4680, 1680, 1695, 495}, 86,
        {.accessibleDescription = "Montre la version et l'auteur"}},
    {"Command1", Kind::CommandButton, "", "Command1", {4680, 4560, 1455, 375}, 85,
        {.visible = false, .accessibleDescription = "Écrit la grille d'exemple"}},
    {"LblFin", Kind::Label, "", "Solution trouvée !", {4680, 2400, 1695, 375}, 87,
        {.fontPoints = 9.75, .back = Black, .text = Yellow, .alignment = Qt::AlignCenter}},
    {"ImgFin", Kind::Image, "", "", {5040, 2760, 1050, 1050}, NoTabIndex, // its 70 pixels
        {.picture = pictures::success,
            .accessibleName = "Grille résolue",
            .accessibleDescription = "Une tuile de bois portant une grille qui sourit"}},
};

// Cell k, in row k div 9 and column k mod 9: 480 twips apart both ways. Cell 0 is white, the
// others in a text box's own background, the scheme's window background.
ControlDesign cellDesign(int k)
{
    constexpr int CellPitch = 480;
    const int row = rowOf(k), column = columnOf(k);
    return {QStringLiteral("TxtS_%1").arg(k), Kind::TextBox, "Frame1", "",
        {120 + CellPitch * column, 360 + CellPitch * row, 375, 405}, k + 1,
        {.fontPoints = 12,
            .back = k == 0 ? DesignColour(White) : DesignColour(),
            .alignment = Qt::AlignCenter,
            .accessibleName = QStringLiteral("Ligne %1, colonne %2").arg(row + 1).arg(column + 1)}};
}

// The sample puzzle behind the hidden button: (cell, digit), in the order they are written.
constexpr std::array<std::pair<int, int>, 23> SamplePuzzle = {{
    {0, 1},
    {5, 7},
    {7, 9},
    {10, 3},
    {13, 2},
    {17, 8},
    {20, 9},
    {21, 6},
    {24, 5},
    {29, 5},
    {30, 3},
    {33, 9},
    {37, 1},
    {40, 8},
    {44, 2},
    {45, 6},
    {50, 4},
    {54, 3},
    {61, 1},
    {64, 4},
    {71, 7},
    {74, 7},
    {78, 3},
}};

const QString NoSolutionMessage = QStringLiteral("Aucune solution trouvée !");
const QString NoSolutionTitle = QStringLiteral("Aucune solution");
const QString InputErrorMessage = QStringLiteral(
    "Une erreur est survenue. Veuillez vérifier la saisie des valeurs de la grille, merci.");
const QString InputErrorTitle = QStringLiteral("ERREUR DE SAISIE");

SolveFunction &solveFunction()
{
    static SolveFunction installed;
    return installed;
}

} // namespace

void setSolveFunction(SolveFunction replacement)
{
    solveFunction() = std::move(replacement);
}

FormSudoku::FormSudoku(QWidget *owner)
    : QMainWindow(owner,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    buildDesign();
    buildMenus();
    Form_Load();
}

void FormSudoku::buildDesign()
{
    auto *client = new QWidget(this);
    DesignBuilder design(this, client, WindowLook);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize); // the user cannot resize it
    design.build(GridFrame);
    for (int k = 0; k < CellCount; ++k)
        TxtS[static_cast<std::size_t>(k)] = qobject_cast<QLineEdit *>(design.build(cellDesign(k)));
    design.build(Controls);
    design.chainTabOrder(); // the cells row by row, the three visible buttons, then cell 0 again
    Cmd_Resolution = design.control<QPushButton>("Cmd_Resolution");
    Cmd_Effacer = design.control<QPushButton>("Cmd_Effacer");
    CmdAPropos = design.control<QPushButton>("CmdAPropos");
    Command1 = design.control<QPushButton>("Command1");
    LblFin = design.control<QLabel>("LblFin");
    ImgFin = design.control<QLabel>("ImgFin");
    new GridEvents(this, TxtS, {Cmd_Resolution, Cmd_Effacer, CmdAPropos});

    connect(Cmd_Resolution, &QPushButton::clicked, this, &FormSudoku::Cmd_Resolution_Click);
    connect(Cmd_Effacer, &QPushButton::clicked, this, &FormSudoku::Cmd_Effacer_Click);
    connect(CmdAPropos, &QPushButton::clicked, this, &FormSudoku::CmdAPropos_Click);
    connect(Command1, &QPushButton::clicked, this, &FormSudoku::Command1_Click);
}

void FormSudoku::buildMenus()
{
    auto addMenu = [this](const char *name, const QString &caption) {
        QMenu *menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption,
                       void (FormSudoku::*handler)()) {
        QAction *item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    mnufichier = addMenu("mnufichier", QStringLiteral("Fichier"));
    mnuquitter = addItem(
        mnufichier, "mnuquitter", QStringLiteral("Quitter"), &FormSudoku::mnuquitter_Click);
    mnuaction = addMenu("mnuaction", QStringLiteral("Action"));
    mnuresoudre = addItem(mnuaction, "mnuresoudre", QStringLiteral("Résoudre la grille"),
        &FormSudoku::mnuresoudre_Click);
    mnueffacer = addItem(
        mnuaction, "mnueffacer", QStringLiteral("Tout Effacer"), &FormSudoku::mnueffacer_Click);
    mnuapropos = addMenu("mnuapropos", QStringLiteral("A Propos"));
    // "&" marks the next character as the access key and is not shown: here, the blank.
    mnuauteur = addItem(
        mnuapropos, "mnuauteur", QStringLiteral("Auteur & Version"), &FormSudoku::mnuauteur_Click);
}

void FormSudoku::Form_Load()
{
    LblFin->setVisible(false);
    ImgFin->setVisible(false);
}

void FormSudoku::closeEvent(QCloseEvent *event)
{
    // The close box unloads the window; it has no unload handler of its own. The window object
    // stays, so that an open About window, which it owns, stays open too.
    m_load.unload();
    event->accept();
}

void FormSudoku::Cmd_Resolution_Click()
{
    // The error trap: nothing that fails here, out of memory or out of the engine, may leave
    // the handler; it ends in the input-error message with what was shown so far kept.
    try {
        CellTexts texts;
        for (int k = 0; k < CellCount; ++k)
            texts[static_cast<std::size_t>(k)]
                = TxtS[static_cast<std::size_t>(k)]->text().toStdString();
        applyOutcome(solveFunction() ? solveFunction()(texts) : solveCells(texts));
    } catch (...) {
        messageBox(this, InputErrorMessage, MessageBoxStyle::Critical, InputErrorTitle);
    }
}

void FormSudoku::applyOutcome(const SolveOutcome &outcome)
{
    for (int k = 0; k < CellCount; ++k) {
        if (outcome.orange.test(static_cast<std::size_t>(k)))
            setTextBoxBackColour(TxtS[static_cast<std::size_t>(k)], toQColor(GivenCellColour));
    }
    switch (outcome.kind) {
    case OutcomeKind::Solved:
        for (int k = 0; k < CellCount; ++k) {
            const QString text = QString::fromStdString(outcome.texts[static_cast<std::size_t>(k)]);
            if (TxtS[static_cast<std::size_t>(k)]->text() != text)
                TxtS[static_cast<std::size_t>(k)]->setText(text);
        }
        LblFin->setVisible(true);
        ImgFin->setVisible(true);
        break;
    case OutcomeKind::NoSolution:
    case OutcomeKind::StepLimit: // only a bounded search stops short, and the window's never is
        messageBox(this, NoSolutionMessage, MessageBoxStyle::Critical, NoSolutionTitle);
        break;
    case OutcomeKind::InputError:
        messageBox(this, InputErrorMessage, MessageBoxStyle::Critical, InputErrorTitle);
        break;
    }
}

void FormSudoku::Cmd_Effacer_Click()
{
    LblFin->setVisible(false);
    ImgFin->setVisible(false);
    for (m_module.LoopIndex = 0; m_module.LoopIndex <= 80; ++m_module.LoopIndex) {
        QLineEdit *cell = TxtS[static_cast<std::size_t>(m_module.LoopIndex)];
        cell->setText(QString());
        setTextBoxBackColour(cell, toQColor(ClearedCellColour));
    }
}

void FormSudoku::typeGivens(const Grid &givens)
{
    for (int k = 0; k < CellCount; ++k)
        TxtS[static_cast<std::size_t>(k)]->setText(
            givens[k] == 0 ? QString() : QString::number(givens[k]));
}

void FormSudoku::enterPuzzle(const Grid &givens)
{
    Cmd_Effacer_Click();
    typeGivens(givens);
}

void FormSudoku::Command1_Click()
{
    for (const auto &[cell, digit] : SamplePuzzle)
        TxtS[static_cast<std::size_t>(cell)]->setText(QString::number(digit));
}

void FormSudoku::CmdAPropos_Click()
{
    FrmAPropos::showShared(this);
}

void FormSudoku::mnuauteur_Click()
{
    FrmAPropos::showShared(this);
}

void FormSudoku::mnueffacer_Click()
{
    Cmd_Effacer_Click();
}

void FormSudoku::mnuresoudre_Click()
{
    Cmd_Resolution_Click();
}

void FormSudoku::mnuquitter_Click()
{
    // Unload, then End: the program stops at once, the About window with it, and no unload
    // handler runs.
    hide();
    m_load.unload();
    endProgram(0);
}

} // namespace kaleno
