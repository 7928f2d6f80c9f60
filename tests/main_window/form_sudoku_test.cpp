#include "form_sudoku.h"
#include "frm_apropos.h"
#include "message_box.h"
#include "picture_paths.h"
#include "program_end.h"
#include "ui_style.h"

#include <QAction>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <fstream>
#include <memory>
#include <new>
#include <stdexcept>
#include <tuple>
#include <utility>

using namespace kaleno;

class FormSudokuTest : public QObject
{
    Q_OBJECT

    static inline const QColor Orange {255, 128, 0};
    static inline const QColor White {255, 255, 255};
    static inline const QString Sample = QStringLiteral(
        "1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3..");
    static inline const QString Solution = QStringLiteral(
        "162857493534129678789643521475312986913586742628794135356478219241935867897261354");

    QLineEdit *cell(int k) const
    {
        return m_window->findChild<QLineEdit *>(QStringLiteral("TxtS_%1").arg(k));
    }
    QWidget *control(const char *name) const { return m_window->findChild<QWidget *>(name); }
    void click(const char *button) const { QTest::mouseClick(control(button), Qt::LeftButton); }
    void trigger(const char *item) const { m_window->findChild<QAction *>(item)->trigger(); }
    QColor back(int k) const { return cell(k)->palette().color(QPalette::Base); }
    bool shows(const char *name) const { return control(name)->isVisible(); }
    QString shown() const // each cell's text, '.' for an empty one
    {
        QString texts;
        for (int k = 0; k < 81; ++k)
            texts += cell(k)->text().isEmpty() ? QStringLiteral(".") : cell(k)->text();
        return texts;
    }

    std::unique_ptr<FormSudoku> m_window;
    QStringList m_messages; // title | prompt | style | over the main window; and the program's ends

private slots:
    void init()
    {
        m_messages.clear();
        setSolveFunction({});
        setMessageBoxHandler([this](QWidget *parent, const QString &prompt, MessageBoxStyle style,
                                 const QString &title) {
            m_messages << QStringLiteral("%1 | %2 | %3 | %4")
                              .arg(title, prompt, QString::number(int(style)),
                                  QString::number(parent == m_window.get()));
        });
        setProgramEndHandler(
            [this](int status) { m_messages << QStringLiteral("end %1").arg(status); });
        m_window = std::make_unique<FormSudoku>();
        m_window->show();
    }

    void cleanup() { m_window.reset(); } // and the About window it owns

    void startsWithTheIndicatorsHiddenAndTheCursorInCellZero()
    {
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QVERIFY(!shows("LblFin") && !shows("ImgFin") && !shows("Command1"));
        QCOMPARE(QApplication::focusWidget(), cell(0));
    }

    void cellsKeepTheirPitchAndTheBarsLieInTheGaps()
    {
        // Twips (3960, 360), (120, 4200), (3960, 4200): the boxes have no wider gap.
        QCOMPARE(cell(8)->pos(), QPoint(264, 24));
        QCOMPARE(cell(72)->pos(), QPoint(8, 280));
        QCOMPARE(cell(80)->pos(), QPoint(264, 280));
        // For each bar: the cell before it in the top row or left column, the step on to the
        // cell before it in the next row or column, and the step across it.
        for (const auto &[name, first, along, across] :
            {std::tuple("Shape1", 2, 9, 1), std::tuple("Shape2", 5, 9, 1),
                std::tuple("Shape3", 18, 1, 9), std::tuple("Shape4", 45, 1, 9)}) {
            const QRect bar = control(name)->geometry();
            for (int before = first, i = 0; i < 9; ++i, before += along) {
                const QRect span = cell(before)->geometry() | cell(before + across)->geometry();
                QVERIFY2(bar.intersects(span), name);
            }
            for (int k = 0; k < 81; ++k)
                QVERIFY2(!bar.intersects(cell(k)->geometry()), name);
        }
        // The frame's inside is the button face, as the window's background.
        QCOMPARE(control("Frame1")->grab().toImage().pixelColor(3, 160),
            systemColour(SystemColour::ButtonFace));
    }

