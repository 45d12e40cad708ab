#include "engine/catalogue.h"
#include "engine/stringtable.h"
#include "settings/userunitstore.h"
#include "support/contextmenu.h"
#include "ui/about/aboutbox.h"
#include "ui/main/findunitdialog.h"
#include "ui/main/mainwindow.h"
#include "ui/newunit/newunitdialog.h"
#include "ui/preferences/preferencesdialog.h"
#include "ui/records/recordswindow.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace quantix;

namespace {

// A control or menu item and the string that captions it.
struct Caption
{
    QString name;
    QString text;
};

QString textOf(QObject *object)
{
    if (auto *menu = qobject_cast<QMenu *>(object))
        return menu->title();
    if (auto *action = qobject_cast<QAction *>(object))
        return action->text();
    if (auto *label = qobject_cast<QLabel *>(object))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(object))
        return QString(button->text()).replace(u'\n', u' ');  // a caption may wrap onto two lines
    if (auto *group = qobject_cast<QGroupBox *>(object))
        return group->title();
    if (auto *widget = qobject_cast<QWidget *>(object); widget && widget->isWindow())
        return widget->windowTitle();
    return {};
}

// Texts a form editor leaves behind when nobody sets the caption.
bool isPlaceholder(const QString &text, const QString &objectName)
{
    static const QStringList designDefaults{"TextLabel", "PushButton", "CheckBox", "RadioButton", "GroupBox", "Tab 1",
                                            "Tab 2", "Page", "MainWindow", "Dialog", "Form", "Menu", "Action"};
    return (!objectName.isEmpty() && text == objectName) || designDefaults.contains(text);
}

}

