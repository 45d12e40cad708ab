#include "engine/catalogue.h"
#include "support/mainwindowdriver.h"
#include "ui/about/aboutbox.h"
#include "ui/common/uisupport.h"
#include "ui/help/helpviewer.h"
#include "ui/main/findunitdialog.h"
#include "ui/newunit/newunitdialog.h"
#include "ui/preferences/preferencesdialog.h"
#include "ui/records/recordswindow.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace quantix;
using namespace quantix::testing;

namespace {

QtMessageHandler defaultMessageHandler = nullptr;

// The offscreen platform's notes on what it cannot do are noise here.
void quietMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    defaultMessageHandler(type, context, message);
}

// The design's control font: 8-point MS Sans Serif, which the program finds
// under its metric-compatible substitute.
QFont designFont()
{
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

QString describe(const QWidget *widget)
{
    const QRect r = widget->geometry();
    return widget->window()->objectName() + u'/' + widget->objectName()
        + QStringLiteral(" %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString sizes(const QSize &shown, const QSize &needed)
{
    return QStringLiteral(" is %1x%2, needs %3x%4").arg(shown.width()).arg(shown.height()).arg(needed.width()).arg(needed.height());
}

bool isOurs(const QWidget *widget)
{
    return !widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_"));
}

// Where a control shows text, the text is whole: the control is at least as
// large as its text needs (a wrapping text as tall as it is at the control's
// width). Empty when it is, else what is cut.
QString cutText(QWidget *widget)
{
    const QSize size = widget->size();
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().isEmpty())
            return {};
        if (label->wordWrap()) {
            const bool widthFree = label->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored;
            const QSize needed(widthFree ? 0 : label->minimumSizeHint().width(), label->heightForWidth(size.width()));
            return size.expandedTo(needed) == size ? QString() : sizes(size, needed);
        }
        return size.expandedTo(label->sizeHint()) == size ? QString() : sizes(size, label->sizeHint());
    }
    if (auto *button = qobject_cast<QAbstractButton *>(widget); button && !button->text().isEmpty())
        return size.expandedTo(button->sizeHint()) == size ? QString() : sizes(size, button->sizeHint());
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        return size.expandedTo(group->minimumSizeHint()) == size ? QString() : sizes(size, group->minimumSizeHint());
    if (auto *tabs = qobject_cast<QTabWidget *>(widget))
        return tabs->tabBar()->width() >= tabs->tabBar()->sizeHint().width() ? QString()
                                                                             : sizes(tabs->tabBar()->size(), tabs->tabBar()->sizeHint());
    if (auto *bar = qobject_cast<QMenuBar *>(widget))
        return size.width() >= bar->sizeHint().width() ? QString() : sizes(size, bar->sizeHint());
    // A spin box's editor is drawn without a frame of its own: the box is
    // what must be large enough.
    if (qobject_cast<QLineEdit *>(widget) && qobject_cast<QAbstractSpinBox *>(widget->parentWidget()))
        return {};
    if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractSpinBox *>(widget)) {
        const QSize needed(widget->minimumSizeHint().width(), widget->sizeHint().height());
        return size.expandedTo(needed) == size ? QString() : sizes(size, needed);
    }
    return {};
}

// A window as a user sees it: no text cut, no two controls on top of one
// another, and every control inside the one that holds it.
void checkLayout(QWidget *window)
{
    QList<QWidget *> leaves;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget->window() != window || !widget->isVisible())
            continue;
        const QString cut = cutText(widget);
        QVERIFY2(cut.isEmpty(), qPrintable(describe(widget) + cut));
        if (!isOurs(widget))
            continue;
        QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), qPrintable(describe(widget) + " leaves its parent"));
        const QList<QWidget *> inside = widget->findChildren<QWidget *>();
        if (std::none_of(inside.begin(), inside.end(), [](const QWidget *child) { return child->isVisible() && isOurs(child); }))
            leaves << widget;
    }
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        const QRect first(leaves[i]->mapTo(window, QPoint(0, 0)), leaves[i]->size());
        for (qsizetype j = i + 1; j < leaves.size(); ++j) {
            const QRect second(leaves[j]->mapTo(window, QPoint(0, 0)), leaves[j]->size());
            QVERIFY2(!first.intersects(second), qPrintable(describe(leaves[i]) + " overlaps " + describe(leaves[j])));
        }
    }
}

void showAndWait(QWidget *window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

}

