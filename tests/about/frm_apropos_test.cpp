#include "frame.h"
#include "frm_apropos.h"
#include "picture_box.h"
#include "ui_style.h"

#include <QtTest>

using namespace kaleno;

class FrmAProposTest : public QObject
{
    Q_OBJECT

    QWidget *control(const char *name) const { return m_window->findChild<QWidget *>(name); }
    void tick(int times) const // timer events, run directly so that no real time passes
    {
        while (times-- > 0)
            QVERIFY(QMetaObject::invokeMethod(m_window, "TmrAPropos_Timer"));
    }
    // Whether `colour` shows within a pixel of `at`, a pixel of PBFond's drawing area.
    bool drawnNear(QPoint at, QRgb colour) const
    {
        const QImage shot = control("PBFond")->grab().toImage();
        for (int i = 0; i < 9; ++i) // the border is 2 pixels wide
            if (shot.pixel(at + QPoint(1 + i % 3, 1 + i / 3)) == colour)
                return true;
        return false;
    }

    QPointer<FrmAPropos> m_window;

private slots:
    void init() { m_window = &FrmAPropos::showShared(nullptr); }

    void cleanup()
    {
        if (FrmAPropos *window = FrmAPropos::loadedShared())
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void squaresShowTheirColoursOverADrawingAreaOf3750Twips()
    {
        // The squares at their design places, yellow, red and green.
        QVERIFY(drawnNear(QPoint(41, 45), qRgb(255, 255, 0)));
        QVERIFY(drawnNear(QPoint(77, 29), qRgb(255, 0, 0)));
        QVERIFY(drawnNear(QPoint(225, 41), qRgb(0, 255, 0)));
        // The orbits take half of the drawing area: 1875 each way.
        const auto *box = static_cast<PictureBox *>(control("PBFond"));
        QCOMPARE(QSizeF(box->scaleWidth(), box->scaleHeight()), QSizeF(3750, 3750));
    }

    void framesWriteTheirCaptionInTheTopEdgeOverTheirOwnColour()
    {
        const QRgb desktop = systemColour(SystemColour::Desktop).rgb(), panel = qRgb(244, 243, 238);
        for (const auto &[name, inside] : {std::pair("Frame6", desktop), std::pair("Frame2", panel),
                 std::pair("Frame4", desktop)}) {
            Frame *frame = m_window->findChild<Frame *>(name);
            const QImage look = frame->grab().toImage();
            QCOMPARE(look.pixel(3, look.height() / 2), inside);
            int top = 0; // the outline's top row, seen on the right, clear of the caption
            while (look.pixel(look.width() - 4, top) == inside)
                ++top;
            // The caption's ink, on the stretch where the outline gives way to it.
            int inkTop = look.height(), inkBottom = -1;
            for (int y = 0; y < frame->fontMetrics().height(); ++y)
                for (int x = 8; x < 8 + frame->fontMetrics().horizontalAdvance(frame->caption());
                     ++x)
                    if (look.pixel(x, y) != inside) {
                        inkTop = std::min(inkTop, y);
                        inkBottom = y;
                    }
            if (frame->caption().isEmpty())
                QCOMPARE(top, 0);
            else // through the caption's middle, to a pixel
                QVERIFY(std::abs(2 * top - inkTop - inkBottom) <= 2);
        }
    }

    void closingByOkReturnOrCloseBoxUnloadsAndReopeningStartsFromTheDesign()
    {
        // Closed by a click on "OK", by Return (OK has the focus), then by the close box.
        for (int way = 0; way < 3; ++way) {
            tick(5);
            QPointer<QTimer> timer = m_window->findChild<QTimer *>(QStringLiteral("TmrAPropos"));
            QVERIFY(timer->isActive() && timer->interval() == 100);
            QVERIFY(QTest::qWaitForWindowActive(m_window));
            if (way == 0)
                QTest::mouseClick(control("CmdOKApropos"), Qt::LeftButton);
            else if (way == 1)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            else
                m_window->close();
            QVERIFY(!m_window->isVisible() && !timer->isActive() && !FrmAPropos::loadedShared());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(m_window.isNull());

            init();
            QCOMPARE(m_window->OrbitAngle1, 0.5);
            QCOMPARE(m_window->OrbitAngle2, 0.2);
            QCOMPARE(m_window->OrbitAngle3, 0.35);
            QCOMPARE(control("PB1")->pos(), QPoint(42, 46));
            QVERIFY(m_window->findChild<QTimer *>(QStringLiteral("TmrAPropos"))->isActive());
            QVERIFY(!drawnNear(QPoint(222, 143), qRgb(255, 255, 0))); // a fresh picture
        }
    }

    void tickDrawsEachTrailInItsColourAndNothingWhileHidden_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QPoint>("middle"); // of the tick's segment, in the drawing area's pixels
        QTest::addColumn<QPoint>("corner"); // where the square goes, in PBFond's pixels
        QTest::addColumn<QRgb>("colour");
        // The first tick's segments, in twips: (3262, 2230)-(3393, 2058), (3212, 743)-(3034, 527),
        // (1459, 3366)-(1251, 3174); on the second, orbit 3 is hidden: (1251, 3174)-(1076, 2894).
        QTest::newRow("PB1") << 1 << QPoint(222, 143) << QPoint(228, 139) << qRgb(255, 255, 0);
        QTest::newRow("PB2") << 1 << QPoint(208, 42) << QPoint(204, 37) << qRgb(255, 0, 0);
        QTest::newRow("PB3") << 1 << QPoint(90, 218) << QPoint(85, 214) << qRgb(0, 255, 0);
        QTest::newRow("PB3 hidden") << 2 << QPoint(78, 202) << QPoint(74, 195) << qRgb(0, 255, 0);
    }

    void tickDrawsEachTrailInItsColourAndNothingWhileHidden()
    {
        QFETCH(int, ticks);
        QFETCH(QPoint, middle);
        QFETCH(QPoint, corner);
        QFETCH(QRgb, colour);
        const bool shown = !QByteArray(QTest::currentDataTag()).endsWith("hidden");
        QWidget *square = control(QByteArray(QTest::currentDataTag()).left(3));
        QVERIFY(!drawnNear(middle, colour));
        tick(ticks);
        QCOMPARE(drawnNear(middle, colour), shown);
        QCOMPARE(square->isVisible(), shown);
        QCOMPARE(square->pos(), corner);
    }
};

QTEST_MAIN(FrmAProposTest)
#include "frm_apropos_test.moc"

#include <algorithm>
#include <utility>