    void textsInTheirFonts()
    {
        for (const auto &[name, points, centred] : {std::tuple("TxtS_40", 12.0, true),
                 std::tuple("Cmd_Resolution", 8.0, false), std::tuple("LblFin", 9.75, true)}) {
            QCOMPARE(control(name)->font().pointSizeF(), points);
            // For MS Sans Serif, Liberation Sans: the Debian package depends on it.
            QCOMPARE(QFontInfo(control(name)->font()).family(), QStringLiteral("Liberation Sans"));
            QCOMPARE(control(name)->property("alignment").toInt() == Qt::AlignCenter, centred);
        }
    }

    void lblFinIsYellowOnBlack()
    {
        const QImage label = control("LblFin")->grab().toImage();
        const auto *pixels = reinterpret_cast<const QRgb *>(label.constBits());
        QCOMPARE(label.pixel(0, 0), qRgb(0, 0, 0));
        QVERIFY(std::count(pixels, pixels + label.sizeInBytes() / sizeof(QRgb), qRgb(255, 255, 0)));
    }

    void bothWindowsCarryTheProgramIcon()
    {
        click("CmdAPropos");
        const QImage program = QIcon(pictures::programIcon()).pixmap(32).toImage();
        QVERIFY(!program.isNull());
        QCOMPARE(m_window->windowIcon().pixmap(32).toImage(), program);
        QCOMPARE(FrmAPropos::loadedShared()->windowIcon().pixmap(32).toImage(), program);
    }

    void barsAreOutlinedAgainstTheSilverAndEvenInDevicePixels() // again at scales 1.5 and 2
    {
        const auto restore = qScopeGuard(
            [original = QApplication::palette()] { QApplication::setPalette(original); });
        const qreal ratio = m_window->devicePixelRatioF();
        static const QRegularExpression even(QStringLiteral("^\\.*(o+)s+\\1\\.*$"));
        // The scheme's button shadow and the outline: Fusion's, Adwaita's, the silver itself.
        for (const auto &[shadow, outline] : {std::pair(0x9F9F9F, 0x9F9F9F),
                 std::pair(0xDFDCD8, 0x696969), std::pair(0xC0C0C0, 0x696969)}) {
            QPalette scheme = QApplication::palette();
            scheme.setColor(QPalette::Dark, QColor::fromRgb(shadow));
            QApplication::setPalette(scheme); // over the open window
            const QImage look = control("Frame1")->grab().toImage(); // the bars between pixels
            const QHash<QRgb, QChar> names {{QRgb(outline), 'o'}, {0xC0C0C0, 's'}}; // else '.'
            for (const char *name : {"Shape1", "Shape2", "Shape3", "Shape4"}) {
                // Across its middle, device pixel by device pixel: outline, silver, the rest.
                const QRect bar = control(name)->geometry();
                const QPointF middle = QRectF(bar).center() * ratio;
                const QPointF step = bar.height() > bar.width() ? QPointF(1, 0) : QPointF(0, 1);
                QString across;
                for (int d = -qCeil(2.5 * ratio); d <= qCeil(2.5 * ratio); ++d)
                    across
                        += names.value(look.pixel((middle + d * step).toPoint()) & 0xFFFFFF, '.');
                QVERIFY2(even.match(across).hasMatch(), qPrintable(name + (": " + across)));
            }
        }
    }

    // Above one device pixel to a logical one, the @2x render smoothly scaled to the screen.
    void picturesShowTheirRenderSmoothlyScaled() // CTest runs it again at scales 1.5 and 2
    {
        const FrmAPropos *about = &FrmAPropos::showShared(m_window.get());
        for (const char *square : {"PB1", "PB2", "PB3"})
            about->findChild<QWidget *>(square)->hide();
        // Each picture: its control, the border around it there, and its renders.
        for (const auto &[widget, border, picture] :
            {std::tuple(control("ImgFin"), 0, &pictures::success),
                std::tuple(about->findChild<QWidget *>("Image6"), 0, &pictures::success),
                std::tuple(about->findChild<QWidget *>("PBFond"), 2, &pictures::space)}) {
            const QImage look = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage shown = look.copy(
                look.rect() - QMargins(1, 1, 1, 1) * qRound(border * look.devicePixelRatio()));
            const QImage expected
                = QImage(picture(look.devicePixelRatio() > 1 ? 2 : 1))
                      .convertToFormat(QImage::Format_RGB32)
                      .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            QVERIFY2(shown == expected, qPrintable(widget->objectName()));
        }
    }

