#include "form_sudoku.h"
#include "frm_apropos.h"
#include "message_box.h"
#include "program_end.h"
#include "ui_style.h"

#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace kaleno;

namespace {

constexpr char SamplePuzzle[]
    = "1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3..";
constexpr char SampleSolution[]
    = "162857493534129678789643521475312986913586742628794135356478219241935867897261354";

const QColor Orange(255, 128, 0);

struct ShownMessage
{
    QWidget *parent;
    QString prompt;
    MessageBoxStyle style;
    QString title;
};

} // namespace

class FormSudokuTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithEmptyCellsIndicatorsHiddenAndFocusInCellZero();
    void layoutInPixels_data();
    void layoutInPixels();
    void menusAndCaptions();
    void tabVisitsTheCellsThenTheButtonsThenCellZero();
    void cellZeroIsWhiteAndTheOthersTakeTheSchemesBackground();
    void aScreenReaderCanWalkTheGrid();

    void solvesTheSampleGridWithItsGivensOrange();
    void solveMenuItemDoesWhatTheButtonDoes();
    void clearAfterASolveLeavesEverythingEmptyAndWhite();
    void clearMenuItemDoesWhatTheButtonDoes();
    void sampleCommandWritesOnlyItsCells_data();
    void sampleCommandWritesOnlyItsCells();

    void messageBoxes_data();
    void messageBoxes();

    void oneAboutWindowHoweverOftenAskedFor();
    void quitEndsTheProgramAtOnce();
    void closingTheMainWindowLeavesTheAboutWindowRunning();

private:
    QLineEdit *cell(int k) const
    {
        return m_window->findChild<QLineEdit *>(QStringLiteral("TxtS_%1").arg(k));
    }
    QWidget *control(const char *name) const
    {
        return m_window->findChild<QWidget *>(QLatin1String(name));
    }
    QAction *menuItem(const char *name) const
    {
        return m_window->findChild<QAction *>(QLatin1String(name));
    }
    void click(const char *button) const
    {
        QTest::mouseClick(
            m_window->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }
    void type(const QString &grid) const; // '.' leaves a cell alone
    QString gridShown() const; // '.' for an empty cell, '?' for anything but one digit
    void runSample() const { QVERIFY(QMetaObject::invokeMethod(m_window.get(), "Command1_Click")); }

    std::unique_ptr<FormSudoku> m_window;
    QList<ShownMessage> m_messages;
    QList<int> m_ends;
};

void FormSudokuTest::type(const QString &grid) const
{
    QCOMPARE(grid.size(), 81);
    for (int k = 0; k < 81; ++k) {
        if (grid[k] != QLatin1Char('.'))
            cell(k)->setText(grid.mid(k, 1));
    }
}

QString FormSudokuTest::gridShown() const
{
    QString shown;
    for (int k = 0; k < 81; ++k) {
        const QString text = cell(k)->text();
        if (text.isEmpty())
            shown += QLatin1Char('.');
        else if (text.size() == 1 && text[0] >= QLatin1Char('1') && text[0] <= QLatin1Char('9'))
            shown += text;
        else
            shown += QLatin1Char('?');
    }
    return shown;
}

