#include "engine/catalogue.h"
#include "settings/settingsstore.h"
#include "support/designfont.h"
#include "support/messagelog.h"
#include "support/replacements.h"
#include "support/storesnapshot.h"
#include "ui/newunit/newunitdialog.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;
using namespace quantix::testing;

namespace {

class FailingStore : public UserUnitStore
{
public:
    using UserUnitStore::write;
    std::optional<FileFailure> write(const SettingWrites &) const override
    {
        return FileFailure{.fileName = settingsLocation(), .systemText = QStringLiteral("Input/output error")};
    }
};

}

class TestNewUnit : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;
    UserUnitStore m_store;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        m_messages.install();
    }

    void init()
    {
        QFile::remove(settingsLocation());
        m_messages.clear();
    }

    void loadingADamagedStore_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("failure");
        QTest::newRow("not a number") << "lots" << 0 << "Type mismatch";
        QTest::newRow("above ten") << "12" << 10 << "Subscript out of range";
        QTest::newRow("negative") << "-3" << 0 << "";
        QTest::newRow("two") << " 2 " << 2 << "";
    }

    // The failure shows before the dialog opens with the rows loaded so far;
    // a missing name or factor shows as "Unknown".
    void loadingADamagedStore()
    {
        QFETCH(QString, count);
        QFETCH(int, rows);
        QFETCH(QString, failure);
        for (int n = 1; n <= 11; ++n) {
            m_store.write(UserUnitStore::nameKey("Force", n), QStringLiteral("f%1").arg(n));
            m_store.write(UserUnitStore::factorKey("Force", n), QString::number(n));
        }
        m_store.write("Forcefactor2", "text");
        QSettings(settingsLocation(), QSettings::IniFormat).remove("userunits/Force1");
        m_store.write("Forcenumber", count);
        NewUnitDialog dialog(12, m_store);
        QCOMPARE(m_messages.size(), failure.isEmpty() ? 0 : 1);
        if (!failure.isEmpty())
            QCOMPARE(m_messages[0], MessageSpec{failure});
        for (int row = 0; row < 10; ++row) {
            QCOMPARE(dialog.nameBox(row)->text(), row >= rows ? "" : row == 0 ? "Unknown" : QStringLiteral("f%1").arg(row + 1));
            QCOMPARE(dialog.factorBox(row)->text(), row >= rows ? "" : row == 1 ? "text" : QString::number(row + 1));
        }
    }

    void dialogShowsTheQuantity()
    {
        NewUnitDialog dialog(0, m_store);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("New Unit Configuration"));
        QCOMPARE(dialog.findChild<QLabel *>("lblExample")->text(),
                 QStringLiteral("Example : One Widget equals 2 metre per second squared (m/s²)"));
        QCOMPARE(dialog.findChild<QGroupBox *>("Frame1")->title(),
                 QStringLiteral("Enter the MULTIPLICATION factor for up to 10 new units for Acceleration"));
        QCOMPARE(dialog.findChild<QLabel *>("Label1_1")->text(), QStringLiteral("One"));
        QCOMPARE(dialog.findChild<QLabel *>("Label1_11")->text(), QStringLiteral("equals"));
        QCOMPARE(dialog.findChild<QLabel *>("lblUnit_9")->text(), QStringLiteral("metre per second squared (m/s²)"));
        QCOMPARE(dialog.findChild<QPushButton *>("cmdOk")->text(), QStringLiteral("&OK"));
    }

    // Every base unit's name shows on one line beside every row, inside the
    // frame and the dialog; at the design's font, a name that fits keeps the
    // design's size, and the boxes theirs.
    void baseUnitNameFitsOnOneLine()
    {
        const DesignFont designFont;
        for (int q = 0; q < Catalogue::quantityCount; ++q) {
            NewUnitDialog dialog(q, m_store);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            const QString name = Catalogue::instance().at(q).baseUnitName;
            const auto *frame = dialog.findChild<QGroupBox *>("Frame1");
            for (int r = 0; r < 10; ++r) {
                const auto *label = dialog.findChild<QLabel *>(QStringLiteral("lblUnit_%1").arg(r));
                QVERIFY2(label->contentsRect().width() >= label->fontMetrics().horizontalAdvance(name), qPrintable(name));
                QVERIFY2(frame->contentsRect().contains(QRect(label->mapTo(frame, QPoint(0, 0)), label->size())), qPrintable(name));
            }
            QVERIFY(dialog.rect().contains(frame->geometry()));
            for (const char *button : {"cmdOk", "cmdCancel"})
                QVERIFY(dialog.rect().contains(dialog.findChild<QPushButton *>(button)->geometry()));
            if (name == QStringLiteral("metre (m)")) {
                QCOMPARE(dialog.size(), QSize(515, 369));
                const QLineEdit *box = dialog.findChild<QLineEdit *>("txtNewUnitName_0");
                QCOMPARE(box->mapTo(frame, QPoint(0, 0)), QPoint(40, 56));
                QCOMPARE(box->width(), 129);
            }
        }
    }

    // State: rows 0, 1 and 3 typed. Action: OK, then fill row 2 and OK.
    // Expected: message 19 with the focus on row 3's name and nothing
    // written; then the units are saved and the dialog closes.
    void refusedOkKeepsTheRowsAndWritesNothing()
    {
        NewUnitDialog dialog(15, m_store);
        dialog.show();
        const QStringList typed{"span=0.2286", "cubit=0.4572", "", "pace=0.762"};
        for (int row = 0; row < typed.size(); ++row) {
            QTest::keyClicks(dialog.nameBox(row), typed[row].section('=', 0, 0));
            QTest::keyClicks(dialog.factorBox(row), typed[row].section('=', 1));
        }
        const Store before = storeContents();
        const NewUnitRows rows = dialog.rows();
        QTest::mouseClick(dialog.findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        QCOMPARE(m_messages, (QList<MessageSpec>{{"Your units must be entered consecutively!."}}));
        QCOMPARE(dialog.focusWidget(), dialog.nameBox(3));
        QVERIFY(dialog.isVisible());
        QCOMPARE(storeContents(), before);
        QVERIFY(dialog.rows() == rows);

        dialog.factorBox(1)->setText("x");
        dialog.nameBox(2)->setText("yard");
        QTest::mouseClick(dialog.findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        QCOMPARE(m_messages.last(), (MessageSpec{"You have entered in a conversion factor that is not a number! Please re-enter it.",
                                                 QMessageBox::Warning}));
        QCOMPARE(dialog.focusWidget(), dialog.factorBox(1));

        dialog.factorBox(1)->setText("0.4572");
        dialog.factorBox(2)->setText("0.9144");
        QTest::mouseClick(dialog.findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_store.read("Lengthnumber", ""), QStringLiteral("4"));
        QCOMPARE(m_store.read("Length3", ""), QStringLiteral("yard"));
        QCOMPARE(m_store.read("Lengthfactor4", ""), QStringLiteral("0.762"));
        QCOMPARE(m_store.read("Length5", "absent"), QString());
        QCOMPARE(storeContents().keys().filter("used"), QStringList());
    }

    // State: Length, a unit named like a built-in one. Action: OK. Expected:
    // the message names it, the focus is on it, nothing is written.
    void repeatedNameIsRefused()
    {
        NewUnitDialog dialog(15, m_store);
        dialog.show();
        dialog.nameBox(0)->setText("span");
        dialog.factorBox(0)->setText("0.2286");
        dialog.nameBox(1)->setText(" Foot (ft)");
        dialog.factorBox(1)->setText("0.3");
        const Store before = storeContents();
        QTest::mouseClick(dialog.findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        QCOMPARE(m_messages, (QList<MessageSpec>{{"The name \"Foot (ft)\" is already taken by a unit of Length. Please enter a different name.",
                                                  QMessageBox::Warning}}));
        QCOMPARE(dialog.focusWidget(), dialog.nameBox(1));
        QVERIFY(dialog.isVisible());
        QCOMPARE(storeContents(), before);
    }

    void cancelWritesNothing()
    {
        m_store.write("Lengthnumber", "1");
        m_store.write("Length1", "span");
        const Store before = storeContents();
        NewUnitDialog dialog(15, m_store);
        dialog.show();
        dialog.nameBox(0)->clear();
        QTest::mouseClick(dialog.findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(storeContents(), before);
    }

    // The name boxes take 60 characters; a longer stored name loads as its
    // first 60, and the store keeps it until OK writes the boxes.
    void namesTakeSixtyCharacters()
    {
        const QString stored = QString(70, u'n');
        m_store.write("Lengthnumber", "1");
        m_store.write("Length1", stored);
        m_store.write("Lengthfactor1", "2");
        NewUnitDialog dialog(15, m_store);
        dialog.show();
        QCOMPARE(dialog.nameBox(0)->text(), QString(60, u'n'));
        QTest::keyClicks(dialog.nameBox(1), QString(70, u'm'));
        QCOMPARE(dialog.nameBox(1)->text(), QString(60, u'm'));
        QCOMPARE(m_store.read("Length1", ""), stored);
    }

    // State: the dialog open on Length; meanwhile another copy of the program
    // stores other units of Length. Action: OK with the rows as loaded, then
    // OK twice in a new dialog after a change. Expected: the other copy's
    // units stay; a changed list is held back once with a message saying so,
    // then replaces them whole. Each OK that stores is one replacement.
    void unitsAreOneList()
    {
        m_store.write("Lengthnumber", "1");
        m_store.write("Length1", "span");
        m_store.write("Lengthfactor1", "0.2286");
        NewUnitDialog dialog(15, m_store);
        dialog.show();
        QVERIFY(!applySettings({{section::userunits, "Lengthnumber", "2"}, {section::userunits, "Length1", "pace"},
                                {section::userunits, "Lengthfactor1", "0.762"}, {section::userunits, "Length2", "cubit"},
                                {section::userunits, "Lengthfactor2", "0.4572"}}));
        ReplacementCounter replacements(settingsLocation());
        QTest::mouseClick(dialog.findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        QCOMPARE(replacements.count(), 1);
        QCOMPARE(m_store.read("Lengthnumber", ""), QStringLiteral("2"));
        QCOMPARE(m_store.read("Length1", ""), QStringLiteral("pace"));
        QCOMPARE(m_store.read("Lengthfactor2", ""), QStringLiteral("0.4572"));

        NewUnitDialog changed(15, m_store);
        changed.show();
        changed.factorBox(0)->setText("0.75");
        QVERIFY(!applySettings({{section::userunits, "Length1", "yard"}}));
        QTest::mouseClick(changed.findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        QCOMPARE(replacements.count(), 2);
        QCOMPARE(m_messages, (QList<MessageSpec>{{"Another copy of the program has changed the units of Length since this window opened. "
                                                  "Press OK in it again to put the units shown here in their place, or Cancel to keep the ones stored.",
                                                  QMessageBox::Warning}}));
        QVERIFY(changed.isVisible());
        QCOMPARE(m_store.read("Length1", ""), QStringLiteral("yard"));
        QTest::mouseClick(changed.findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        QCOMPARE(replacements.count(), 3);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_store.read("Length1", ""), QStringLiteral("pace"));
        QCOMPARE(m_store.read("Lengthfactor1", ""), QStringLiteral("0.75"));
        QCOMPARE(m_store.read("Length2", ""), QStringLiteral("cubit"));
    }

    // A store that cannot be written is reported and keeps what was typed.
    void failedWriteKeepsTheDialogOpen()
    {
        FailingStore failing;
        NewUnitDialog dialog(15, failing);
        dialog.show();
        dialog.nameBox(0)->setText("span");
        dialog.factorBox(0)->setText("0.2286");
        QTest::mouseClick(dialog.findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        QCOMPARE(m_messages, (QList<MessageSpec>{{"Error #  75 occurred. Path/File access error\n\nThe settings could not be stored in \""
                                                      + settingsLocation() + "\": Input/output error.",
                                                  QMessageBox::Warning}}));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.nameBox(0)->text(), QStringLiteral("span"));
    }
};

QTEST_MAIN(TestNewUnit)
#include "tst_newunit.moc"
