#include "aboutbox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quantix;

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
        QCOMPARE(box.findChild<QLabel *>("lblTitle")->text(), QStringLiteral("Quantix 96 for Windows 95\nBuild 4.1.6"));
        QVERIFY(box.findChild<QLabel *>("lblCopyright")->text().contains("Quantix 96"));
        QVERIFY(!box.findChild<QLabel *>("Image1")->pixmap().isNull());
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
        QTimer::singleShot(0, &box, [&] {
            sawModal = box.isModal() && box.isVisible() && box.windowTitle() == QStringLiteral("About Quantix 96");
            auto *ok = box.findChild<QPushButton *>("cmdOK");
            sawModal = sawModal && ok->isVisible() && ok->text() == QStringLiteral("&OK");
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        box.ShowAbout(typ);
        QVERIFY(sawModal);
        QVERIFY(!box.isVisible());
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
