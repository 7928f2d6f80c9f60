#include "frm_apropos.h"
#include "orbit.h"
#include "picture_box.h"
#include "ui_style.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace kaleno;

class FrmAProposTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void layoutInPixels_data();
    void layoutInPixels();
    void textsAndColours();
    void picturesHaveNamesForScreenReaders();
    void opensCentredOnItsOwner();
    void focusIsOnOkAndEscapeDoesNothing();
    void enterAndSpaceClose_data();
    void enterAndSpaceClose();

    void secondAboutCommandMakesNoSecondWindow();
    void okUnloadsAndStopsTheTimer();
    void closeBoxUnloadsAndStopsTheTimer();
    void reopeningStartsAgainFromTheDesign();

    void tickDrawsTrailsThatSurviveARepaint();
    void tickHidesASquareOnItsHiddenArc();

private:
    static FrmAPropos &openAbout();
    static void tick(FrmAPropos &window, int times = 1);
    static QColor canvasPixel(FrmAPropos &window, QPoint areaPixel);
};

FrmAPropos &FrmAProposTest::openAbout()
{
    FrmAPropos &window = FrmAPropos::showShared(nullptr);
    return window;
}

// One timer event, run directly so that the test needs no real time.
void FrmAProposTest::tick(FrmAPropos &window, int times)
{
    for (int i = 0; i < times; ++i)
        QVERIFY(QMetaObject::invokeMethod(&window, "TmrAPropos_Timer"));
}

// A pixel of PBFond's drawing area, squares and all, as the screen shows it.
QColor FrmAProposTest::canvasPixel(FrmAPropos &window, QPoint areaPixel)
{
    auto *box = window.findChild<PictureBox *>(QStringLiteral("PBFond"));
    const QImage shot = box->grab().toImage();
    const int border = box->borderWidth();
    return shot.pixelColor(areaPixel + QPoint(border, border));
}

void FrmAProposTest::cleanup()
{
    if (FrmAPropos *window = FrmAPropos::loadedShared())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!FrmAPropos::loadedShared());
}

void FrmAProposTest::layoutInPixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry"); // in the container's pixels; 15 twips to the pixel

    QTest::newRow("Frame6") << "Frame6" << QRect(4, 4, 181, 129);
    QTest::newRow("Frame2") << "Frame2" << QRect(4, 16, 173, 109);
    QTest::newRow("Image6") << "Image6" << QRect(48, 10, 67, 67);
    QTest::newRow("Label1") << "Label1" << QRect(8, 80, 157, 21);
    QTest::newRow("Frame1") << "Frame1" << QRect(4, 136, 181, 109);
    QTest::newRow("Frame3") << "Frame3" << QRect(4, 16, 173, 89);
    QTest::newRow("Label4") << "Label4" << QRect(40, 12, 109, 17);
    QTest::newRow("Label2") << "Label2" << QRect(12, 32, 153, 21);
    QTest::newRow("Label3") << "Label3" << QRect(12, 60, 153, 21);
    QTest::newRow("CmdOKApropos") << "CmdOKApropos" << QRect(4, 248, 181, 23);
    QTest::newRow("Frame4") << "Frame4" << QRect(188, 4, 269, 269);
    QTest::newRow("PBFond") << "PBFond" << QRect(8, 8, 254, 254);
    // The squares sit in PBFond's drawing area, inside its two-pixel border.
    QTest::newRow("PB1") << "PB1" << QRect(2 + 40, 2 + 44, 5, 5);
    QTest::newRow("PB2") << "PB2" << QRect(2 + 76, 2 + 28, 5, 5);
    QTest::newRow("PB3") << "PB3" << QRect(2 + 224, 2 + 40, 5, 5);
}

void FrmAProposTest::layoutInPixels()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    FrmAPropos &window = openAbout();
    QCOMPARE(window.size(), QSize(461, 276));
    auto *control = window.findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), geometry);
}