    void menuTree()
    {
        QStringList tree;
        for (QAction *menu : m_window->menuBar()->actions()) {
            tree << menu->text();
            for (QAction *item : menu->menu()->actions())
                tree << QStringLiteral("- ") + item->text();
        }
        QCOMPARE(tree,
            QStringList({"Fichier", "- Quitter", "Action", "- Résoudre la grille", "- Tout Effacer",
                "A Propos", "- Auteur & Version"}));
    }

    void textOnColoursFixedByValueStaysReadable()
    {
        const auto restore = qScopeGuard(
            [original = QApplication::palette()] { QApplication::setPalette(original); });
        click("CmdAPropos");
        cell(1)->setText(QStringLiteral("5"));
        click("Cmd_Resolution"); // cell 0 stays white, 1 turns orange, 2 keeps the scheme's colour
        auto textOf = [](QWidget *w) { return w->palette().color(w->foregroundRole()); };
        const QColor black(Qt::black), dim(40, 40, 40), grey(100, 100, 100), light(230, 230, 230);
        // The scheme's window background and text; the text on white, orange, Label2's grey.
        for (const auto &[base, text, onWhite, onOrange, onGrey] :
            {std::tuple(White, dim, dim, dim, dim),
                std::tuple(White, grey, grey, black, black), // 5.9, 2.4 and 4.48 to 1
                std::tuple(QColor(30, 30, 30), light, black, black, black)}) {
            QPalette scheme = QApplication::palette();
            scheme.setColor(QPalette::Base, base);
            scheme.setColor(QPalette::Text, text);
            scheme.setColor(QPalette::WindowText, text);
            QApplication::setPalette(scheme); // over open windows, whose colours follow
            QCoreApplication::processEvents();
            QCOMPARE(textOf(FrmAPropos::loadedShared()->findChild<QWidget *>("Label2")), onGrey);
            QVERIFY(back(0) == White && textOf(cell(0)) == onWhite);
            QCOMPARE(textOf(cell(1)), onOrange);
            QVERIFY(back(2) == base && textOf(cell(2)) == text);
        }
        click("Cmd_Effacer");
        for (int k = 0; k < 81; ++k)
            QVERIFY(back(k) == White && textOf(cell(k)) == black);
    }

    void solveShowsTheCoresOutcomeAndClearUndoesIt()
    {
        CellTexts typed = {"5"};
        typed[40] = "0.3";
        typed[80] = "3";
        const SolveOutcome outcome = solveCells(typed);
        for (bool byMenu : {false, true}) { // the buttons, then the menu items
            for (std::size_t k = 0; k < 81; ++k)
                cell(int(k))->setText(QString::fromStdString(typed[k]));
            byMenu ? trigger("mnuresoudre") : click("Cmd_Resolution");
            for (std::size_t k = 0; k < 81; ++k) {
                QCOMPARE(cell(int(k))->text(), QString::fromStdString(outcome.texts[k]));
                QCOMPARE(back(int(k)) == Orange, outcome.orange.test(k));
            }
            QVERIFY(shows("LblFin") && shows("ImgFin") && m_messages.isEmpty());

            byMenu ? trigger("mnueffacer") : click("Cmd_Effacer");
            QCOMPARE(shown(), QString(81, QLatin1Char('.')));
            for (int k = 0; k < 81; ++k)
                QCOMPARE(back(k), White);
            QVERIFY(!shows("LblFin") && !shows("ImgFin"));
            QCOMPARE(m_window->module().LoopIndex, 81);
        }
    }