// Every window at the fonts a desktop may give it, from 7 to 20 points, at
// the design's font and without its metric-compatible fonts: nothing cut,
// nothing on top of anything else; at the design's font, the design's size.
class TestFormLayouts : public QObject, public MainWindowDriver
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QFont m_defaultFont;

private slots:
    void initTestCase()
    {
        defaultMessageHandler = qInstallMessageHandler(quietMessageHandler);
        QLocale::setDefault(QLocale::c());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        installFontSubstitutes();
        m_defaultFont = QApplication::font();
    }

    void cleanup()
    {
        m_window.reset();
        QApplication::setFont(m_defaultFont);
    }

    void windowsKeepTheirTextsWhole_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QFont>("font");
        const QList<std::pair<const char *, QFont>> fonts{
            {"design", designFont()},
            {"default", QApplication::font()},
            {"7 pt", QFont(QStringLiteral("DejaVu Sans"), 7)},
            // The design's font where its metric-compatible fonts are missing.
            {"no Liberation", QFont(QStringLiteral("DejaVu Sans"), 8)},
            {"16 pt", QFont(QStringLiteral("DejaVu Sans"), 16)},
            {"20 pt serif", QFont(QStringLiteral("DejaVu Serif"), 20)},
        };
        for (const char *window : {"main", "find", "about", "splash", "records", "preferences", "newunit", "help"}) {
            for (const auto &[name, font] : fonts)
                QTest::newRow(QByteArray(window).append(", ").append(name).constData()) << QString::fromLatin1(window) << font;
        }
    }

    void windowsKeepTheirTextsWhole()
    {
        QFETCH(QString, window);
        QFETCH(QFont, font);
        QApplication::setFont(font);
        if (window == u"main") {
            open();
            // The longest names in the lists and a result at its longest.
            convert("Thermal Conductivity", "calorie per second·cm·°C (cal/s·cm·°C)", "Btu per hour foot-deg F (Btu/h·ft·°F)",
                    "-1.23456789e-300");
            m_window->state().options.setDecimalPlaces(8);
            m_window->decimals();
            checkLayout(m_window.get());
        } else if (window == u"find") {
            FindUnitDialog find{UnitFinder()};
            showAndWait(&find);
            checkLayout(&find);
        } else if (window == u"about" || window == u"splash") {
            AboutBox about;
            if (window == u"splash")
                about.ShowAbout(1);
            showAndWait(&about);
            checkLayout(&about);
        } else if (window == u"records") {
            AppState state;
            RecordsWindow records(state.records, state.options);
            showAndWait(&records);
            checkLayout(&records);
        } else if (window == u"preferences") {
            Options options;
            PreferencesDialog preferences(options, {});
            showAndWait(&preferences);
            auto *tabs = preferences.findChild<QTabWidget *>("tabstrip");
            for (int tab = 0; tab < tabs->count(); ++tab) {
                tabs->setCurrentIndex(tab);
                checkLayout(&preferences);
            }
        } else if (window == u"newunit") {
            // Power's base unit has the longest name.
            const UserUnitStore store;
            NewUnitDialog dialog(Catalogue::instance().positionOfName(u"Power"), store);
            showAndWait(&dialog);
            checkLayout(&dialog);
        } else if (window == u"help") {
            QWidget owner;
            HelpViewer viewer(&owner);
            viewer.showContents();
            QVERIFY(viewer.helpWindow());
            QVERIFY(QTest::qWaitForWindowExposed(viewer.helpWindow()));
            checkLayout(viewer.helpWindow());
        }
    }

    // At the design's font the windows have the design's sizes, in twips:
    // the main window's client width, the about box's and the splash's
    // client areas as their outer sizes leave them, the new-unit dialog's
    // client area. (The preferences' are tested with its pages.)
    void designSizesAtTheDesignFont()
    {
        QApplication::setFont(designFont());
        open();
        QCOMPARE(m_window->width(), 5985 / 15);
        AboutBox about;
        QCOMPARE(about.size(), QSize((3800 - 120) / 15, 169));
        about.ShowAbout(1);
        QCOMPARE(about.size(), QSize((3800 - 120) / 15, (2385 - 120 - 390) / 15));
        const UserUnitStore store;
        NewUnitDialog dialog(Catalogue::instance().positionOfName(u"Length"), store);
        QCOMPARE(dialog.size(), QSize(7725 / 15, 5535 / 15));
    }
};

QTEST_MAIN(TestFormLayouts)
#include "tst_formlayouts.moc"