void FrmAProposTest::textsAndColours()
{
    FrmAPropos &window = openAbout();
    QCOMPARE(window.windowTitle(), QStringLiteral("A Propos de Kaleno"));
    QVERIFY(window.windowFlags().testFlag(Qt::Tool));
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(window.findChild<QGroupBox *>(QStringLiteral("Frame6"))->title(),
        QStringLiteral("Version du logiciel"));
    QCOMPARE(window.findChild<QGroupBox *>(QStringLiteral("Frame1"))->title(),
        QStringLiteral("Auteur et adresses"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
        QStringLiteral("Version 1.10 - Juin 2010"));
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("Label4"))
                ->text()
                .startsWith(QStringLiteral("Auteur : ")));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("CmdOKApropos"))->text(),
        QStringLiteral("OK"));

    QCOMPARE(fromQColor(window.palette().color(QPalette::Window)), Colour(0xEEF3F4));
    QCOMPARE(fromQColor(window.findChild<QLabel *>(QStringLiteral("Label1"))
                            ->palette()
                            .color(QPalette::Window)),
        Colour(0xE0E0E0));
    QCOMPARE(fromQColor(window.findChild<QLabel *>(QStringLiteral("Label4"))
                            ->palette()
                            .color(QPalette::Window)),
        Colour(0xEEF4F3));
    QVERIFY(!window.findChild<QLabel *>(QStringLiteral("Image6"))->pixmap().isNull());

    // The squares show their colours; the space picture starts at the top-left corner.
    QCOMPARE(canvasPixel(window, QPoint(41, 45)), QColor(255, 255, 0));
    QCOMPARE(canvasPixel(window, QPoint(77, 29)), QColor(255, 0, 0));
    QCOMPARE(canvasPixel(window, QPoint(225, 41)), QColor(0, 255, 0));
    auto *box = window.findChild<PictureBox *>(QStringLiteral("PBFond"));
    QCOMPARE(box->scaleWidth(), 3750.0);
    QCOMPARE(box->scaleHeight(), 3750.0);
}

void FrmAProposTest::opensCentredOnItsOwner()
{
    QWidget owner;
    owner.setGeometry(100, 150, 600, 400);
    owner.show();
    FrmAPropos &window = FrmAPropos::showShared(&owner);
    QVERIFY(
        (window.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength() <= 2);
}

void FrmAProposTest::picturesHaveNamesForScreenReaders()
{
    FrmAPropos &window = openAbout();
    for (const char *name :
        {"Image6", "PBFond", "PB1", "PB2", "PB3", "CmdOKApropos", "Label1", "Label4"}) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(
            window.findChild<QWidget *>(QLatin1String(name)));
        QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(), name);
    }
}

void FrmAProposTest::focusIsOnOkAndEscapeDoesNothing()
{
    FrmAPropos &window = openAbout();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.focusWidget(), window.findChild<QPushButton *>(QStringLiteral("CmdOKApropos")));
    QTest::keyClick(&window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(FrmAPropos::loadedShared(), &window);
    QVERIFY(window.isVisible());
}

void FrmAProposTest::enterAndSpaceClose_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void FrmAProposTest::enterAndSpaceClose()
{
    QFETCH(int, key);
    FrmAPropos &window = openAbout();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.focusWidget(), Qt::Key(key));
    QVERIFY(!FrmAPropos::loadedShared());
}

void FrmAProposTest::secondAboutCommandMakesNoSecondWindow()
{
    FrmAPropos &first = openAbout();
    tick(first, 3);
    const double angle = first.OrbitAngle1;
    FrmAPropos &second = openAbout();
    QCOMPARE(&second, &first);
    QCOMPARE(second.OrbitAngle1, angle); // not loaded again: the animation goes on
    QCOMPARE(QApplication::topLevelWidgets().count(&first), 1);
}

