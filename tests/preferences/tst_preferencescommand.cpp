#include "settings/settingsstore.h"
#include "settings/userunitstore.h"
#include "support/mainwindowdriver.h"
#include "support/messagelog.h"
#include "ui/common/clickablelabel.h"
#include "ui/preferences/preferencesdialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quantix;
using namespace quantix::testing;

// The main window's Preferences command and what the dialog changes there.
class TestPreferencesCommand : public QObject, public MainWindowDriver
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;

    // Opens the preferences with `command` and lets `use` work the dialog,
    // which it must close.
    void withPreferences(const std::function<void()> &command, const std::function<void(PreferencesDialog &)> &use)
    {
        bool answered = false;
        QTimer::singleShot(30, this, [&] {
            auto *dialog = qobject_cast<PreferencesDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            answered = true;
            use(*dialog);
            if (dialog->isVisible())  // a failed check left it open
                dialog->reject();
        });
        command();
        QVERIFY(answered);
        QVERIFY(!QApplication::activeModalWidget());
    }
    // The Quantities tab, once the dialog has shown the tab it opens on.
    static void showQuantities(PreferencesDialog &dialog)
    {
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.findChild<QTabWidget *>("tabstrip")->setCurrentIndex(1);
    }
    // On its mark: a check box takes clicks on its mark and text only.
    static void clickBox(QCheckBox *box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
    }
    static void press(PreferencesDialog &dialog, const char *button)
    {
        QTest::mouseClick(dialog.findChild<QAbstractButton *>(QLatin1String(button)), Qt::LeftButton);
    }

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
        open();
    }

    void cleanup() { m_window.reset(); }

    void threeWaysToThePreferences_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("File menu") << 0;
        QTest::newRow("pop-up default item") << 1;
        QTest::newRow("panel 3 double-click") << 2;
    }

    void threeWaysToThePreferences()
    {
        QFETCH(int, way);
        QCOMPARE(child<QMenu>("mnuview2")->defaultAction(), child<QAction>("mnufilesetopt"));
        const auto command = [&] {
            if (way == 0)
                child<QAction>("mnufilesetopt")->trigger();
            else if (way == 1)
                chooseFromPopup("mnufilesetopt");
            else
                QTest::mouseDClick(m_window->statusPanel(3), Qt::LeftButton);
        };
        withPreferences(command, [this](PreferencesDialog &dialog) {
            QCOMPARE(dialog.parentWidget(), m_window.get());
            press(dialog, "cmdCancel");
        });
    }

    // State: Always on Top on. Expected: the main window leaves the top
    // while the dialog is open and is topmost again after it.
    void alwaysOnTopMakesRoomForTheDialog()
    {
        child<QAction>("mnualwaystoponoff_0")->trigger();
        QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        withPreferences([this] { m_window->showPreferences(); }, [this](PreferencesDialog &dialog) {
            QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            press(dialog, "cmdOk");
        });
        QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(m_window->isVisible());
        QVERIFY(child<QAction>("mnualwaystoponoff_0")->isChecked() && !child<QAction>("mnualwaystoponoff_1")->isChecked());
    }

    // OK without a net change of the quantities keeps the conversion and
    // shows it in the new style: a box that merely took the focus, or "Angle"
    // clicked twice. A real change empties the lists.
    void okReconvertsOrRebuilds()
    {
        choose("cboquantity", "Length");
        convert("metre (m)", "foot (ft)", "1");
        QCOMPARE(result(), QStringLiteral("3.281"));
        withPreferences([this] { m_window->showPreferences(); }, [](PreferencesDialog &dialog) {
            dialog.findChild<QSlider *>("Slider1")->setValue(5);
            press(dialog, "cmdOk");
        });
        QCOMPARE(result(), QStringLiteral("3.28084"));
        QCOMPARE(m_window->statusPanel(3)->text(), QStringLiteral("Decimals: 5"));
        QCOMPARE(child<QComboBox>("cboquantity")->currentText(), QStringLiteral("Length"));

        for (const int clicks : {0, 2}) {
            withPreferences([this] { m_window->showPreferences(); }, [clicks](PreferencesDialog &dialog) {
                showQuantities(dialog);
                dialog.quantityBox(0)->setFocus(Qt::TabFocusReason);
                for (int i = 0; i < clicks; ++i) {
                    clickBox(dialog.quantityBox(1));
                    QCOMPARE(dialog.quantityBox(1)->isChecked(), i % 2 == 1);
                }
                press(dialog, "cmdOk");
            });
            QCOMPARE(child<QComboBox>("cboquantity")->currentText(), QStringLiteral("Length"));
            QCOMPARE(child<QComboBox>("cbounit2")->currentText(), QStringLiteral("foot (ft)"));
            QCOMPARE(result(), QStringLiteral("3.28084"));
        }

        withPreferences([this] { m_window->showPreferences(); }, [](PreferencesDialog &dialog) {
            showQuantities(dialog);
            clickBox(dialog.quantityBox(1));
            QVERIFY(!dialog.quantityBox(1)->isChecked());
            press(dialog, "cmdOk");
        });
        QCOMPARE(child<QComboBox>("cboquantity")->count(), 32);
        QCOMPARE(child<QComboBox>("cboquantity")->currentIndex(), -1);
        QCOMPARE(child<QComboBox>("cbounit1")->count() + child<QComboBox>("cbounit2")->count(), 0);
        QVERIFY(child<QLineEdit>("txtunit1")->text().isEmpty() && result().isEmpty());

        withPreferences([this] { m_window->showPreferences(); }, [](PreferencesDialog &dialog) {
            press(dialog, "cmddeselectall");
            press(dialog, "cmdOk");
        });
        QCOMPARE(child<QComboBox>("cboquantity")->count(), 0);
    }

    // State: two units of the user's own added to Length through the
    // preferences. Expected: both offered at the next choice of Length and
    // converting to, from and between each other.
    void userUnitsConvert()
    {
        withPreferences([this] { m_window->showPreferences(); }, [](PreferencesDialog &dialog) {
            auto *quantities = dialog.findChild<QListWidget *>("lstQuantity");
            quantities->setCurrentRow(15);
            QTimer::singleShot(0, &dialog, [] {
                QWidget *newUnit = QApplication::activeModalWidget();
                QVERIFY(newUnit);
                newUnit->findChild<QLineEdit *>("txtNewUnitName_0")->setText("league");
                newUnit->findChild<QLineEdit *>("txtConvFactor_0")->setText("4828.032");
                newUnit->findChild<QLineEdit *>("txtNewUnitName_1")->setText("span");
                newUnit->findChild<QLineEdit *>("txtConvFactor_1")->setText(" 0.2286 ");
                QTest::mouseClick(newUnit->findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
            });
            press(dialog, "cmdNewUnit");
            press(dialog, "cmdOk");
        });
        choose("cboquantity", "Length");
        QCOMPARE(child<QComboBox>("cbounit1")->count(), 32);
        convert("league", "metre (m)", "1");
        QCOMPARE(result(), QStringLiteral("4828.032"));
        convert("metre (m)", "league", "9656.064");
        QCOMPARE(result(), QStringLiteral("2.000"));
        convert("league", "span", "1");
        QCOMPARE(result(), QStringLiteral("21120.000"));
        QVERIFY(m_messages.isEmpty());
    }

    // A hand-edited store never stops the dialog or the conversion.
    void damagedStore()
    {
        UserUnitStore store;
        store.write("Massnumber", "3");
        store.write("Mass1", "heap");
        store.write("Massfactor1", "lots");
        store.write("Massused1", "1");
        store.write("Massused3", "1");
        WriteSetting(section::settings, "Tab", "99");
        WriteSetting(section::settings, "QuantityListIndex", "-5");
        choose("cboquantity", "Mass");
        convert("heap", "gram (g)", "1");
        QCOMPARE(result(), QString());
        withPreferences([this] { m_window->showPreferences(); }, [](PreferencesDialog &dialog) {
            dialog.findChild<QListWidget *>("lstQuantity")->setCurrentRow(21);
            QTimer::singleShot(0, &dialog, [] { QApplication::activeModalWidget()->close(); });
            press(dialog, "cmdNewUnit");
            press(dialog, "cmdOk");
        });
        QVERIFY(m_messages.isEmpty());
    }
};

QTEST_MAIN(TestPreferencesCommand)
#include "tst_preferencescommand.moc"