    void sampleButtonAndCommandLineTypeTheirGivens()
    {
        const QString sample = QStringLiteral(
            "1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3..");
        cell(1)->setText(QStringLiteral("x"));
        m_window->findChild<QPushButton *>(QStringLiteral("Command1"))->click(); // hidden, not gone
        QCOMPARE(shown(), QString(sample).replace(1, 1, QLatin1Char('x'))); // over what was there

        Grid givens {};
        QVERIFY(
            parseGridText(QString(sample).replace(0, 1, QLatin1Char('.')).toStdString(), givens));
        m_window->typeGivens(givens); // what `kaleno GRID` types at start
        QCOMPARE(shown(), QString(sample).replace(0, 1, QLatin1Char('.')));
        QCOMPARE(back(0), White);
        QVERIFY(!shows("LblFin") && !shows("ImgFin"));
    }

    void failedSolveColoursItsCellsAndLeavesTheRest_data()
    {
        QTest::addColumn<QStringList>("typed"); // cell=text
        QTest::addColumn<QList<int>>("orange");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("failure"); // what the engine throws, if anything
        const QString inputError = "ERREUR DE SAISIE | Une erreur est survenue. Veuillez vérifier "
                                   "la saisie des valeurs de la grille, merci. | 16 | 1";
        QTest::newRow("input error in cell 5") << QStringList {"0=5", "2=0.3", "5=12", "10=7"}
                                               << QList<int> {0, 2} << inputError << "";
        QTest::newRow("no value for the first free cell")
            << QStringList {"1=2", "2=3", "3=4", "4=5", "5=6", "6=7", "7=8", "8=9", "9=1"}
            << QList<int> {1, 2, 3, 4, 5, 6, 7, 8, 9}
            << "Aucune solution | Aucune solution trouvée ! | 16 | 1"
            << "";
        QTest::newRow("out of memory")
            << QStringList {"0=5"} << QList<int> {} << inputError << "bad_alloc";
        QTest::newRow("engine's own failure")
            << QStringList {"0=5"} << QList<int> {} << inputError << "logic_error";
    }

    void failedSolveColoursItsCellsAndLeavesTheRest()
    {
        QFETCH(QStringList, typed);
        QFETCH(QList<int>, orange);
        QFETCH(QString, message);
        QFETCH(QString, failure);
        cell(80)->setText(QStringLiteral("1"));
        click("Cmd_Resolution"); // solved: the indicators shown, cell 80 orange
        if (failure == "bad_alloc")
            setSolveFunction([](const CellTexts &) -> SolveOutcome { throw std::bad_alloc(); });
        else if (failure == "logic_error")
            setSolveFunction([](const CellTexts &) -> SolveOutcome { throw std::logic_error(""); });
        for (int k = 0; k < 81; ++k)
            cell(k)->setText(k == 80 ? QStringLiteral("0") : QString()); // 80 orange, reading 0
        for (const QString &entry : typed)
            cell(entry.section('=', 0, 0).toInt())->setText(entry.section('=', 1));
        const QString before = shown();
        click("Cmd_Resolution");
        QCOMPARE(m_messages, QStringList {message});
        QCOMPARE(shown(), before);
        for (int k = 0; k < 81; ++k)
            QCOMPARE(back(k) == Orange, orange.contains(k) || k == 80);
        QVERIFY(shows("LblFin") && shows("ImgFin"));
    }

