#include "engine/stringtable.h"
#include "rules/selectionrules.h"
#include "settings/settingsstore.h"
#include "settings/userunitstore.h"
#include "support/mainwindowdriver.h"
#include "support/messagelog.h"
#include "ui/main/findunitdialog.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace quantix;
using namespace quantix::testing;

// The find box of the main window, offscreen: what it lists as the user
// types, and what choosing a unit does to the window.
class TestFindUnit : public QObject, public MainWindowDriver
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;

    static QLineEdit *textField(QWidget *box) { return box->findChild<QLineEdit *>("txtFind"); }

    static QStringList lines(QWidget *box)
    {
        QStringList texts;
        const auto *list = box->findChild<QListWidget *>("lstFound");
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    static QString currentLine(QWidget *box)
    {
        const QListWidgetItem *item = box->findChild<QListWidget *>("lstFound")->currentItem();
        return item ? item->text() : QString();
    }

    // Opens the find box with Ctrl+F, as the user does, and runs inBox while
    // it is open. The box must be closed by inBox; a box left open fails.
    void withFindBox(const std::function<void(FindUnitDialog *)> &inBox)
    {
        // Offscreen, closing a dialog activates no window.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        bool ran = false;
        bool leftOpen = false;
        QObject waiting;  // ends the polling with this call
        std::function<void()> whenOpen = [&] {
            auto *box = qobject_cast<FindUnitDialog *>(QApplication::activeModalWidget());
            if (!box) {
                QTimer::singleShot(10, &waiting, whenOpen);
                return;
            }
            if (QTest::qWaitForWindowActive(box))
                inBox(box);
            ran = true;
            if (box->isVisible()) {
                leftOpen = true;
                box->reject();
            }
        };
        QTimer::singleShot(0, &waiting, whenOpen);
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : m_window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY2(ran, "Ctrl+F opened no find box");
        QVERIFY2(!leftOpen, "the find box stayed open");
    }

    void find(const QString &text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        withFindBox([&](FindUnitDialog *box) {
            QTest::keyClicks(textField(box), text);
            QTest::keyClick(textField(box), Qt::Key_Return, modifiers);
        });
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
        m_messages.clear();
    }

    void cleanup() { m_window.reset(); }

    // The list as the user types: "unit — quantity", best first, updated at
    // every keystroke, with a line that says what was found.
    void listFollowsTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QString>("status");
        QTest::newRow("symbol") << "km" << QStringList{"kilometre (km) — Length"} << "";
        QTest::newRow("ASCII symbol") << "degF" << QStringList{"Fahrenheit (°F) — Temperature"} << "";
        // The temperature first, its difference after it.
        QTest::newRow("name prefix") << "fahren" << QStringList{"Fahrenheit (°F) — Temperature", "Fahrenheit degree difference (Δ°F) — Temperature Difference"} << "Units found: 2";
        QTest::newRow("two litres") << "litre (l)" << QStringList{"litre (l) — Volume (Dry)", "litre (l) — Volume (Liquid)"} << "";
        QTest::newRow("alias") << "mi" << QStringList{"mile (US statute) — Length"} << "";
        QTest::newRow("alias of two quantities") << "ft lb"
                                                 << QStringList{"foot pound-force (ft·lbf) — Energy", "pound-force foot (lbf·ft) — Torque"} << "";
        QTest::newRow("other spelling") << "liter" << QStringList{"litre (l) — Volume (Dry)", "litre (l) — Volume (Liquid)"} << "";
        QTest::newRow("long lines") << "inch of" << QStringList{"inch of mercury (conventional, 32°F) — Pressure or Stress"} << "";
        QTest::newRow("misspelt") << "celcius" << QStringList{"Celsius (°C) — Temperature"} << str(1109);
        QTest::newRow("units in parts by their short names") << "ft+in" << QStringList{"feet and inches (ft+in) — Length"} << "Units found: 1";
        QTest::newRow("degrees in parts") << "dms" << QStringList{"degrees, minutes and seconds (dms) — Angle"} << "";
        QTest::newRow("hours in parts") << "hms" << QStringList{"hours, minutes and seconds (hms) — Time"} << "";
        QTest::newRow("a difference by its words") << "celsius degree" << QStringList{"Celsius degree difference (Δ°C) — Temperature Difference"} << "";
        QTest::newRow("nothing") << "xyzzy" << QStringList{} << str(1108);
        QTest::newRow("blanks") << "   " << QStringList{} << str(1106);
        QTest::newRow("pattern characters") << "[*\\" << QStringList{} << str(1108);
    }

    void listFollowsTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, first);
        QFETCH(QString, status);
        const UserUnitStore store;
        FindUnitDialog box(UnitFinder::offered(offeredQuantityNames(), {}, {}, store));
        box.show();
        QCOMPARE(lines(&box), QStringList());
        QCOMPARE(box.findChild<QLabel *>("lblFound")->text(), str(1106));
        QTest::keyClicks(textField(&box), typed);
        QCOMPARE(lines(&box).mid(0, first.size()), first);
        QCOMPARE(currentLine(&box), first.value(0));
        if (!status.isEmpty())
            QCOMPARE(box.findChild<QLabel *>("lblFound")->text(), status);
        QCOMPARE(box.findChild<QPushButton *>("cmdInitial")->isEnabled(), !first.isEmpty());
        // every line found shows whole
        const auto *list = box.findChild<QListWidget *>("lstFound");
        QTRY_VERIFY(list->sizeHintForColumn(0) <= list->viewport()->width());
    }

    // State: nothing chosen. Action: "fahren" Enter, then "kelv" Shift+Enter.
    // Expected: Temperature, Fahrenheit to Kelvin, the focus in the input.
    void enterThenShiftEnter()
    {
        open();
        find("fahren");
        QCOMPARE(combo("cboquantity")->currentText(), QStringLiteral("Temperature"));
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("Fahrenheit (°F)"));
        QCOMPARE(combo("cbounit2")->currentIndex(), -1);
        QCOMPARE(m_window->focusWidget(), input());
        find("kelv", Qt::ShiftModifier);
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("Fahrenheit (°F)"));
        QCOMPARE(combo("cbounit2")->currentText(), QStringLiteral("Kelvin (K)"));
        QCOMPARE(m_window->focusWidget(), input());
        type("212");
        QCOMPARE(result(), QStringLiteral("373.150"));
    }

    // A unit of the chosen quantity changes only that unit and converts the
    // value again; another quantity is chosen as the user would choose it.
    void chosenQuantityIsKept()
    {
        open();
        convert("Length", "mile (US statute)", "kilometre (km)", "26.2");
        QCOMPARE(result(), QStringLiteral("42.165"));
        find("ft", Qt::ShiftModifier);
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("mile (US statute)"));
        QCOMPARE(combo("cbounit2")->currentText(), QStringLiteral("foot (ft)"));
        QCOMPARE(input()->text(), QStringLiteral("26.2"));
        QCOMPARE(result(), QStringLiteral("138336.000"));
        find("pound (lb)");
        QCOMPARE(combo("cboquantity")->currentText(), QStringLiteral("Mass"));
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("pound (lb)"));
        QCOMPARE(combo("cbounit2")->currentIndex(), -1);
        QCOMPARE(input()->text(), QString());
        QCOMPARE(result(), QString());
    }

    void upDownAndDoubleClick()
    {
        open();
        withFindBox([](FindUnitDialog *box) {
            QTest::keyClicks(textField(box), "mile (");
            QCOMPARE(currentLine(box), QStringLiteral("mile (International nautical) — Length"));
            QTest::keyClick(textField(box), Qt::Key_Down);
            QCOMPARE(currentLine(box), QStringLiteral("mile (US statute) — Length"));
            QTest::keyClick(textField(box), Qt::Key_Down);
            QTest::keyClick(textField(box), Qt::Key_Up);
            QCOMPARE(currentLine(box), QStringLiteral("mile (US statute) — Length"));
            QCOMPARE(box->focusWidget(), textField(box));
            QTest::keyClick(textField(box), Qt::Key_Return);
        });
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("mile (US statute)"));

        withFindBox([](FindUnitDialog *box) {
            QTest::keyClicks(textField(box), "kilogram");
            auto *list = box->findChild<QListWidget *>("lstFound");
            const QList<QListWidgetItem *> force = list->findItems("kilogram force (kgf) — Force", Qt::MatchExactly);
            QCOMPARE(force.size(), 1);
            const QRect line = list->visualItemRect(force.first());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
        });
        QCOMPARE(combo("cboquantity")->currentText(), QStringLiteral("Force"));
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("kilogram force (kgf)"));
    }

    // Escape, Cancel and Enter with nothing found change nothing.
    void cancellingChangesNothing()
    {
        open();
        convert("Length", "metre (m)", "foot (ft)", "1");
        withFindBox([](FindUnitDialog *box) {
            QTest::keyClicks(textField(box), "xyzzy");
            QTest::keyClick(textField(box), Qt::Key_Return);
            QVERIFY(box->isVisible());
            textField(box)->clear();
            QTest::keyClicks(textField(box), "fahren");
            QTest::keyClick(textField(box), Qt::Key_Escape);
            QVERIFY(!box->isVisible());
        });
        withFindBox([](FindUnitDialog *box) {
            QTest::keyClicks(textField(box), "kelv");
            box->findChild<QPushButton *>("cmdCancel")->click();
        });
        QCOMPARE(combo("cboquantity")->currentText(), QStringLiteral("Length"));
        QCOMPARE(combo("cbounit1")->currentText(), QStringLiteral("metre (m)"));
        QCOMPARE(combo("cbounit2")->currentText(), QStringLiteral("foot (ft)"));
        QCOMPARE(result(), QStringLiteral("3.281"));
    }

    // What the preferences hide stays hidden; the user's own units that are
    // offered are found.
    void offersWhatTheWindowOffers()
    {
        WriteSetting(section::units, "kilometre (km)", "0");
        WriteSetting(section::units, "Mass", "0");
        WriteSetting(section::userunits, "Lengthnumber", "2");
        WriteSetting(section::userunits, "Length1", "widget");
        WriteSetting(section::userunits, "Lengthfactor1", "2.5");
        WriteSetting(section::userunits, "Lengthused1", "1");
        WriteSetting(section::userunits, "Length2", "wadget");
        WriteSetting(section::userunits, "Lengthfactor2", "3");
        WriteSetting(section::userunits, "Lengthused2", "0");
        open();
        withFindBox([](FindUnitDialog *box) {
            QTest::keyClicks(textField(box), "km");
            QVERIFY(!lines(box).contains("kilometre (km) — Length"));
            QVERIFY(lines(box).contains("kilometre per hour (km/h) — Velocity"));
            textField(box)->setText("kilogram");
            for (const QString &line : lines(box))
                QVERIFY2(!line.endsWith("— Mass"), qPrintable(line));
            textField(box)->setText("adget");
            QCOMPARE(lines(box), QStringList{});
            textField(box)->setText("widg");
            QCOMPARE(lines(box), QStringList{"widget — Length"});
            QTest::keyClick(textField(box), Qt::Key_Return, Qt::ShiftModifier);
        });
        QCOMPARE(combo("cbounit2")->currentText(), QStringLiteral("widget"));
        choose("cbounit1", "metre (m)");
        type("5");
        QCOMPARE(result(), QStringLiteral("2.000"));
    }

    // Always on Top: the box stays above the main window.
    void findBoxAboveATopmostWindow()
    {
        open();
        action("mnualwaystoponoff_0")->trigger();
        withFindBox([](FindUnitDialog *box) {
            QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(box->isModal());
            box->reject();
        });
        action("mnualwaystoponoff_1")->trigger();
        withFindBox([](FindUnitDialog *box) {
            QVERIFY(!box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            box->reject();
        });
    }

    void popupMenuOpensTheBox()
    {
        open();
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<FindUnitDialog *>(QApplication::activeModalWidget())) {
                opened = true;
                box->reject();
            }
        });
        chooseFromPopup("mnueditfind");
        QVERIFY(opened);
    }
};

QTEST_MAIN(TestFindUnit)
#include "tst_findunit.moc"