void FormSudokuTest::init()
{
    m_messages.clear();
    m_ends.clear();
    setMessageBoxHandler([this](QWidget *parent, const QString &prompt, MessageBoxStyle style,
                             const QString &title) {
        m_messages.append({parent, prompt, style, title});
    });
    setProgramEndHandler([this](int status) { m_ends.append(status); });
    m_window = std::make_unique<FormSudoku>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void FormSudokuTest::cleanup()
{
    if (FrmAPropos *about = FrmAPropos::loadedShared())
        about->close();
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    setMessageBoxHandler({});
    setProgramEndHandler({});
}

void FormSudokuTest::startsWithEmptyCellsIndicatorsHiddenAndFocusInCellZero()
{
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(gridShown(), QString(81, QLatin1Char('.')));
    QVERIFY(!control("LblFin")->isVisible());
    QVERIFY(!control("ImgFin")->isVisible());
    QVERIFY(!control("Command1")->isVisible());
    QCOMPARE(QApplication::focusWidget(), cell(0));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kaleno"));
}

void FormSudokuTest::layoutInPixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry"); // in the container's pixels, 15 twips to the pixel

    QTest::newRow("Frame1") << "Frame1" << QRect(8, 8, 297, 321);
    QTest::newRow("cell 0") << "TxtS_0" << QRect(8, 24, 25, 27);
    QTest::newRow("cell 8, top right") << "TxtS_8" << QRect(264, 24, 25, 27);
    QTest::newRow("cell 72, bottom left") << "TxtS_72" << QRect(8, 280, 25, 27);
    QTest::newRow("cell 80, bottom right") << "TxtS_80" << QRect(264, 280, 25, 27);
    QTest::newRow("Shape1, columns 2|3") << "Shape1" << QRect(99, 24, 3, 281);
    QTest::newRow("Shape2, columns 5|6") << "Shape2" << QRect(195, 24, 3, 281);
    QTest::newRow("Shape3, rows 2|3") << "Shape3" << QRect(8, 116, 280, 3);
    QTest::newRow("Shape4, rows 5|6") << "Shape4" << QRect(7, 212, 280, 3);
    QTest::newRow("Cmd_Resolution") << "Cmd_Resolution" << QRect(312, 16, 113, 33);
    QTest::newRow("Cmd_Effacer") << "Cmd_Effacer" << QRect(312, 64, 113, 33);
    QTest::newRow("CmdAPropos") << "CmdAPropos" << QRect(312, 112, 113, 33);
    QTest::newRow("LblFin") << "LblFin" << QRect(312, 160, 113, 25);
    QTest::newRow("ImgFin") << "ImgFin" << QRect(336, 184, 70, 70);
    QTest::newRow("Command1") << "Command1" << QRect(312, 304, 97, 25);
}

void FormSudokuTest::layoutInPixels()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QCOMPARE(m_window->centralWidget()->size(), QSize(438, 341));
    QWidget *widget = m_window->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), geometry);
    if (name.startsWith(QLatin1String("Shape"))) {
        // A bar lies wholly in a gap: it overlaps no cell.
        for (int k = 0; k < 81; ++k)
            QVERIFY2(!widget->geometry().intersects(cell(k)->geometry()),
                qPrintable(QStringLiteral("cell %1").arg(k)));
    }
}

void FormSudokuTest::menusAndCaptions()
{
    const QList<QAction *> menus = m_window->menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus[0]->text(), QStringLiteral("Fichier"));
    QCOMPARE(menus[1]->text(), QStringLiteral("Action"));
    QCOMPARE(menus[2]->text(), QStringLiteral("A Propos"));
    QCOMPARE(menuItem("mnuquitter")->text(), QStringLiteral("Quitter"));
    QCOMPARE(menuItem("mnuresoudre")->text(), QStringLiteral("Résoudre la grille"));
    QCOMPARE(menuItem("mnueffacer")->text(), QStringLiteral("Tout Effacer"));
    QCOMPARE(menuItem("mnuauteur")->text(), QStringLiteral("Auteur & Version"));
    QCOMPARE(
        menuItem("mnuauteur")->iconText(), QStringLiteral("Auteur  Version")); // no ampersand shown
    for (QAction *item : m_window->findChildren<QAction *>())
        QVERIFY(item->shortcut().isEmpty());
    QCOMPARE(
        static_cast<QPushButton *>(control("Cmd_Effacer"))->text(), QStringLiteral("Tout effacer"));
    QCOMPARE(
        static_cast<QLabel *>(control("LblFin"))->text(), QStringLiteral("Solution trouvée !"));
    QCOMPARE(static_cast<QGroupBox *>(control("Frame1"))->title(), QStringLiteral("Grille 9x9"));
    QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
}