    void pasteTypesTheFirstGridWholeWhereverTheFocusIs_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("grid");
        const QString rows = "1....7.9.\n.3..2...8\n..96..5..\n..53..9..\n.1..8...2\n6....4...\n"
                             "3......1.\n.4......7\n..7...3..\n";
        QString boxed = rows, spaced = rows;
        boxed.replace(QRegularExpression("(...)(...)(...)\n"), "\\1|\\2|\\3\n")
            .insert(36, "---+---+---\n");
        spaced.replace(QRegularExpression("(.)(?=.)"), "\\1 ").replace("\n", "\r\n");
        const QKeySequence ctrlV(Qt::CTRL | Qt::Key_V), shiftInsert(Qt::SHIFT | Qt::Key_Insert);
        QTest::newRow("line, comment") << Sample + "  ER 2.6" << ctrlV << "TxtS_40" << true;
        QTest::newRow("title, rows")
            << "Puzzle 12\n" + rows << shiftInsert << "Cmd_Effacer" << true;
        QTest::newRow("boxed") << boxed << ctrlV << "CmdAPropos" << true;
        QTest::newRow("spaced, CRLF") << spaced << shiftInsert << "TxtS_80" << true;
        QTest::newRow("no grid, cell") << "2.5" << ctrlV << "TxtS_40" << false;
        QTest::newRow("no grid, button") << "2.5" << ctrlV << "Cmd_Resolution" << false;
    }

    void pasteTypesTheFirstGridWholeWhereverTheFocusIs()
    {
        QFETCH(QString, clipboard);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, focus);
        QFETCH(bool, grid);
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        cell(79)->setText(QStringLiteral("2"));
        click("Cmd_Resolution"); // solved, cell 79 orange
        cell(40)->clear();
        const QString before = shown();
        QGuiApplication::clipboard()->setText(clipboard);
        control(focus.toLatin1())->setFocus();
        QTest::keySequence(QApplication::focusWidget(), keys);
        QCOMPARE(QApplication::focusWidget(), control(focus.toLatin1()));
        if (!grid) { // a cell's own paste, or nothing
            QCOMPARE(
                shown(), focus == "TxtS_40" ? QString(before).replace(40, 1, clipboard) : before);
            return;
        }
        QCOMPARE(shown(), Sample); // what "Tout effacer" does, then the givens
        QVERIFY(back(79) == White && !shows("LblFin") && !shows("ImgFin"));
    }

    void copyTakesTheGridAsTheSolveReadsItOrAHandMadeSelection()
    {
        click("Command1"); // the sample puzzle: an orange 7 in cell 5 reads as a given
        for (const auto &[k, text] : {std::pair(1, "0"), std::pair(3, "12"), std::pair(5, " 7.2")})
            cell(k)->setText(QString::fromLatin1(text));
        QTest::keyClick(control("CmdAPropos"), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), Sample); // 12 is refused: no digit
        cell(3)->clear();
        click("Cmd_Resolution");
        cell(40)->selectAll(); // as Tab leaves it
        QTest::keyClick(cell(40), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), Solution);
        cell(40)->setText(QStringLiteral("456"));
        cell(40)->setSelection(1, 1);
        QTest::keyClick(cell(40), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("5"));
    }

    void arrowsMoveBetweenCellsUnlessTheCaretCanMoveInItsText_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("caret"); // in "123"; -1: the whole text selected
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("to");
        QTest::newRow("up at the top") << 4 << 0 << QKeySequence(Qt::Key_Up) << 4;
        QTest::newRow("up") << 13 << 1 << QKeySequence(Qt::Key_Up) << 4;
        QTest::newRow("down at the bottom") << 76 << 0 << QKeySequence(Qt::Key_Down) << 76;
        QTest::newRow("left at the left edge") << 9 << -1 << QKeySequence(Qt::Key_Left) << 9;
        QTest::newRow("left at the start") << 10 << 0 << QKeySequence(Qt::Key_Left) << 9;
        QTest::newRow("left inside") << 10 << 1 << QKeySequence(Qt::Key_Left) << 10;
        QTest::newRow("right, all selected") << 10 << -1 << QKeySequence(Qt::Key_Right) << 11;
        QTest::newRow("right inside") << 10 << 2 << QKeySequence(Qt::Key_Right) << 10;
        QTest::newRow("right at the right edge") << 17 << 3 << QKeySequence(Qt::Key_Right) << 17;
        QTest::newRow("shift+right") << 10 << 3 << QKeySequence(Qt::SHIFT | Qt::Key_Right) << 10;
        QTest::newRow("ctrl+down") << 10 << 3 << QKeySequence(Qt::CTRL | Qt::Key_Down) << 10;
    }

    void arrowsMoveBetweenCellsUnlessTheCaretCanMoveInItsText()
    {
        QFETCH(int, from);
        QFETCH(int, caret);
        QFETCH(QKeySequence, keys);
        QFETCH(int, to);
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        for (int k = 0; k < 81; ++k)
            cell(k)->setText(QStringLiteral("123"));
        cell(from)->setFocus();
        caret < 0 ? cell(from)->selectAll() : cell(from)->setCursorPosition(caret);
        QTest::keySequence(cell(from), keys);
        QCOMPARE(QApplication::focusWidget(), cell(to));
        if (to != from) // selected as after Tab
            QCOMPARE(cell(to)->selectedText(), QStringLiteral("123"));
    }

    void dropsTakeTheFirstGridOfAFileOrAText()
    {
        QTemporaryDir folder;
        std::ofstream(folder.filePath("grid.txt").toStdString())
            << ("# 12\n" + Sample).toStdString();
        std::ofstream(folder.filePath("notes.txt").toStdString()) << "nothing here\n";
        const auto drop = [](QWidget *on, const QList<QUrl> &urls, const QString &text = {}) {
            QMimeData data;
            data.setUrls(urls);
            data.setText(text);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, {}, {});
            QApplication::sendEvent(on, &enter); // the drop goes where the drag was taken
            QDropEvent event(QPointF(5, 5), enter.possibleActions(), &data, {}, {});
            event.setDropAction(Qt::MoveAction);
            QApplication::sendEvent(on, &event);
            QCoreApplication::processEvents(); // a file is read once the drop is over
            return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
        };
        const QUrl notes = QUrl::fromLocalFile(folder.filePath("notes.txt"));
        cell(2)->setText(QStringLiteral("7"));
        QCOMPARE(drop(cell(3), {notes}), Qt::CopyAction);
        QCOMPARE(m_messages,
            QStringList {
                u"Aucune grille | Aucune grille lisible dans le fichier «\u00A0notes.txt\u00A0». | 16 | 1"_qs});
        QCOMPARE(shown(), QString(81, '.').replace(2, 1, '7'));
        drop(m_window.get(), {QUrl::fromLocalFile(folder.filePath("grid.txt")), notes});
        QCOMPARE(shown(), Sample);
        m_window->enterPuzzle(Grid {});
        QCOMPARE(drop(cell(3), {}, Sample), Qt::CopyAction); // never moved: the source keeps it
        QCOMPARE(shown(), Sample);
    }

    void aboutCommandsShowOneModelessAboutWindowCentredOnTheMainWindow()
    {
        m_window->move(150, 100); // with room around it on the screen
        for (bool byMenu : {false, true}) { // opened by the button, then by the menu item
            byMenu ? trigger("mnuauteur") : click("CmdAPropos");
            FrmAPropos *about = FrmAPropos::loadedShared();
            QVERIFY(about && about->isVisible());
            const QPoint off = about->frameGeometry().center() - m_window->frameGeometry().center();
            QVERIFY(off.manhattanLength() <= 1); // centred on the main window, to the pixel
            QVERIFY(QMetaObject::invokeMethod(about, "TmrAPropos_Timer"));
            const double angle = about->OrbitAngle1;
            click("CmdAPropos");
            trigger("mnuauteur");
            QCOMPARE(FrmAPropos::loadedShared(), about);
            QCOMPARE(about->OrbitAngle1, angle); // not loaded again: the animation goes on
            cell(0)->setText(QStringLiteral("5")); // and the main window still takes clicks
            const QWidget *clear = control("Cmd_Effacer");
            QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
                clear->mapTo(m_window.get(), clear->rect().center()));
            QVERIFY(cell(0)->text().isEmpty());
            about->close();
        }
    }

    void quitEndsTheProgramAtOnce()
    {
        click("CmdAPropos");
        auto *timer = FrmAPropos::loadedShared()->findChild<QTimer *>(QStringLiteral("TmrAPropos"));
        trigger("mnuquitter");
        QCOMPARE(m_messages, QStringList {"end 0"});
        QVERIFY(!m_window->isVisible() && timer->isActive()); // no unload handler of About ran
    }

    void closingTheMainWindowLeavesTheAboutWindowRunning()
    {
        click("CmdAPropos");
        FrmAPropos *about = FrmAPropos::loadedShared();
        m_window->close();
        QVERIFY(m_messages.isEmpty()
            && about->findChild<QTimer *>(QStringLiteral("TmrAPropos"))->isActive());
        about->close(); // the last window: now the program ends
        QCOMPARE(m_messages, QStringList {"end 0"});
    }
};

QTEST_MAIN(FormSudokuTest)
#include "form_sudoku_test.moc"
