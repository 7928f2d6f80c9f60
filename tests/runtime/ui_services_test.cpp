#include "message_box.h"
#include "program_end.h"
#include "shared_window.h"
#include "twips.h"

#include <QtTest>

using namespace kaleno;

namespace {

// A window that counts how often it was loaded, and unloads like the program's windows.
class CountedWindow : public QWidget
{
public:
    explicit CountedWindow(QWidget *owner) : QWidget(owner)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        ++loads;
    }
    static inline int loads = 0;
    WindowLoad<CountedWindow> load {this};

protected:
    void closeEvent(QCloseEvent *event) override
    {
        load.unload();
        QWidget::closeEvent(event);
    }
};

} // namespace

class UiServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void twipsRoundToTheNearestPixel();
    void untrappedErrorShowsItsNumberAndEndsTheProgram();
    void sharedWindowLoadsOnceUntilUnloaded();
};

void UiServicesTest::twipsRoundToTheNearestPixel()
{
    QCOMPARE(twipsToPixels(15), 1);
    QCOMPARE(twipsToPixels(1005), 67);
    QCOMPARE(twipsToPixels(80), 5); // 5.33
    QCOMPARE(twipsToPixels(350), 23); // 23.33
    QCOMPARE(twipsToPixels(7), 0);
    QCOMPARE(twipsToPixels(8), 1);
    QCOMPARE(twipsRect(120, 360, 375, 405), QRect(8, 24, 25, 27));
}

void UiServicesTest::untrappedErrorShowsItsNumberAndEndsTheProgram()
{
    QStringList shown;
    int endedWith = -1;
    setMessageBoxHandler(
        [&](QWidget *, const QString &prompt, MessageBoxStyle style, const QString &title) {
            shown << prompt << QString::number(int(style)) << title;
        });
    setProgramEndHandler([&](int status) { endedWith = status; });

    bool after = false;
    runUntrapped([&] {
        throw RuntimeError(ErrorNumber::Overflow);
        after = true; // never reached
    });
    QVERIFY(!after);
    QCOMPARE(shown.size(), 3);
    QVERIFY(shown[0].contains(QStringLiteral("'6'")));
    QVERIFY(shown[0].contains(QStringLiteral("Dépassement de capacité")));
    QCOMPARE(shown[1], QStringLiteral("16"));
    QCOMPARE(endedWith, 1);

    // A handler that runs through raises nothing and ends nothing.
    endedWith = -1;
    runUntrapped([] {});
    QCOMPARE(endedWith, -1);

    setMessageBoxHandler({});
    setProgramEndHandler({});
}

void UiServicesTest::sharedWindowLoadsOnceUntilUnloaded()
{
    auto &shared = SharedWindow<CountedWindow>::instance();
    QVERIFY(!shared.loaded());
    CountedWindow &first = shared.show(nullptr);
    QCOMPARE(&shared.show(nullptr), &first);
    QCOMPARE(CountedWindow::loads, 1);

    first.close();
    QVERIFY(!shared.loaded()); // at once, before the deletion runs
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CountedWindow &second = shared.show(nullptr);
    QCOMPARE(CountedWindow::loads, 2);
    second.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(UiServicesTest)
#include "ui_services_test.moc"
