#include "message_box.h"
#include "picture_box.h"
#include "placement.h"
#include "program_end.h"
#include "shared_window.h"

#include <QMessageBox>
#include <QtTest>

using namespace kaleno;

namespace {

// A window loaded and unloaded as the program's windows are: the close box unloads it.
class LoadedWindow : public QWidget
{
public:
    explicit LoadedWindow(QWidget *owner) : QWidget(owner) { setAttribute(Qt::WA_DeleteOnClose); }
    WindowLoad<LoadedWindow> load {this};

protected:
    void closeEvent(QCloseEvent *) override { load.unload(); }
};

} // namespace

class UiServicesTest : public QObject
{
    Q_OBJECT

    QStringList m_shown; // message boxes and the program's ends

private slots:
    void init()
    {
        m_shown.clear();
        setMessageBoxHandler(
            [this](QWidget *, const QString &prompt, MessageBoxStyle style, const QString &) {
                m_shown << QString::number(int(style)) + ": " + prompt;
            });
        setProgramEndHandler(
            [this](int status) { m_shown << QStringLiteral("end %1").arg(status); });
    }

    void untrappedErrorShowsItsNumberAndDescriptionThenEndsTheProgram()
    {
        runUntrapped([] {}); // a handler that runs through raises nothing and ends nothing
        runUntrapped([] { throw RuntimeError(ErrorNumber::Overflow); });
        runUntrapped([] { throw RuntimeError(ErrorNumber::SubscriptOutOfRange); });
        QCOMPARE(m_shown,
            QStringList({"16: Erreur d'exécution '6' :\n\nDépassement de capacité", "end 1",
                "16: Erreur d'exécution '9' :\n\nL'indice n'appartient pas à la plage", "end 1"}));
    }

    void sharedWindowLoadsOnceAndEachLoadUnloadsOnce()
    {
        auto &shared = SharedWindow<LoadedWindow>::instance();
        LoadedWindow &first = shared.show(nullptr);
        QCOMPARE(&shared.show(nullptr), &first);
        first.close(); // the last loaded window unloads: the program ends
        QVERIFY(!shared.loaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // and unloads no more
        shared.show(nullptr).deleteLater(); // destroyed while loaded: it unloads then
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_shown, QStringList({"end 0", "end 0"}));
    }

    void windowCentredOnItsOwnerStaysOnTheScreen()
    {
        const QRect screen(0, 30, 1024, 738); // below a panel 30 pixels high
        const QSize about(461, 300);
        // The owner, the window's frame, where the frame goes.
        for (const auto &[owner, frame, placed] :
            {std::tuple(QRect(0, 100, 438, 380), about, QPoint(0, 139)), // centred: x = -12
                std::tuple(QRect(800, 600, 438, 380), about, QPoint(563, 468)),
                std::tuple(QRect(300, 0, 438, 100), about, QPoint(288, 30)),
                std::tuple(QRect(200, 200, 438, 380), QSize(1200, 900), QPoint(0, 30))})
            QCOMPARE(centredInside(owner, frame, screen), placed);
    }

    // Every device pixel of the sunken edge painted, opaque, as a widget that paints itself
    // whole must: over any two backgrounds it looks the same. Again at scales 1.5 and 2.
    void pictureBoxPaintsItsWholeSunkenEdge()
    {
        PictureBox box;
        box.resize(12, 12);
        box.setSunkenBorder(true);
        QPalette scheme = box.palette();
        scheme.setColor(QPalette::Shadow, QColor(0, 0, 0, 25)); // Adwaita's, nearly clear
        box.setPalette(scheme);
        QList<QImage> looks;
        for (const QColor under : {QColor(Qt::magenta), QColor(Qt::green)}) {
            QImage look(box.size() * box.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
            look.setDevicePixelRatio(box.devicePixelRatio());
            look.fill(under);
            box.render(&look);
            looks << look;
        }
        QCOMPARE(looks[0], looks[1]);
    }

    void criticalStyleShowsTheCriticalIconAndOnlyOk()
    {
        setMessageBoxHandler(
            {}); // the real dialog: look for it until its loop runs, read it, close it
        QTimer inspect;
        connect(&inspect, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                const bool okAlone = box->buttons() == QList {box->button(QMessageBox::Ok)};
                m_shown << box->windowTitle() << box->text()
                        << (box->icon() == QMessageBox::Critical ? "critical" : "another icon")
                        << (okAlone ? "OK alone" : "other buttons");
                box->done(0);
            }
        });
        inspect.start(0);
        messageBox(
            nullptr, QStringLiteral("texte"), MessageBoxStyle::Critical, QStringLiteral("titre"));
        QCOMPARE(m_shown, QStringList({"titre", "texte", "critical", "OK alone"}));
    }
};

QTEST_MAIN(UiServicesTest)
#include "ui_services_test.moc"

#include <tuple>