void FrmAProposTest::okUnloadsAndStopsTheTimer()
{
    FrmAPropos &window = openAbout();
    QPointer<QTimer> timer = window.findChild<QTimer *>(QStringLiteral("TmrAPropos"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 100);
    QPointer<FrmAPropos> guard(&window);
    QTest::mouseClick(
        window.findChild<QPushButton *>(QStringLiteral("CmdOKApropos")), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(!timer->isActive());
    QVERIFY(!FrmAPropos::loadedShared());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
}

void FrmAProposTest::closeBoxUnloadsAndStopsTheTimer()
{
    FrmAPropos &window = openAbout();
    QPointer<QTimer> timer = window.findChild<QTimer *>(QStringLiteral("TmrAPropos"));
    QPointer<FrmAPropos> guard(&window);
    QVERIFY(window.close());
    QVERIFY(timer.isNull() || !timer->isActive());
    QVERIFY(!FrmAPropos::loadedShared());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
}

void FrmAProposTest::reopeningStartsAgainFromTheDesign()
{
    FrmAPropos &first = openAbout();
    tick(first, 5);
    QVERIFY(first.OrbitAngle3 != 0.35);
    first.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    FrmAPropos &again = openAbout();
    QCOMPARE(again.OrbitAngle1, 0.5);
    QCOMPARE(again.OrbitAngle2, 0.2);
    QCOMPARE(again.OrbitAngle3, 0.35);
    QCOMPARE(again.findChild<QWidget *>(QStringLiteral("PB1"))->pos(), QPoint(42, 46));
    QVERIFY(again.findChild<QTimer *>(QStringLiteral("TmrAPropos"))->isActive());
    // A fresh picture: the first tick's yellow segment is not there any more.
    QVERIFY(canvasPixel(again, QPoint(222, 143)) != QColor(255, 255, 0));
}

void FrmAProposTest::tickDrawsTrailsThatSurviveARepaint()
{
    FrmAPropos &window = openAbout();
    const QColor before = canvasPixel(window, QPoint(222, 143));
    tick(window);
    QCOMPARE(window.OrbitAngle1, 0.5 - 0.2);
    QCOMPARE(window.OrbitAngle3, 0.6);

    // Orbit 1 drew from (3262, 2230) to (3393, 2058) twips: pixels (217, 148) to (226, 137).
    QVERIFY(before != QColor(255, 255, 0));
    bool yellowNearMiddle = false;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy)
            yellowNearMiddle
                |= canvasPixel(window, QPoint(222 + dx, 143 + dy)) == QColor(255, 255, 0);
    }
    QVERIFY(yellowNearMiddle);
    // The square moved to the segment's end, its new top-left corner.
    QCOMPARE(window.findChild<QWidget *>(QStringLiteral("PB1"))->pos(), QPoint(2 + 226, 2 + 137));

    auto *box = window.findChild<PictureBox *>(QStringLiteral("PBFond"));
    box->repaint();
    box->resize(box->size()); // nothing may clear the trails
    bool stillThere = false;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy)
            stillThere |= canvasPixel(window, QPoint(222 + dx, 143 + dy)) == QColor(255, 255, 0);
    }
    QVERIFY(stillThere);
}

void FrmAProposTest::tickHidesASquareOnItsHiddenArc()
{
    FrmAPropos &window = openAbout();
    auto *green = window.findChild<QWidget *>(QStringLiteral("PB3"));
    tick(window); // 0.6: on the bound, shown
    QVERIFY(green->isVisible());
    tick(window); // 0.85: hidden, yet moved
    QVERIFY(!green->isVisible());
    const QPoint hiddenAt = green->pos();
    tick(window, 5); // 2.1
    QVERIFY(!green->isVisible());
    QVERIFY(green->pos() != hiddenAt);
    tick(window); // 2.35: shown again
    QVERIFY(green->isVisible());
}

QTEST_MAIN(FrmAProposTest)
#include "frm_apropos_test.moc"
