#include "settings/settingsstore.h"
#include "support/designfont.h"
#include "support/fakedialogs.h"
#include "support/messagelog.h"
#include "support/replacements.h"
#include "support/storesnapshot.h"
#include "ui/preferences/preferencesdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quantix;
using namespace quantix::testing;

class TestPreferences : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;
    FakeDialogs *m_dialogs = nullptr;
    std::unique_ptr<Options> m_options;
    QList<QStringList> m_rebuilds;
    std::unique_ptr<PreferencesDialog> m_dialog;

    void open()
    {
        m_dialog = std::make_unique<PreferencesDialog>(*m_options, [this](const QStringList &offered) { m_rebuilds << offered; });
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        QTest::qWait(20);  // Timer1
    }
    template<class T = QWidget>
    T *child(const char *name) const { return m_dialog->findChild<T *>(QLatin1String(name)); }
    void click(const char *name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    QListWidget *units() const { return child<QListWidget>("lstUnits"); }
    void showQuantity(const char *name)
    {
        auto *list = child<QListWidget>("lstQuantity");
        list->setCurrentItem(list->findItems(QLatin1String(name), Qt::MatchExactly).constFirst());
    }
    void selectUnit(const char *name, bool on) { units()->findItems(QLatin1String(name), Qt::MatchExactly).constFirst()->setSelected(on); }
    static QStringList unitKeys(const char *quantity, const QStringList &extra = {})
    {
        QStringList keys = extra;
        const Quantity &q = *Catalogue::instance().byName(QString::fromLatin1(quantity));
        for (int j = 1; j <= q.builtInCount(); ++j)
            keys << "units/" + Catalogue::unitName(q, j);
        keys.sort();
        return keys;
    }
    // Answers the next modal dialog, once the current event has been handled.
    static void answerModal(std::function<void(QWidget *)> answer)
    {
        QTimer::singleShot(0, qApp, [answer] {
            if (QWidget *modal = QApplication::activeModalWidget())
                answer(modal);
        });
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        m_messages.install();
        // No desktop calculator unless a test puts one there.
        QDir().mkpath(m_dir.filePath("bin"));
        qputenv("PATH", m_dir.filePath("bin").toUtf8());
    }

    void init()
    {
        QFile::remove(settingsLocation());
        m_messages.clear();
        m_rebuilds.clear();
        m_options = std::make_unique<Options>();
        m_dialogs = FakeDialogs::install();
    }

    void cleanup() { m_dialog.reset(); }

    void firstOpeningOnAnEmptyStore()
    {
        open();
        QCOMPARE(child<QTabWidget>("tabstrip")->currentIndex(), 3);
        QVERIFY(child<QRadioButton>("Option1_1")->isChecked());
        QCOMPARE(child<QSlider>("Slider1")->value(), 3);
        QCOMPARE(child<QLabel>("lblslider")->text(), QStringLiteral(" 3"));
        QVERIFY(child<QCheckBox>("chkConfirm")->isChecked());
        QVERIFY(!child("chkSave")->isHidden() && child<QCheckBox>("chkSave")->isChecked());
        QCOMPARE(child<QLabel>("label3")->text(), QStringLiteral(" calc.exe"));
        QCOMPARE(m_options->shellProgram(), QStringLiteral("calc.exe"));
        QCOMPARE(child<QLabel>("lblFont")->text(), QStringLiteral("Arial 12 pt"));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Quantix 96 Preferences"));
        QCOMPARE(child<QTabWidget>("tabstrip")->tabToolTip(2), QStringLiteral("Select Available Units"));
        QCOMPARE(m_dialog->quantityBox(26)->text(), QStringLiteral("Temperature Difference"));
        QCOMPARE(m_dialog->quantityBox(32)->text(), QStringLiteral("Volume (Liquid)"));
        QCOMPARE(child<QListWidget>("lstQuantity")->count(), 33);
        QCOMPARE(units()->count(), 5);
        QCOMPARE(units()->selectedItems().size(), 5);

        // The tab rule: "Add New Unit..." belongs to the Units tab.
        QVERIFY(!child("cmdNewUnit")->isVisible());
        child<QTabWidget>("tabstrip")->setCurrentIndex(2);
        QVERIFY(child("cmdNewUnit")->isVisible());
        child<QTabWidget>("tabstrip")->setCurrentIndex(0);
        QVERIFY(!child("cmdNewUnit")->isVisible());
    }

    void storedTabAndPosition_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("position");
        QTest::addColumn<int>("shownTab");
        QTest::addColumn<QString>("shownQuantity");
        QTest::newRow("Units, Length") << "3" << "15" << 2 << "Length";
        // The first versions' numbers keep their quantities; the later
        // quantity, listed after Temperature, is numbered after them.
        QTest::newRow("Options, last") << "1" << "31" << 0 << "Volume (Liquid)";
        QTest::newRow("after Temperature") << "2" << "26" << 1 << "Thermal Conductivity";
        QTest::newRow("later quantity") << "4" << "32" << 3 << "Temperature Difference";
        QTest::newRow("out of range") << "99" << "-5" << 3 << "Acceleration";
        QTest::newRow("beyond the quantities") << "x" << "33" << 3 << "Acceleration";
    }

    void storedTabAndPosition()
    {
        QFETCH(QString, tab);
        QFETCH(QString, position);
        QFETCH(int, shownTab);
        QFETCH(QString, shownQuantity);
        WriteSetting(section::settings, "Tab", tab);
        WriteSetting(section::settings, "QuantityListIndex", position);
        open();
        QCOMPARE(child<QTabWidget>("tabstrip")->currentIndex(), shownTab);
        QCOMPARE(child("cmdNewUnit")->isVisible(), shownTab == 2);
        QCOMPARE(child<QListWidget>("lstQuantity")->currentItem()->text(), shownQuantity);
    }

    // Exit confirmation on offers the save dialog, checked; off hides it
    // and keeps its mark, and OK then leaves "save" as it was.
    void confirmAndSaveCoupling()
    {
        WriteSetting(section::settings, "save", "0");
        open();
        auto *confirm = child<QCheckBox>("chkConfirm");
        auto *save = child<QCheckBox>("chkSave");
        child<QTabWidget>("tabstrip")->setCurrentIndex(0);
        QVERIFY(save->isVisible() && !save->isChecked());
        click("chkConfirm");
        QVERIFY(!save->isVisible() && !save->isChecked());
        click("chkConfirm");
        QVERIFY(save->isVisible() && save->isChecked());
        confirm->setChecked(false);
        click("cmdOk");
        QCOMPARE(ReadSetting(section::settings, "confirm", ""), QStringLiteral("false"));
        QCOMPARE(ReadSetting(section::settings, "save", ""), QStringLiteral("0"));
        QVERIFY(!m_options->confirmExit());

        open();
        QVERIFY(!child<QCheckBox>("chkConfirm")->isChecked() && child("chkSave")->isHidden());
    }

    // OK writes its own keys and the units shown; the quantity keys only
    // when a quantity check box may have changed.
    void okWritesItsKeysInOrder()
    {
        WriteSetting(section::settings, "numericformatting", "12");
        const Store before = storeContents();
        open();
        QCOMPARE(child<QSlider>("Slider1")->value(), 3);
        child<QSlider>("Slider1")->setValue(5);
        QCOMPARE(child<QLabel>("lblslider")->text(), QStringLiteral(" 5"));
        click("Option1_0");
        click("cmdOk");
        const Store after = storeContents();
        QCOMPARE(changedKeys(before, after),
                 unitKeys("Acceleration", {"settings/QuantityListIndex", "settings/Tab", "settings/confirm", "settings/engineering",
                                           "settings/grouping", "settings/inchfraction", "settings/leadingzero", "settings/numericformatting", "settings/save",
                                           "settings/scientific", "settings/shellprog", "settings/significant",
                                           "settings/significantdigits"}));
        QCOMPARE(after["settings/Tab"], QStringLiteral("4"));
        QCOMPARE(after["settings/numericformatting"], QStringLiteral("5"));
        QCOMPARE(after["settings/scientific"], QStringLiteral("true"));
        QCOMPARE(after["settings/shellprog"], QStringLiteral("calc.exe"));
        QCOMPARE(after["settings/save"], QStringLiteral("1"));
        QVERIFY(m_rebuilds.isEmpty());
        QCOMPARE(m_options->decimalPlaces(), 5);
        QVERIFY(m_options->scientific());

        OptionsChoice choice;
        const auto keysOf = [](const SettingWrites &writes) {
            QStringList keys;
            for (const SettingWrite &write : writes)
                keys << write.key;
            return keys;
        };
        const QStringList style{"numericformatting", "scientific", "significant", "significantdigits", "engineering", "grouping", "leadingzero",
                                "inchfraction"};
        QCOMPARE(keysOf(optionsWrites(choice, choice)), (QStringList{"Tab"} + style + QStringList{"shellprog", "confirm", "save"}));
        choice.confirmExit = false;
        QCOMPARE(keysOf(optionsWrites(choice, choice)), (QStringList{"Tab"} + style + QStringList{"shellprog", "confirm"}));
    }

    void cancelKeepsOnlyTabPositionAndShownUnits_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
    }

    // State: Length shown, with two user units, the second hidden. Action:
    // change everything, then close without OK. Expected: only the tab, the
    // position and the units of the first and the shown quantity (as read:
    // absent keys become "1") are written; the run-wide state is as loaded.
    void cancelKeepsOnlyTabPositionAndShownUnits()
    {
        QFETCH(int, how);
        WriteSetting(section::settings, "QuantityListIndex", "15");
        WriteSetting(section::userunits, "Lengthnumber", "2");
        WriteSetting(section::userunits, "Length1", "span");
        WriteSetting(section::userunits, "Length2", "cubit");
        WriteSetting(section::userunits, "Lengthused2", "0");
        const Store before = storeContents();
        open();
        QCOMPARE(units()->count(), 32);
        QVERIFY(units()->item(30)->isSelected() && !units()->item(31)->isSelected());
        child<QSlider>("Slider1")->setValue(7);
        click("Option1_0");
        click("chkConfirm");
        click("cmddeselectall");
        selectUnit("metre (m)", false);
        if (how == 0)
            click("cmdCancel");
        else if (how == 1)
            QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        else
            m_dialog->close();
        QVERIFY(!m_dialog->isVisible());
        const Store after = storeContents();
        QCOMPARE(changedKeys(before, after), unitKeys("Acceleration", unitKeys("Length", {"settings/Tab", "userunits/Lengthused1"})));
        QCOMPARE(after["units/metre (m)"], QStringLiteral("1"));
        QCOMPARE(after["userunits/Lengthused1"], QStringLiteral("1"));
        QCOMPARE(after["userunits/Lengthused2"], QStringLiteral("0"));
        QCOMPARE(after["settings/QuantityListIndex"], QStringLiteral("15"));
        QCOMPARE(m_options->decimalPlaces(), 3);
        QVERIFY(!m_options->scientific() && m_options->confirmExit());
        QVERIFY(m_rebuilds.isEmpty());
    }

    void fontIsStoredWhenChosen()
    {
        QFont courier(QStringLiteral("Courier"));
        courier.setPointSizeF(10.5);
        courier.setBold(true);
        courier.setItalic(true);
        courier.setUnderline(true);
        m_dialogs->chosenFont = ChosenFont{courier, QColor(255, 0, 0)};
        open();
        click("cmdFont");
        QCOMPARE(m_dialogs->initialFont.font.family(), QStringLiteral("Arial"));
        QCOMPARE(m_dialogs->initialFont.font.pointSizeF(), 12.0);
        click("cmdCancel");
        const Store after = storeContents();
        const QList<std::pair<QString, QString>> stored{{"fontname", "Courier"}, {"fontsize", "10.5"}, {"fontunderline", "True"},
                                                        {"fontbold", "True"}, {"fontitalic", "True"}, {"fontcolour", "255"}};
        for (const auto &[key, value] : stored)
            QCOMPARE(after["settings/" + key], value);
        QCOMPARE(m_options->printFont(), PrintFont::load({}));
        QCOMPARE(child<QLabel>("lblFont")->text(), QStringLiteral("Courier 10.5 pt"));

        // Cancelling the font dialog changes nothing.
        m_dialogs->chosenFont.reset();
        open();
        click("cmdFont");
        QCOMPARE(m_dialogs->initialFont.font.family(), QStringLiteral("Courier"));
        QCOMPARE(storeContents(), after);
        QCOMPARE(m_options->printFont().name, QStringLiteral("Courier"));
    }

    // State: nothing stored, a calculator on PATH. Expected: the preferences
    // show it and OK stores it; a stored program is shown as stored.
    void calculatorFoundIsShown()
    {
        const QString calculator = m_dir.filePath("bin/galculator");
        QFile file(calculator);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        open();
        QCOMPARE(child<QLabel>("label3")->text(), QStringLiteral(" galculator"));
        click("cmdOk");
        QCOMPARE(ReadSetting(section::settings, "shellprog", ""), QStringLiteral("galculator"));
        WriteSetting(section::settings, "shellprog", "/opt/bin/calc");
        open();
        QCOMPARE(child<QLabel>("label3")->text(), QStringLiteral(" /opt/bin/calc"));
        QFile::remove(calculator);
    }

    // The chosen program serves this run until the preferences open again.
    void shellProgramChosenThenCancelled()
    {
        m_dialogs->chosenProgram = QStringLiteral("/opt/tools/calculator");
        open();
        click("cmdDialog");
        QCOMPARE(m_dialogs->programTitle, QStringLiteral("Shell Program"));
        QCOMPARE(child<QLabel>("label3")->text(), QStringLiteral(" /opt/tools/calculator"));
        click("cmdCancel");
        QCOMPARE(m_options->shellProgram(), QStringLiteral("/opt/tools/calculator"));
        QVERIFY(!storeContents().contains("settings/shellprog"));

        m_dialogs->chosenProgram.reset();
        open();
        QCOMPARE(m_options->shellProgram(), QStringLiteral("calc.exe"));
        click("cmdDialog");
        QCOMPARE(m_dialogs->programCurrent, QStringLiteral("calc.exe"));
        QCOMPARE(m_options->shellProgram(), QStringLiteral("calc.exe"));
    }

    // State: Length shown. Action: hide "metre (m)", switch to Mass, hide
    // "gram (g)", Cancel. Expected: Length stored at the switch; Mass not.
    void unitsAreStoredWhenTheQuantityChanges()
    {
        WriteSetting(section::settings, "QuantityListIndex", "15");
        open();
        selectUnit("metre (m)", false);
        showQuantity("Mass");
        selectUnit("gram (g)", false);
        click("cmdCancel");
        QCOMPARE(ReadSetting(section::units, "metre (m)", ""), QStringLiteral("0"));
        QCOMPARE(ReadSetting(section::units, "gram (g)", "absent"), QStringLiteral("absent"));
    }

    void litreIsOneKeyForBothVolumes()
    {
        open();
        showQuantity("Volume (Liquid)");
        selectUnit("litre (l)", false);
        showQuantity("Volume (Dry)");
        QVERIFY(!units()->findItems("litre (l)", Qt::MatchExactly).constFirst()->isSelected());
        QCOMPARE(units()->selectedItems().size(), units()->count() - 1);
        click("cmdOk");
        QCOMPARE(ReadSetting(section::units, "litre (l)", ""), QStringLiteral("0"));
    }

    void quantityCheckBoxesRebuildTheMainList()
    {
        open();
        click("cmddeselectall");
        QCOMPARE(child<QListWidget>("lstQuantity")->count(), 33);
        click("cmdOk");
        QCOMPARE(m_rebuilds, QList<QStringList>{QStringList()});
        QCOMPARE(ReadSetting(section::units, "Volume (Liquid)", ""), QStringLiteral("0"));

        // A check box that merely takes the focus counts as a change.
        open();
        QCOMPARE(m_dialog->quantityBox(0)->isChecked(), false);
        child<QTabWidget>("tabstrip")->setCurrentIndex(1);
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        QVERIFY(!m_dialog->quantitiesChanged());
        m_dialog->quantityBox(3)->setFocus(Qt::TabFocusReason);
        QVERIFY(m_dialog->quantitiesChanged());
        click("cmdselectall");
        click("cmdOk");
        QCOMPARE(m_rebuilds.size(), 2);
        QCOMPARE(m_rebuilds[1].size(), 33);
    }

    // State: Length shown, "metre (m)" hidden. Action: double-click Temperature
    // (nothing), then Length, add a unit, OK. Expected: Length stored before
    // the new-unit dialog; the new unit listed and offered, its flag written by OK.
    void newUnitFromTheUnitsTab()
    {
        WriteSetting(section::settings, "Tab", "3");
        open();
        auto *quantities = child<QListWidget>("lstQuantity");
        const auto doubleClick = [quantities](const char *name) {
            QListWidgetItem *item = quantities->findItems(QLatin1String(name), Qt::MatchExactly).constFirst();
            quantities->scrollToItem(item);
            const QPoint at = quantities->visualItemRect(item).center();
            QTest::mouseClick(quantities->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(quantities->viewport(), Qt::LeftButton, {}, at);
        };
        bool opened = false;
        answerModal([&opened](QWidget *modal) { opened = true; modal->close(); });
        doubleClick("Temperature");
        QVERIFY(!child("cmdNewUnit")->isEnabled());
        QTest::qWait(10);
        QVERIFY(!opened);

        showQuantity("Length");
        QVERIFY(child("cmdNewUnit")->isEnabled());
        selectUnit("metre (m)", false);
        answerModal([](QWidget *modal) {
            modal->findChild<QLineEdit *>("txtNewUnitName_0")->setText("league");
            modal->findChild<QLineEdit *>("txtConvFactor_0")->setText("4828.032");
            QTest::mouseClick(modal->findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        });
        doubleClick("Length");
        QCOMPARE(ReadSetting(section::units, "metre (m)", ""), QStringLiteral("0"));
        QCOMPARE(units()->count(), 31);
        QVERIFY(units()->item(30)->text() == "league" && units()->item(30)->isSelected());
        QVERIFY(!storeContents().contains("userunits/Lengthused1"));
        click("cmdOk");
        QCOMPARE(ReadSetting(section::userunits, "Lengthused1", ""), QStringLiteral("1"));
    }

    // State: the dialog open; meanwhile another copy of the program stores
    // Scientific, no exit confirmation and a font. Action: OK with only the
    // slider moved. Expected: the slider's places stored, the other copy's
    // choices kept, and shown at the next opening; a font chosen there keeps
    // the size the other copy stores meanwhile, which the user left as shown.
    void anotherCopysChoicesStay()
    {
        open();
        child<QSlider>("Slider1")->setValue(6);
        QVERIFY(!applySettings({{section::settings, "scientific", "true"}, {section::settings, "confirm", "false"},
                                {section::settings, "fontname", "Courier"}}));
        click("cmdOk");
        QCOMPARE(ReadSetting(section::settings, "numericformatting", ""), QStringLiteral("6"));
        QCOMPARE(ReadSetting(section::settings, "scientific", ""), QStringLiteral("true"));
        QCOMPARE(ReadSetting(section::settings, "confirm", ""), QStringLiteral("false"));
        QCOMPARE(ReadSetting(section::settings, "fontname", ""), QStringLiteral("Courier"));
        QVERIFY(!m_options->scientific() && m_options->confirmExit());

        open();
        QVERIFY(child<QRadioButton>("Option1_0")->isChecked());
        QVERIFY(!child<QCheckBox>("chkConfirm")->isChecked());
        QCOMPARE(child<QLabel>("lblFont")->text(), QStringLiteral("Courier 12 pt"));
        QVERIFY(WriteSetting(section::settings, "fontsize", "20"));
        QFont bold(QStringLiteral("Courier"));
        bold.setPointSize(12);
        bold.setBold(true);
        m_dialogs->chosenFont = ChosenFont{bold, QColor(0, 0, 0)};
        click("cmdFont");
        QCOMPARE(ReadSetting(section::settings, "fontbold", ""), QStringLiteral("True"));
        QCOMPARE(m_options->printFont().size, QStringLiteral("20"));
        QCOMPARE(child<QLabel>("lblFont")->text(), QStringLiteral("Courier 20 pt"));
    }

    // Each action of the dialog that changes the store is one change of it:
    // opening (the units shown), a switch of quantity, a font, adding units
    // (the units shown, then the new-unit dialog's OK), OK.
    void oneReplacementPerAction()
    {
        QVERIFY(WriteSetting(section::settings, "QuantityListIndex", "15"));
        ReplacementCounter replacements(settingsLocation());
        open();
        QCOMPARE(replacements.count(), 1);
        selectUnit("metre (m)", false);
        showQuantity("Mass");
        QCOMPARE(replacements.count(), 2);
        m_dialogs->chosenFont = ChosenFont{QFont(QStringLiteral("Courier")), QColor(0, 0, 0)};
        click("cmdFont");
        QCOMPARE(replacements.count(), 3);
        child<QTabWidget>("tabstrip")->setCurrentIndex(2);
        answerModal([](QWidget *modal) {
            modal->findChild<QLineEdit *>("txtNewUnitName_0")->setText("stone weight");
            modal->findChild<QLineEdit *>("txtConvFactor_0")->setText("6.35");
            QTest::mouseClick(modal->findChild<QPushButton *>("cmdOk"), Qt::LeftButton);
        });
        click("cmdNewUnit");
        QCOMPARE(replacements.count(), 5);
        click("cmdOk");
        QCOMPARE(replacements.count(), 6);
        QCOMPARE(ReadSetting(section::userunits, "Massused1", ""), QStringLiteral("1"));
    }

    // A hand-edited user-unit count never shifts a flag onto another key.
    void damagedCounts()
    {
        const Quantity &length = *Catalogue::instance().byName(u"Length");
        UserUnitStore store;
        store.write("Lengthnumber", "lots");
        QCOMPARE(unitListItems(length, store).size(), 30);
        store.write("Lengthnumber", "12");
        QCOMPARE(unitListItems(length, store).size(), 40);
        QCOMPARE(unitListItems(length, store).last(), (UnitListItem{"", true}));

        store.write("Lengthnumber", "2");
        const QList<UnitListItem> shown = unitListItems(length, store);
        const QList<bool> flags(shown.size(), false);
        store.write("Lengthnumber", "0");
        const Store before = storeContents();
        QVERIFY(!applySettings(unitSelectionWrites(length.id, shown, flags)));
        QCOMPARE(changedKeys(before, storeContents()), unitKeys("Length", {"userunits/Lengthused1", "userunits/Lengthused2"}));

        WriteSetting(section::settings, "QuantityListIndex", "15");
        store.write("Lengthnumber", "-4");
        open();
        QCOMPARE(units()->count(), 30);
        click("cmdOk");
        QVERIFY(storeContents().keys().filter("used").size() == 2);
    }

    void furtherStylesAreStoredBesideTheDesignKeys_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("check");  // grouping and the leading zero on
        QTest::addColumn<QStringList>("stored");  // scientific, significant, engineering, grouping, leadingzero
        QTest::newRow("significant") << "Option1_2" << true << QStringList{"false", "true", "false", "true", "true"};
        QTest::newRow("engineering") << "Option1_3" << false << QStringList{"true", "false", "true", "false", "false"};
        QTest::newRow("scientific") << "Option1_0" << false << QStringList{"true", "false", "false", "false", "false"};
        QTest::newRow("regular") << "Option1_1" << true << QStringList{"false", "false", "false", "true", "true"};
    }

    // State: a fresh store. Action: choose a style, 9 digits, the check
    // boxes, OK; open again. Expected: other versions read the nearest of
    // their two styles from "scientific"; the run and the reopened tab show
    // the choice; the digits box is usable only with significant digits.
    void furtherStylesAreStoredBesideTheDesignKeys()
    {
        QFETCH(QString, option);
        QFETCH(bool, check);
        QFETCH(QStringList, stored);
        open();
        click(option.toLatin1().constData());
        auto *digits = child<QSpinBox>("spnSignificant");
        QCOMPARE(digits->isEnabled(), option == "Option1_2");
        QCOMPARE(child("Slider1")->isEnabled(), option != "Option1_2");
        digits->setValue(9);
        child<QCheckBox>("chkGrouping")->setChecked(check);
        child<QCheckBox>("chkLeadingZero")->setChecked(check);
        click("cmdOk");
        QStringList read;
        for (const char *key : {"scientific", "significant", "engineering", "grouping", "leadingzero"})
            read << ReadSetting(section::settings, key, "absent");
        QCOMPARE(read, stored);
        QCOMPARE(ReadSetting(section::settings, "significantdigits", ""), QStringLiteral("9"));
        NumberStyle expected;
        expected.scientific = stored[0] == "true";
        expected.significant = stored[1] == "true";
        expected.engineering = stored[2] == "true";
        expected.grouping = expected.leadingZero = check;
        expected.significantDigits = 9;
        QCOMPARE(m_options->numberStyle(), expected);
        QCOMPARE(storedNumberStyle({}), expected);
        open();
        QVERIFY(child<QRadioButton>(option.toLatin1().constData())->isChecked());
        QCOMPARE(child<QSpinBox>("spnSignificant")->value(), 9);
        QCOMPARE(child<QCheckBox>("chkGrouping")->isChecked(), check);
    }

    // A store that cannot be written is reported once; the choices still
    // hold for this run.
    // Tab runs through the shown page top to bottom and left to right, then
    // the buttons of the bottom row; of the two number styles only the
    // chosen one is a stop (the arrow keys move between them).
    void tabOrder_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("scientific");
        QTest::addColumn<QStringList>("order");
        const QStringList buttons{"cmdOk", "cmdCancel"};
        QStringList quantities;
        for (int i = 0; i < 33; ++i)
            quantities << QStringLiteral("chkunits_%1").arg(i);
        QTest::newRow("Options") << 0 << false << QStringList{"cmdDialog", "chkConfirm", "chkSave", "cmdFont"} + buttons;
        QTest::newRow("Quantities") << 1 << false << quantities + QStringList{"cmdselectall", "cmddeselectall"} + buttons;
        QTest::newRow("Units") << 2 << false
                               << QStringList{"lstQuantity", "lstUnits", "cmdSelectAllUnits", "cmdDeselectAllUnits"} + buttons
                                      + QStringList{"cmdNewUnit"};
        // The digits are a stop only while the style uses them.
        QTest::newRow("Number Style, regular") << 3 << false
                                               << QStringList{"Slider1", "chkGrouping", "chkLeadingZero", "Option1_1", "cboInchFraction"} + buttons;
        QTest::newRow("Number Style, scientific") << 3 << true
                                                  << QStringList{"Slider1", "chkGrouping", "chkLeadingZero", "Option1_0", "cboInchFraction"} + buttons;
    }

    void tabOrder()
    {
        QFETCH(int, tab);
        QFETCH(bool, scientific);
        QFETCH(QStringList, order);
        m_options->setScientific(scientific);
        open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        auto *tabs = child<QTabWidget>("tabstrip");
        tabs->setCurrentIndex(tab);
        tabs->tabBar()->setFocus();
        QStringList visited;
        for (qsizetype i = 0; i <= order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, order + QStringList{"qt_tabwidget_tabbar"});
    }

    void arrowKeysChooseTheNumberStyle()
    {
        open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        auto *regular = child<QRadioButton>("Option1_1");
        auto *scientific = child<QRadioButton>("Option1_0");
        regular->setFocus();
        QTest::keyClick(regular, Qt::Key_Up);
        QVERIFY(scientific->isChecked() && scientific->hasFocus());
        child("chkLeadingZero")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), scientific);
        // Among four, the arrows follow the reading order.
        QTest::keyClick(scientific, Qt::Key_Right);
        QVERIFY(child<QRadioButton>("Option1_2")->isChecked());
        QCOMPARE(child("spnSignificant")->isEnabled(), true);
    }

    // At the design's font the dialog has the design's width and each tab's
    // controls sit where the design puts them in the dialog, whatever room
    // the tab strip's own frame and tabs take, to a pixel or two. The
    // toolkit's check boxes are taller than the design's rows, which pushes
    // the rows below them down, by no more than the dialog grew. The 33rd
    // quantity adds a row of check boxes to the design's 32.
    void pagesAtTheDesignPositions_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("twips");  // in the dialog
        QTest::newRow("Options") << 0 << "Label1" << QPoint(360 + 0, 600 + 120);
        QTest::newRow("Options, font button") << 0 << "cmdFont" << QPoint(360 + 5955, 600 + 2400);
        QTest::newRow("Quantities") << 1 << "chkunits_0" << QPoint(240 + 120, 480 + 240);
        QTest::newRow("Quantities, last button") << 1 << "cmddeselectall" << QPoint(240 + 6000, 480 + 2760);
        QTest::newRow("Units") << 2 << "Frame1_0" << QPoint(360 + 0, 480 + 120);
        QTest::newRow("Units, list") << 2 << "lstUnits" << QPoint(360 + 2760 + 120, 480 + 120 + 240);
        QTest::newRow("Number Style") << 3 << "Label2" << QPoint(360 + 120, 600 + 480);
        QTest::newRow("Number Style, last option") << 3 << "Option1_1" << QPoint(360 + 120, 600 + 2400);
        QTest::newRow("OK") << 3 << "cmdOk" << QPoint(2520, 3840);
    }

    void pagesAtTheDesignPositions()
    {
        QFETCH(int, tab);
        QFETCH(QString, control);
        QFETCH(QPoint, twips);
        const DesignFont designFont;
        open();
        QCOMPARE(m_dialog->width(), 7800 / 15);
        const int grown = m_dialog->height() - 4350 / 15;
        QVERIFY(grown >= 0 && grown <= 4350 / 15 / 8 + m_dialog->quantityBox(32)->sizeHint().height());
        child<QTabWidget>("tabstrip")->setCurrentIndex(tab);
        QWidget *widget = child(control.toLatin1().constData());
        const QPoint offset = widget->mapTo(m_dialog.get(), QPoint(0, 0)) - twips / 15;
        QVERIFY2(std::abs(offset.x()) <= 2 && offset.y() >= -2 && offset.y() <= grown + 2,
                 qPrintable(QStringLiteral("%1 pixels right, %2 down").arg(offset.x()).arg(offset.y())));
        QWidget *page = widget->parentWidget();
        while (page != m_dialog.get() && !page->objectName().startsWith("picmain"))
            page = page->parentWidget();
        QVERIFY(page->rect().contains(QRect(widget->mapTo(page, QPoint(0, 0)), widget->size())));
    }

    // The Units tab's tall buttons show their captions a word to a line, as
    // large as the lines need.
    void unitButtonCaptionsFit()
    {
        open();
        child<QTabWidget>("tabstrip")->setCurrentIndex(2);
        for (const char *name : {"cmdSelectAllUnits", "cmdDeselectAllUnits"}) {
            auto *button = child<QAbstractButton>(name);
            QCOMPARE(button->text().count(u'\n'), 1);
            QVERIFY2(button->width() >= button->sizeHint().width() && button->height() >= button->sizeHint().height(), name);
        }
    }

    // A store that cannot be written is reported once by the opening (which
    // stores the units shown) and once by OK, naming the file; the choices
    // still hold for this run.
    void failedWritesAreReported()
    {
        QVERIFY(QDir().mkpath(settingsLocation()));  // a folder where the file should be
        open();
        showQuantity("Mass");
        showQuantity("Length");
        child<QSlider>("Slider1")->setValue(6);
        click("cmdOk");
        QVERIFY(QDir(settingsLocation()).removeRecursively());
        const MessageSpec notStored{"Error #  75 occurred. Path/File access error\n\nThe settings could not be stored in \""
                                        + settingsLocation() + "\": it is not a regular file.",
                                    QMessageBox::Warning};
        QCOMPARE(m_messages, (QList<MessageSpec>{notStored, notStored}));
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_options->decimalPlaces(), 6);
    }
};

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
