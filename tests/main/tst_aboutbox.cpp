#include "ui/about/aboutbox.h"

#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QExposeEvent>
#include <QWindow>

using namespace quantix;

namespace {

// A window manager that maps the splash late: the first exposure of its
// window arrives 50 ms after the window system reported it. Records which
// widgets were painted.
class LateWindowManager : public QObject
{
public:
    QSet<QObject *> painted;
    bool delayed = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && watched->isWindowType() && !delayed) {
            delayed = true;
            auto *window = static_cast<QWindow *>(watched);
            QTimer::singleShot(50, window, [window] {
                QExposeEvent late(QRect(QPoint(), window->size()));
                QCoreApplication::sendEvent(window, &late);
            });
            return true;
        }
        if (event->type() == QEvent::Paint)
            painted.insert(watched);
        return false;
    }
};

}

class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    void splashHasNoButton()
    {
        AboutBox box;
        box.ShowAbout(1);
        QVERIFY(box.isVisible());
        QVERIFY(!box.isModal());
        QCOMPARE(box.windowTitle(), QStringLiteral("Quantix 96"));
        QVERIFY(!box.findChild<QPushButton *>("cmdOK")->isVisible());
        QCOMPARE(box.findChild<QLabel *>("lblTitle")->text(), QStringLiteral("Quantix 96 for Linux\nBuild 4.1.6"));
        QVERIFY(box.findChild<QLabel *>("lblCopyright")->text().contains("Quantix 96"));
        QVERIFY(!box.findChild<QLabel *>("Image1")->pixmap().isNull());
    }

    // The main window loads right after ShowAbout(1) returns, without
    // processing events: by then the splash's content must be painted.
    void splashIsPaintedBeforeItReturns()
    {
        LateWindowManager windowManager;
        qApp->installEventFilter(&windowManager);
        AboutBox box;
        box.ShowAbout(1);
        qApp->removeEventFilter(&windowManager);
        QVERIFY(windowManager.delayed);
        for (const char *name : {"lblTitle", "lblCopyright", "Image1"})
            QVERIFY2(windowManager.painted.contains(box.findChild<QLabel *>(name)), name);
    }

    // Every Typ but 1 gives the modal about box, which its OK button closes.
    void aboutModeIsModal_data()
    {
        QTest::addColumn<int>("typ");
        QTest::newRow("0") << 0;
        QTest::newRow("2") << 2;
    }

    void aboutModeIsModal()
    {
        QFETCH(int, typ);
        AboutBox box;
        bool sawModal = false;
        bool clearOfTheEdge = false;
        QTimer::singleShot(0, &box, [&] {
            sawModal = box.isModal() && box.isVisible() && box.windowTitle() == QStringLiteral("About Quantix 96");
            auto *ok = box.findChild<QPushButton *>("cmdOK");
            sawModal = sawModal && ok->isVisible() && ok->text() == QStringLiteral("&OK");
            // the button keeps off the box's edge by the margin above the title
            clearOfTheEdge = box.height() - 1 - ok->geometry().bottom() >= box.findChild<QLabel *>("lblTitle")->y();
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        box.ShowAbout(typ);
        QVERIFY(sawModal);
        QVERIFY(clearOfTheEdge);
        QVERIFY(!box.isVisible());
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