void FormSudokuTest::tabVisitsTheCellsThenTheButtonsThenCellZero()
{
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QList<QWidget *> expected;
    for (int k = 1; k < 81; ++k)
        expected << cell(k);
    expected << control("Cmd_Resolution") << control("Cmd_Effacer") << control("CmdAPropos")
             << cell(0);
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void FormSudokuTest::cellZeroIsWhiteAndTheOthersTakeTheSchemesBackground()
{
    const QPalette original = QApplication::palette();
    QPalette grey = original;
    grey.setColor(QPalette::Base, QColor(200, 210, 220));
    QApplication::setPalette(grey);
    FormSudoku window;
    QCOMPARE(
        window.findChild<QLineEdit *>(QStringLiteral("TxtS_0"))->palette().color(QPalette::Base),
        QColor(Qt::white));
    QCOMPARE(
        window.findChild<QLineEdit *>(QStringLiteral("TxtS_1"))->palette().color(QPalette::Base),
        QColor(200, 210, 220));
    QCOMPARE(
        window.findChild<QLineEdit *>(QStringLiteral("TxtS_80"))->palette().color(QPalette::Base),
        QColor(200, 210, 220));
    QApplication::setPalette(original);
    window.close();
}

void FormSudokuTest::aScreenReaderCanWalkTheGrid()
{
    auto nameOf = [](QWidget *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    QCOMPARE(nameOf(cell(0)), QStringLiteral("Ligne 1, colonne 1"));
    QCOMPARE(nameOf(cell(17)), QStringLiteral("Ligne 2, colonne 9"));
    QCOMPARE(nameOf(cell(80)), QStringLiteral("Ligne 9, colonne 9"));
    QSet<QString> names;
    for (int k = 0; k < 81; ++k)
        names.insert(nameOf(cell(k)));
    QCOMPARE(names.size(), 81);
    for (const char *named : {"Cmd_Resolution", "Cmd_Effacer", "CmdAPropos", "LblFin", "ImgFin"})
        QVERIFY2(!nameOf(control(named)).isEmpty(), named);
    QVERIFY(!QAccessible::queryAccessibleInterface(control("ImgFin"))
                 ->text(QAccessible::Description)
                 .isEmpty());
}

void FormSudokuTest::solvesTheSampleGridWithItsGivensOrange()
{
    runSample();
    click("Cmd_Resolution");
    QCOMPARE(gridShown(), QString::fromLatin1(SampleSolution));
    for (int k = 0; k < 81; ++k) {
        const bool given = SamplePuzzle[k] != '.';
        QCOMPARE(cell(k)->palette().color(QPalette::Base) == Orange, given);
    }
    QVERIFY(control("LblFin")->isVisible());
    QVERIFY(control("ImgFin")->isVisible());
    QVERIFY(m_messages.isEmpty());
}

void FormSudokuTest::solveMenuItemDoesWhatTheButtonDoes()
{
    QString givens(81, QLatin1Char('.'));
    givens[0] = QLatin1Char('5');
    givens[78] = QLatin1Char('3');
    givens[80] = QLatin1Char('1');
    type(givens);
    menuItem("mnuresoudre")->trigger();
    const QString byMenu = gridShown();

    FormSudoku other;
    for (int k : {0, 78, 80})
        other.findChild<QLineEdit *>(QStringLiteral("TxtS_%1").arg(k))->setText(cell(k)->text());
    QTest::mouseClick(
        other.findChild<QPushButton *>(QStringLiteral("Cmd_Resolution")), Qt::LeftButton);
    QString byButton;
    for (int k = 0; k < 81; ++k)
        byButton += other.findChild<QLineEdit *>(QStringLiteral("TxtS_%1").arg(k))->text();
    QCOMPARE(byMenu, byButton);
    QVERIFY(!byMenu.contains(QLatin1Char('.')));
    other.close();
}

void FormSudokuTest::clearAfterASolveLeavesEverythingEmptyAndWhite()
{
    runSample();
    click("Cmd_Resolution");
    click("Cmd_Effacer");
    QCOMPARE(gridShown(), QString(81, QLatin1Char('.')));
    for (int k = 0; k < 81; ++k)
        QCOMPARE(cell(k)->palette().color(QPalette::Base), QColor(Qt::white));
    QVERIFY(!control("LblFin")->isVisible());
    QVERIFY(!control("ImgFin")->isVisible());
    QCOMPARE(m_window->module().LoopIndex, 81);

    click("Cmd_Effacer"); // a second clear changes nothing
    QCOMPARE(gridShown(), QString(81, QLatin1Char('.')));
    QCOMPARE(m_window->module().LoopIndex, 81);
}

void FormSudokuTest::clearMenuItemDoesWhatTheButtonDoes()
{
    runSample();
    click("Cmd_Resolution");
    menuItem("mnueffacer")->trigger();
    QCOMPARE(gridShown(), QString(81, QLatin1Char('.')));
    QCOMPARE(cell(0)->palette().color(QPalette::Base), QColor(Qt::white));
    QVERIFY(!control("LblFin")->isVisible());
}

void FormSudokuTest::sampleCommandWritesOnlyItsCells_data()
{
    QTest::addColumn<bool>("solvedFirst");
    QTest::newRow("over an empty grid") << false;
    QTest::newRow("over a solved grid") << true;
}

void FormSudokuTest::sampleCommandWritesOnlyItsCells()
{
    QFETCH(bool, solvedFirst);
    QString before(81, QLatin1Char('.'));
    if (solvedFirst) {
        type(QStringLiteral("9") + QString(80, QLatin1Char('.')));
        click("Cmd_Resolution");
        before = gridShown();
    }
    QList<QColor> colours;
    for (int k = 0; k < 81; ++k)
        colours << cell(k)->palette().color(QPalette::Base);

    runSample();
    runSample(); // twice is the same as once
    QString expected = before;
    for (int k = 0; k < 81; ++k) {
        if (SamplePuzzle[k] != '.')
            expected[k] = QLatin1Char(SamplePuzzle[k]);
    }
    QCOMPARE(gridShown(), expected);
    for (int k = 0; k < 81; ++k)
        QCOMPARE(cell(k)->palette().color(QPalette::Base), colours[k]);
    QCOMPARE(control("LblFin")->isVisible(), solvedFirst);
}

void FormSudokuTest::messageBoxes_data()
{
    QTest::addColumn<QString>("grid"); // '.' empty, '#' the text "12"
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");

    const QString noSolution = QStringLiteral("Aucune solution trouvée !");
    const QString inputError = QStringLiteral(
        "Une erreur est survenue. Veuillez vérifier la saisie des valeurs de la grille, merci.");
    QTest::newRow("no value for the first free cell")
        << QStringLiteral(".234567891") + QString(71, QLatin1Char('.')) << noSolution
        << QStringLiteral("Aucune solution");
    QTest::newRow("a cell holding 12") << QStringLiteral("1#") + QString(79, QLatin1Char('.'))
                                       << inputError << QStringLiteral("ERREUR DE SAISIE");
    QTest::newRow("a digit twice in a row")
        << QStringLiteral("7.......7") + QString(72, QLatin1Char('.')) << inputError
        << QStringLiteral("ERREUR DE SAISIE");
}

void FormSudokuTest::messageBoxes()
{
    QFETCH(QString, grid);
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    type(QString(grid).replace(QLatin1Char('#'), QLatin1Char('.')));
    if (grid.contains(QLatin1Char('#')))
        cell(static_cast<int>(grid.indexOf(QLatin1Char('#'))))->setText(QStringLiteral("12"));
    QList<QString> typed;
    for (int k = 0; k < 81; ++k)
        typed << cell(k)->text();

    click("Cmd_Resolution");
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].prompt, prompt);
    QCOMPARE(m_messages[0].title, title);
    QCOMPARE(m_messages[0].style, MessageBoxStyle::Critical);
    QCOMPARE(m_messages[0].parent, m_window.get());
    for (int k = 0; k < 81; ++k)
        QCOMPARE(cell(k)->text(), typed[k]); // nothing written
    QVERIFY(!control("LblFin")->isVisible());
}