// Every window of the program, as it is loaded: each named control and menu
// item is there with its caption from the string table, and no text is a
// leftover of the form design.
class TestForms : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    void checkWindow(QWidget *window, const QList<Caption> &captions)
    {
        for (const Caption &caption : captions) {
            QObject *object = caption.name == window->objectName() ? window : window->findChild<QObject *>(caption.name);
            QVERIFY2(object, qPrintable(window->objectName() + ": no " + caption.name));
            QCOMPARE(textOf(object), caption.text);
        }
        QList<QObject *> everything = window->findChildren<QObject *>();
        everything << window;
        for (QObject *object : everything) {
            const QString text = textOf(object);
            QVERIFY2(!isPlaceholder(text, object->objectName()), qPrintable(object->objectName() + ": " + text));
            if (auto *widget = qobject_cast<QWidget *>(object))
                QVERIFY2(!isPlaceholder(widget->toolTip(), widget->objectName()), qPrintable(widget->objectName()));
        }
        checkEditMenus(window);
    }

    // No text box opens the toolkit's own right-click menu: a box has none (the
    // window's pop-up shows instead) or one whose every item is the program's.
    static void checkEditMenus(QWidget *window)
    {
        const QStringList programTexts{str(1250), str(1251), str(1252), str(25), str(22), str(1253), str(1254)};
        QList<QWidget *> boxes;
        for (QLineEdit *box : window->findChildren<QLineEdit *>())
            boxes << box;
        for (QTextEdit *box : window->findChildren<QTextEdit *>())
            boxes << box;
        for (QPlainTextEdit *box : window->findChildren<QPlainTextEdit *>())
            boxes << box;
        for (QWidget *box : boxes) {
            const char *name = qPrintable(box->objectName());
            if (box->contextMenuPolicy() == Qt::NoContextMenu)
                continue;
            QCOMPARE_EQ(box->contextMenuPolicy(), Qt::CustomContextMenu);
            auto *scrollArea = qobject_cast<QAbstractScrollArea *>(box);
            const QStringList texts = testing::rightClickMenu(scrollArea ? scrollArea->viewport() : box);
            QVERIFY2(!texts.isEmpty(), name);
            for (QString text : texts) {
                text.remove(QLatin1String(" (greyed)"));
                QVERIFY2(text == u'-' || programTexts.contains(text), qPrintable(box->objectName() + ": " + text));
            }
        }
    }

    static QList<Caption> named(std::initializer_list<std::pair<const char *, int>> items)
    {
        QList<Caption> captions;
        for (const auto &[name, id] : items)
            captions.append({QLatin1String(name), str(id)});
        return captions;
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }

    void mainWindow()
    {
        MainWindow window;
        window.show();
        QList<Caption> captions = named({
            {"frmMain", 73}, {"lblquantity", 100}, {"lblunit1", 101}, {"lblunit2", 102}, {"lbltxtunit1", 103}, {"Label1", 104},
            {"mnufile", 10}, {"mnufilesetopt", 11}, {"mnufileexit", 12},
            {"mnuedit", 20}, {"mnueditedit_0", 21}, {"mnueditedit_1", 22}, {"mnueditswitch", 23}, {"mnueditfind", 1100},
            {"mnuview", 30}, {"mnuviewphys", 31}, {"mnuviewmetric", 32}, {"mnuviewcalc", 33},
            {"mnurecords", 35}, {"mnurecordsadd", 36}, {"mnurecordspurge", 37}, {"mnuRecordsView", 38},
            {"mnualwaystop", 40}, {"mnualwaystoponoff_0", 41}, {"mnualwaystoponoff_1", 42},
            {"mnuHelp", 50}, {"mnuhelphelp", 51}, {"mnuhelpshow", 53}, {"mnuhelpabout", 52},
            {"StatusBarPanel2", 401}});
        captions.append(Caption{"StatusBarPanel1", str(400) + " 0"});
        checkWindow(&window, captions);
        for (const char *name : {"cboquantity", "cbounit1", "cbounit2", "txtunit1", "lblconv", "StatusBar", "Image1", "mnuview2"})
            QVERIFY2(window.findChild<QObject *>(name), name);
        for (const char *name : {"mnu", "mnueditsep1", "mnueditsep2", "mnuviewsep", "mnurecordssep1", "mnurecordssep2", "separ1",
                                 "mnuview2sep_0", "mnuview2sepsep", "sep3"})
            QVERIFY2(window.findChild<QAction *>(name)->isSeparator(), name);
        for (const char *name : {"mnurecordspurge", "mnuRecordsView"})
            QVERIFY2(!window.findChild<QAction *>(name)->isEnabled(), name);
        const QList<QAction *> bar = window.menuBar()->actions();
        QCOMPARE(bar.size(), 6);
        // The pop-up shows the menus' own commands, Preferences as its default.
        const QMenu *popup = window.findChild<QMenu *>("mnuview2");
        QVERIFY(!bar.contains(popup->menuAction()));
        QStringList popupItems;
        for (const QAction *item : popup->actions())
            popupItems << item->objectName();
        QCOMPARE(popupItems, QStringList({"mnuviewphys", "mnuviewmetric", "mnuview2sep_0", "mnufilesetopt", "mnuview2sepsep", "mnueditedit_0",
                                          "mnueditedit_1", "mnueditswitch", "mnueditfind", "sep3", "mnuRecordsView"}));
        QCOMPARE(popup->defaultAction()->objectName(), QStringLiteral("mnufilesetopt"));
        const QList<std::pair<const char *, QKeySequence>> shortcuts{
            {"mnueditedit_0", QKeySequence("Ctrl+C")}, {"mnueditedit_1", QKeySequence("Ctrl+V")},
            {"mnueditswitch", QKeySequence("Ctrl+S")}, {"mnueditfind", QKeySequence("Ctrl+F")}, {"mnuviewcalc", QKeySequence("Ctrl+R")},
            {"mnurecordsadd", QKeySequence("Ctrl+A")}, {"mnuhelphelp", QKeySequence("F1")}, {"mnuhelpshow", QKeySequence("Shift+F1")}};
        for (const auto &[name, keys] : shortcuts)
            QCOMPARE(window.findChild<QAction *>(name)->shortcut(), keys);
    }

    void findUnitBox()
    {
        FindUnitDialog box{UnitFinder()};
        checkWindow(&box, named({{"frmFindUnit", 1101}, {"lblFind", 1102}, {"cmdInitial", 1103}, {"cmdFinal", 1104},
                                 {"cmdCancel", 155}, {"lblFound", 1106}}));
        for (const char *name : {"txtFind", "lstFound", "cmdInitial", "cmdFinal", "cmdCancel"}) {
            auto *control = box.findChild<QWidget *>(name);
            QVERIFY2(control && !control->toolTip().isEmpty() && !control->whatsThis().isEmpty(), name);
        }
    }

    void aboutBox()
    {
        AboutBox about;
        checkWindow(&about, named({{"frmAbout", 300}, {"cmdOK", 154}}));
        QCOMPARE(about.findChild<QLabel *>("lblTitle")->text(), AboutBox::titleText());
        QVERIFY(!about.findChild<QLabel *>("lblCopyright")->text().isEmpty());
    }

    void recordsWindow()
    {
        AppState state;
        RecordsWindow records(state.records, state.options);
        checkWindow(&records, named({{"frmConvRecords", 350}, {"mnufile", 10}, {"mnufilesave", 34}, {"mnufilesaveas", 39},
                                     {"mnuFilePrint", 13}, {"mnuFileQuit", 14}, {"mnuedit", 20}, {"mnueditedit_0", 25},
                                     {"mnueditedit_1", 26}, {"mnueditselectall", 192}}));
        QVERIFY(records.findChild<QObject *>("txtRecords"));
        for (const char *name : {"mnuFileSep1", "sep2", "mnueditsep1"})
            QVERIFY2(records.findChild<QAction *>(name)->isSeparator(), name);
    }

    void preferencesDialog()
    {
        Options options;
        PreferencesDialog preferences(options, [](const QStringList &) {});
        QList<Caption> captions = named({{"frmSetOpt", 149}, {"cmdOk", 154}, {"cmdCancel", 155}, {"cmdNewUnit", 163},
                                         {"Label1", 152}, {"Label4", 158}, {"chkConfirm", 159}, {"chkSave", 160},
                                         {"lblScientific", 172}, {"Option1_0", 168}, {"Option1_1", 169}, {"Label2", 153},
                                         {"cmdselectall", 192}, {"cmddeselectall", 193}, {"Frame1_0", 164}, {"Frame1_1", 165},
                                         {"cmdSelectAllUnits", 166}, {"cmdDeselectAllUnits", 167}});
        captions.append(Caption{"cmdDialog", "..."});
        captions.append(Caption{"cmdFont", "..."});
        for (int i = 0; i < Catalogue::quantityCount; ++i)
            captions.append({QStringLiteral("chkunits_%1").arg(i), Catalogue::instance().at(i).name});
        checkWindow(&preferences, captions);
        auto *tabs = preferences.findChild<QTabWidget *>("tabstrip");
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 4);
        const int titles[4] = {150, 151, 161, 170};
        const int tips[4] = {156, 162, 157, 171};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(tabs->tabText(i), str(titles[i]));
            QCOMPARE(tabs->tabToolTip(i), str(tips[i]));
            QVERIFY(preferences.findChild<QWidget *>(QStringLiteral("picmain_%1").arg(i)));
        }
        for (const char *name : {"lstQuantity", "lstUnits", "Slider1", "lblslider", "label3", "lblFont", "lblNewUnitNumber"})
            QVERIFY2(preferences.findChild<QWidget *>(name), name);
    }

    void newUnitDialog()
    {
        const UserUnitStore store;
        NewUnitDialog dialog(15, store);
        QList<Caption> captions = named({{"frmNewUnit", 65}, {"cmdOk", 154}, {"cmdCancel", 155}});
        captions.append(Caption{"Frame1", str(60) + "Length"});
        captions.append(Caption{"lblExample", "Example : One Widget equals 2 metre (m)"});
        for (int r = 0; r < 10; ++r) {
            captions.append({QStringLiteral("lblUnit_%1").arg(r), "metre (m)"});
            QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("txtNewUnitName_%1").arg(r)));
            QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("txtConvFactor_%1").arg(r)));
        }
        for (int i = 0; i <= 9; ++i)
            captions.append({QStringLiteral("Label1_%1").arg(i), str(61)});
        for (int i = 11; i <= 20; ++i)
            captions.append({QStringLiteral("Label1_%1").arg(i), str(62)});
        checkWindow(&dialog, captions);
        QVERIFY(!dialog.findChild<QWidget *>("Label1_10"));
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
