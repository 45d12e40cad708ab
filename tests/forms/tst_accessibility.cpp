#include "engine/catalogue.h"
#include "settings/printfont.h"
#include "support/mainwindowdriver.h"
#include "ui/about/aboutbox.h"
#include "ui/common/uisupport.h"
#include "ui/help/helpviewer.h"
#include "ui/main/findunitdialog.h"
#include "ui/newunit/newunitdialog.h"
#include "ui/preferences/preferencesdialog.h"
#include "ui/records/recordswindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <cmath>
#include <functional>

using namespace quantix;
using namespace quantix::testing;

namespace {

QtMessageHandler defaultMessageHandler = nullptr;

void quietMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    defaultMessageHandler(type, context, message);
}

// A control a user types into, chooses from or reads a result in, or a
// button: a screen reader must have a name to say for it.
bool needsAName(const QWidget *widget)
{
    const bool statusPanel = qobject_cast<const QLabel *>(widget) && qobject_cast<const QStatusBar *>(widget->parentWidget());
    return statusPanel || qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget)
        || qobject_cast<const QAbstractItemView *>(widget) || qobject_cast<const QAbstractSlider *>(widget)
        || qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget)
        || qobject_cast<const QAbstractButton *>(widget);
}

// What a screen reader says for a control: the captions that label it, else
// its own name. A drop-down list's own name is its value on this platform,
// which names nothing.
QString spokenName(QWidget *control)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    QStringList labels;
    for (const auto &[label, relation] : accessible->relations(QAccessible::Label))
        labels << label->text(QAccessible::Name);
    if (!labels.isEmpty())
        return labels.join(u' ');
    return qobject_cast<QComboBox *>(control) ? QString() : accessible->text(QAccessible::Name);
}

bool saysSomething(const QString &name)
{
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// WCAG's contrast, worked out here from the colours alone.
double contrast(const QColor &first, const QColor &second)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    };
    const double a = luminance(first) + 0.05;
    const double b = luminance(second) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

// A scheme of light text on dark backgrounds, as a dark desktop gives it.
QPalette darkPalette()
{
    QPalette dark;
    const QColor back(0x2b, 0x2b, 0x2b);
    const QColor base(0x1e, 0x1e, 0x1e);
    const QColor text(0xe6, 0xe6, 0xe6);
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase, QPalette::ToolTipBase})
        dark.setColor(role, back);
    dark.setColor(QPalette::Base, base);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        dark.setColor(role, text);
    dark.setColor(QPalette::Link, QColor(0x09, 0x86, 0xd3));  // qt6ct's "darker": 2.8 to 1 on its base
    return dark;
}

// How a control is drawn: its background where nothing is written, and
// whether any pixel has the text's colour.
struct Drawn
{
    QColor background;
    bool inkShown = false;
};

Drawn drawn(QWidget *control, const QColor &ink)
{
    const QImage image = control->grab().toImage();
    Drawn seen{image.pixelColor(image.width() - 3, image.height() - 3)};
    for (int y = 0; y < image.height() && !seen.inkShown; ++y) {
        for (int x = 0; x < image.width() && !seen.inkShown; ++x)
            seen.inkShown = image.pixelColor(x, y).rgb() == ink.rgb();
    }
    return seen;
}

}

// A screen reader's view of every window and the print preview in a dark
// colour scheme.
class TestAccessibility : public QObject, public MainWindowDriver
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Opens a window as a user finds it and hands it to check.
    void withWindow(const QString &window, const std::function<void(QWidget *)> &check)
    {
        if (window == u"main") {
            open();
            convert("Length", "metre (m)", "foot (ft)", "2.5");
            check(m_window.get());
            m_window.reset();
        } else if (window == u"find") {
            FindUnitDialog find{UnitFinder()};
            check(&find);
        } else if (window == u"about") {
            AboutBox about;
            check(&about);
        } else if (window == u"records") {
            AppState state;
            RecordsWindow records(state.records, state.options);
            check(&records);
        } else if (window == u"preferences") {
            Options options;
            PreferencesDialog preferences(options, {});
            check(&preferences);
        } else if (window == u"newunit") {
            const UserUnitStore store;
            NewUnitDialog dialog(Catalogue::instance().positionOfName(u"Length"), store);
            check(&dialog);
        } else if (window == u"help") {
            QWidget owner;
            HelpViewer viewer(&owner);
            viewer.showContents();
            check(viewer.helpWindow());
        }
    }