void FormSudokuTest::oneAboutWindowHoweverOftenAskedFor()
{
    click("CmdAPropos");
    FrmAPropos *about = FrmAPropos::loadedShared();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    click("CmdAPropos");
    menuItem("mnuauteur")->trigger();
    QCOMPARE(FrmAPropos::loadedShared(), about);
    QCOMPARE(m_window->findChildren<FrmAPropos *>().size(), 1);
    QVERIFY(m_window->isEnabled()); // modeless: the main window stays usable
}

void FormSudokuTest::quitEndsTheProgramAtOnce()
{
    click("CmdAPropos");
    QPointer<FrmAPropos> about = FrmAPropos::loadedShared();
    auto *timer = about->findChild<QTimer *>(QStringLiteral("TmrAPropos"));
    menuItem("mnuquitter")->trigger();
    QVERIFY(!m_ends.isEmpty());
    QCOMPARE(m_ends.last(), 0);
    QVERIFY(!m_window->isVisible());
    QVERIFY(timer->isActive()); // the About window's unload handler did not run
}

void FormSudokuTest::closingTheMainWindowLeavesTheAboutWindowRunning()
{
    click("CmdAPropos");
    FrmAPropos *about = FrmAPropos::loadedShared();
    m_window->close();
    QVERIFY(m_ends.isEmpty());
    QVERIFY(about->isVisible());
    QVERIFY(about->findChild<QTimer *>(QStringLiteral("TmrAPropos"))->isActive());
    about->close(); // the last window: now the program ends
    QCOMPARE(m_ends, QList<int> {0});
}

QTEST_MAIN(FormSudokuTest)
#include "form_sudoku_test.moc"
