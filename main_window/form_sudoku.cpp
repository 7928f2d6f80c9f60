#include "form_sudoku.h"

#include "frame.h"
#include "frm_apropos.h"
#include "grid_events.h"
#include "message_box.h"
#include "picture_box.h"
#include "picture_paths.h"
#include "program_end.h"
#include "separator_bar.h"
#include "shared_window.h"
#include "twips.h"
#include "ui_style.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <limits>

namespace kaleno {

namespace {

// The client area below the menu bar, in twips.
constexpr int ClientWidth = 6570;
constexpr int ClientHeight = 5115;

// The grid: cell k lies in row k div 9 and column k mod 9, 480 twips apart both ways.
constexpr int CellPitch = 480;
constexpr int FirstCellLeft = 120;
constexpr int FirstCellTop = 360;

constexpr Colour YellowColour = 0x00FFFF;
constexpr Colour BlackColour = 0x000000;

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

// The cell's BackColor: the background of a text box is its palette's base colour. Its digits
// stay readable on it whatever the scheme's text colour.
void setCellBackColour(QLineEdit *cell, const QColor &colour)
{
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Base, colour);
    cell->setPalette(palette);
    keepTextReadable(cell);
}

SolveFunction &solveFunction()
{
    static SolveFunction installed;
    return installed;
}

QPushButton *makeButton(
    QWidget *container, const char *name, const QString &caption, const QRect &twips)
{
    auto *button = new QPushButton(caption, container);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    button->setAutoDefault(false); // no default button: Enter in a cell does nothing
    return button;
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
    setObjectName(QStringLiteral("FormSudoku"));
    setWindowTitle(QStringLiteral("Kaleno"));
    setWindowIcon(QIcon(pictures::programIcon()));
    setFont(designFont(8));

    auto *client = new QWidget(this);
    client->setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    // System colours are roles of the palette, so that they follow the scheme when it changes.
    client->setBackgroundRole(paletteRole(SystemColour::ButtonFace));
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize); // the user cannot resize it

    Frame1 = new Frame(QStringLiteral("Grille 9x9"), client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 120, 4455, 4815));
    Frame1->setBackgroundRole(paletteRole(SystemColour::ButtonFace));

    const QFont cellFont = designFont(12);
    for (int k = 0; k < CellCount; ++k) {
        auto *cell = new QLineEdit(Frame1);
        cell->setObjectName(QStringLiteral("TxtS_%1").arg(k));
        cell->setGeometry(twipsRect(FirstCellLeft + CellPitch * columnOf(k),
            FirstCellTop + CellPitch * rowOf(k), 375, 405));
        cell->setAlignment(Qt::AlignCenter);
        cell->setFont(cellFont);
        cell->setMaxLength(std::numeric_limits<int>::max()); // any text of any length
        cell->setAccessibleName(
            QStringLiteral("Ligne %1, colonne %2").arg(rowOf(k) + 1).arg(columnOf(k) + 1));
        if (k == 0)
            setCellBackColour(cell, Qt::white); // the others keep the window background's role
        TxtS[static_cast<std::size_t>(k)] = cell;
    }

    // The bars that mark the boxes, each in the gap between two rows or columns of cells.
    const QRect bars[] = {
        {1485, 360, 45, 4215}, {2925, 360, 45, 4215}, {120, 1740, 4200, 45}, {105, 3180, 4200, 45}};
    for (std::size_t i = 0; i < Shapes.size(); ++i) {
        Shapes[i] = new SeparatorBar(Frame1);
        Shapes[i]->setObjectName(QStringLiteral("Shape%1").arg(i + 1));
        Shapes[i]->setGeometry(
            twipsRect(bars[i].x(), bars[i].y(), bars[i].width(), bars[i].height()));
    }

    Cmd_Resolution = makeButton(
        client, "Cmd_Resolution", QStringLiteral("Résoudre la grille"), {4680, 240, 1695, 495});
    Cmd_Effacer
        = makeButton(client, "Cmd_Effacer", QStringLiteral("Tout effacer"), {4680, 960, 1695, 495});
    CmdAPropos
        = makeButton(client, "CmdAPropos", QStringLiteral("A Propos"), {4680, 1680, 1695, 495});
    Command1 = makeButton(client, "Command1", QStringLiteral("Command1"), {4680, 4560, 1455, 375});
    Command1->setVisible(false); // and nothing ever shows it
    Cmd_Resolution->setAccessibleDescription(
        QStringLiteral("Remplit les cases libres avec la solution de la grille"));
    Cmd_Effacer->setAccessibleDescription(QStringLiteral("Vide toutes les cases"));
    CmdAPropos->setAccessibleDescription(QStringLiteral("Montre la version et l'auteur"));
    Command1->setAccessibleDescription(QStringLiteral("Écrit la grille d'exemple"));

    LblFin = new QLabel(QStringLiteral("Solution trouvée !"), client);
    LblFin->setObjectName(QStringLiteral("LblFin"));
    LblFin->setGeometry(twipsRect(4680, 2400, 1695, 375));
    LblFin->setAlignment(Qt::AlignCenter);
    LblFin->setFont(designFont(9.75));
    setBackColour(LblFin, toQColor(BlackColour));
    QPalette yellowText = LblFin->palette();
    yellowText.setColor(QPalette::WindowText, toQColor(YellowColour));
    LblFin->setPalette(yellowText);

    ImgFin = new QLabel(client);
    ImgFin->setObjectName(QStringLiteral("ImgFin"));
    ImgFin->setGeometry(twipsRect(5040, 2760, 1050, 1050));
    const qreal ratio = ImgFin->devicePixelRatioF();
    ImgFin->setPixmap( // 70 pixels
        QPixmap::fromImage(pictureForRatio(QImage(pictures::success(ratio)), ratio)));
    ImgFin->setAccessibleName(QStringLiteral("Grille résolue"));
    ImgFin->setAccessibleDescription(
        QStringLiteral("Une tuile de bois portant une grille qui sourit"));

    // Tab order: the cells row by row, then the three visible buttons, then back to cell 0.
    for (int k = 1; k < CellCount; ++k)
        setTabOrder(TxtS[static_cast<std::size_t>(k - 1)], TxtS[static_cast<std::size_t>(k)]);
    setTabOrder(TxtS[CellCount - 1], Cmd_Resolution);
    setTabOrder(Cmd_Resolution, Cmd_Effacer);
    setTabOrder(Cmd_Effacer, CmdAPropos);
    TxtS[0]->setFocus();
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
            setCellBackColour(TxtS[static_cast<std::size_t>(k)], toQColor(GivenCellColour));
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
        setCellBackColour(cell, toQColor(ClearedCellColour));
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