private slots:
    void initTestCase()
    {
        defaultMessageHandler = qInstallMessageHandler(quietMessageHandler);
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }

    // Every control that takes input or shows a result, in every window,
    // has a name to be read out: a new control cannot come without one.
    void everyControlHasAName_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *window : {"main", "find", "about", "records", "preferences", "newunit", "help"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }

    void everyControlHasAName()
    {
        QFETCH(QString, window);
        withWindow(window, [](QWidget *shown) {
            int named = 0;
            for (QWidget *control : shown->findChildren<QWidget *>()) {
                if (control->window() != shown || control->objectName().isEmpty() || control->objectName().startsWith(u"qt_")
                    || !needsAName(control))
                    continue;
                QVERIFY2(saysSomething(spokenName(control)), qPrintable(control->objectName()));
                ++named;
            }
            QVERIFY(named > 0);
        });
    }

    // The names that say what a caption or a neighbour cannot.
    void namesSayWhatTheControlIs_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("quantity") << "main" << "cboquantity" << "Select quantity:";
        QTest::newRow("initial unit") << "main" << "cbounit1" << "Select initial unit:";
        QTest::newRow("final unit") << "main" << "cbounit2" << "Select final unit:";
        QTest::newRow("value") << "main" << "txtunit1" << "Enter initial value:";
        QTest::newRow("result") << "main" << "lblconv" << "Converted result: 8.202 foot (ft)";
        QTest::newRow("decimals panel") << "main" << "StatusBarPanel3" << "Decimals: 3";
        QTest::newRow("shell program button") << "preferences" << "cmdDialog" << "Choose the shell program";
        QTest::newRow("print font button") << "preferences" << "cmdFont" << "Choose the font for printing";
        QTest::newRow("decimal places") << "preferences" << "Slider1" << "Decimal Places:";
        QTest::newRow("quantities") << "preferences" << "lstQuantity" << "Quantity";
        QTest::newRow("units") << "preferences" << "lstUnits" << "Units";
        QTest::newRow("first name") << "newunit" << "txtNewUnitName_0" << "Unit 1 name";
        QTest::newRow("third factor") << "newunit" << "txtConvFactor_2" << "Unit 3 factor";
        QTest::newRow("last name") << "newunit" << "txtNewUnitName_9" << "Unit 10 name";
        QTest::newRow("help topic") << "help" << "text" << "Contents";
    }

    void namesSayWhatTheControlIs()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        withWindow(window, [&](QWidget *shown) {
            auto *widget = shown->findChild<QWidget *>(control);
            QVERIFY(widget);
            QCOMPARE(spokenName(widget), name);
        });
    }

    // In a dark colour scheme the records window and the Options tab's font
    // sample show the print font's colour on a page of their own, never on
    // the scheme's dark background, whatever the colour: at least 4.5 to 1.
    void printPreviewStandsOutInADarkScheme_data()
    {
        QTest::addColumn<QColor>("ink");
        QTest::newRow("black") << QColor(Qt::black);
        QTest::newRow("navy") << QColor(0, 0, 128);
        QTest::newRow("grey") << QColor(128, 128, 128);
        QTest::newRow("yellow") << QColor(Qt::yellow);
        QTest::newRow("white") << QColor(Qt::white);
    }

    void printPreviewStandsOutInADarkScheme()
    {
        QFETCH(QColor, ink);
        const QPalette scheme = QApplication::palette();
        QApplication::setPalette(darkPalette());
        AppState state;
        PrintFont font = state.options.printFont();
        font.colour = toRgbValue(ink);
        font.bold = true;
        state.options.setPrintFont(font);
        // The preferences show the font the store holds when they open.
        QVERIFY(!applySettings(font.writes(PrintFont{})));
        state.records.append(ConversionRecord{"Length", "metre (m)", "foot (ft)", "2.5", "8.202"});

        RecordsWindow records(state.records, state.options);
        records.show();
        QVERIFY(QTest::qWaitForWindowExposed(&records));
        PreferencesDialog preferences(state.options, {});
        preferences.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preferences));
        for (QWidget *preview : {records.findChild<QPlainTextEdit *>("txtRecords")->viewport(), preferences.findChild<QWidget *>("lblFont")}) {
            const Drawn seen = drawn(preview, ink);
            QVERIFY2(seen.inkShown, qPrintable(preview->objectName()));
            QVERIFY2(contrast(seen.background, ink) >= 4.5, qPrintable(preview->objectName() + ": " + seen.background.name()));
        }
        QApplication::setPalette(scheme);
    }

    // The help's links are read on its background, in a light scheme and in
    // a dark one whose own link colour is too dark for it.
    void helpLinksStandOut_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }

    void helpLinksStandOut()
    {
        QFETCH(bool, dark);
        const QPalette scheme = QApplication::palette();
        if (dark)
            QApplication::setPalette(darkPalette());
        {
            QWidget owner;
            HelpViewer viewer(&owner);
            viewer.showContents();
            const QPalette shown = viewer.helpWindow()->findChild<QWidget *>("text")->palette();
            for (const auto role : {QPalette::Link, QPalette::LinkVisited})
                QVERIFY(contrast(shown.color(role), shown.color(QPalette::Base)) >= 4.5);
        }
        QApplication::setPalette(scheme);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
