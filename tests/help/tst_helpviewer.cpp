#include "support/contextmenu.h"
#include "support/messagelog.h"
#include "ui/help/helpviewer.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextTable>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <QWhatsThisClickedEvent>

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

// The help window, if one is on screen; fails the test if there are two.
QWidget *shownHelpWindow()
{
    QWidget *found = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"yellow" && widget->isVisible()) {
            if (found)
                qFatal("two help windows");
            found = widget;
        }
    }
    return found;
}

QWidget *shownWhatsThisPopup()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QWhatsThat") && widget->isVisible())
            return widget;
    }
    return nullptr;
}

QString helpText()
{
    return shownHelpWindow()->findChild<QTextBrowser *>(QStringLiteral("text"))->toPlainText();
}

// Clicks the link to href in the help window's text, where a user sees it.
bool clickLink(const QString &href)
{
    auto *browser = shownHelpWindow()->findChild<QTextBrowser *>(QStringLiteral("text"));
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.fragment().position() + 1);
            const QPoint at = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    }
    return false;
}

void clickButton(const char *name)
{
    QTest::mouseClick(shownHelpWindow()->findChild<QToolButton *>(QLatin1String(name)), Qt::LeftButton);
}

}

// The help window, the contents and search, and What's This, offscreen and
// driven as a user drives them.
class TestHelpViewer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    MessageLog m_messages;
    std::unique_ptr<QWidget> m_owner;

    // A stand-in for the main window with a few of its controls.
    void createOwner()
    {
        m_owner = std::make_unique<QWidget>();
        m_owner->setObjectName(QStringLiteral("frmMain"));
        auto *layout = new QVBoxLayout(m_owner.get());
        auto *caption = new QLabel(QStringLiteral("Select quantity:"));
        caption->setObjectName(QStringLiteral("lblquantity"));
        auto *input = new QLineEdit;
        input->setObjectName(QStringLiteral("txtunit1"));
        auto *other = new QPushButton(QStringLiteral("no help"));
        other->setObjectName(QStringLiteral("other"));
        auto *status = new QStatusBar;
        status->setObjectName(QStringLiteral("StatusBar"));
        auto *panel = new QLabel(QStringLiteral("Click to record conversion"));
        panel->setObjectName(QStringLiteral("StatusBarPanel2"));
        status->addWidget(panel);
        layout->addWidget(caption);
        layout->addWidget(input);
        layout->addWidget(other);
        layout->addWidget(status);
        m_owner->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_owner.get()));
    }

    template<typename T = QWidget>
    T *control(const char *name) { return m_owner->findChild<T *>(QLatin1String(name)); }

    static QString shippedFile() { return helpFilePath(); }

private slots:
    void initTestCase()
    {
        defaultMessageHandler = qInstallMessageHandler(quietMessageHandler);
        QLocale::setDefault(QLocale::c());
        m_messages.install();
        QVERIFY(QFile::exists(shippedFile()));
    }

    void init()
    {
        m_messages.clear();
        createOwner();
    }

    void cleanup()
    {
        QWhatsThis::hideText();
        QWhatsThis::leaveWhatsThisMode();
        m_owner.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!shownHelpWindow());
    }

    void showTopicOpensTheYellowWindow_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("physical constants") << 100 << "Physical Constants - Quantix 96 Help"
                                            << QStringList{"speed of light in vacuum", "299 792 458", "6.626 070 15"};
        QTest::newRow("metric prefixes") << 105 << "Metric Prefixes - Quantix 96 Help" << QStringList{"quecto", "quetta", "1 000 000"};
    }

    void showTopicOpensTheYellowWindow()
    {
        QFETCH(int, context);
        QFETCH(QString, title);
        QFETCH(QStringList, texts);
        HelpViewer viewer(m_owner.get(), shippedFile());
        viewer.showTopic(context);
        QWidget *window = shownHelpWindow();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window, viewer.helpWindow());
        QVERIFY(window->isWindow());
        QCOMPARE(window->windowTitle(), title);
        for (const QString &text : std::as_const(texts))
            QVERIFY2(helpText().contains(text), qPrintable(text));
        QVERIFY(m_messages.isEmpty());
    }

    // State: constants shown. Action: metric prefixes, then Back and Forward.
    // Expected: one window that walks the history.
    void oneWindowWithHistory()
    {
        HelpViewer viewer(m_owner.get(), shippedFile());
        viewer.showTopic(100);
        QWidget *window = shownHelpWindow();
        viewer.showTopic(105);
        QCOMPARE(shownHelpWindow(), window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Metric Prefixes - Quantix 96 Help"));
        clickButton("back");
        QCOMPARE(window->windowTitle(), QStringLiteral("Physical Constants - Quantix 96 Help"));
        QVERIFY(!window->findChild<QToolButton *>(QStringLiteral("back"))->isEnabled());
        clickButton("forward");
        QCOMPARE(window->windowTitle(), QStringLiteral("Metric Prefixes - Quantix 96 Help"));
        QVERIFY(!window->findChild<QToolButton *>(QStringLiteral("forward"))->isEnabled());
    }

    void linksLeadToTheirTopics()
    {
        HelpViewer viewer(m_owner.get(), shippedFile());
        viewer.showContents();
        QWidget *window = shownHelpWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), QStringLiteral("Contents - Quantix 96 Help"));
        QVERIFY(clickLink(QStringLiteral("topic:100")));
        QCOMPARE(window->windowTitle(), QStringLiteral("Physical Constants - Quantix 96 Help"));
        QVERIFY(clickLink(QStringLiteral("topic:105")));
        QCOMPARE(window->windowTitle(), QStringLiteral("Metric Prefixes - Quantix 96 Help"));
        clickButton("back");
        clickButton("back");
        QCOMPARE(window->windowTitle(), QStringLiteral("Contents - Quantix 96 Help"));
    }

    void contentsSearch()
    {
        HelpViewer viewer(m_owner.get(), shippedFile());
        viewer.showContents();
        QWidget *window = shownHelpWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *query = window->findChild<QLineEdit *>(QStringLiteral("search"));
        auto *hits = window->findChild<QListWidget *>(QStringLiteral("hits"));
        QVERIFY(query->isVisible() && hits->isVisible());
        const auto titles = [hits] {
            QStringList shown;
            for (int i = 0; i < hits->count(); ++i)
                shown << hits->item(i)->text();
            return shown;
        };
        // Before any word: every full topic, no pop-up texts.
        QVERIFY(titles().contains(QStringLiteral("Physical Constants")) && titles().contains(QStringLiteral("Metric Prefixes")));
        QVERIFY(!titles().contains(QStringLiteral("Initial value")));

        QTest::keyClicks(query, QStringLiteral("Quetta"));
        QVERIFY(titles().contains(QStringLiteral("Metric Prefixes")));
        QVERIFY(!titles().contains(QStringLiteral("Physical Constants")));
        const QList<QListWidgetItem *> found = hits->findItems(QStringLiteral("Metric Prefixes"), Qt::MatchExactly);
        QTest::mouseClick(hits->viewport(), Qt::LeftButton, {}, hits->visualItemRect(found.value(0)).center());
        QCOMPARE(window->windowTitle(), QStringLiteral("Metric Prefixes - Quantix 96 Help"));

        // Two controls share the caption "Converted result": their pop-up
        // texts are not topics of the window and are not listed.
        query->clear();
        QTest::keyClicks(query, QStringLiteral("converted result"));
        const QStringList listed = titles();
        QVERIFY(!listed.isEmpty());
        QVERIFY(!listed.contains(QStringLiteral("Converted result")));
        QCOMPARE(QSet<QString>(listed.cbegin(), listed.cend()).size(), listed.size());

        QTest::keyClicks(query, QStringLiteral(" zebra"));
        QCOMPARE(titles(), QStringList{QStringLiteral("No topic contains these words.")});
        QCOMPARE(hits->item(0)->flags(), Qt::NoItemFlags);
        QTest::mouseClick(hits->viewport(), Qt::LeftButton, {}, hits->visualItemRect(hits->item(0)).center());
        QCOMPARE(window->windowTitle(), QStringLiteral("Metric Prefixes - Quantix 96 Help"));
    }

    // Every value of the constants table stays on one line, at the window's
    // first size and in a narrow window, where the table scrolls instead.
    void constantsNeverWrapInANumber_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("first size") << 0 << false;
        QTest::newRow("narrow") << 360 << true;
    }

    // The help text and the search box open the program's edit menu on a
    // right click; Select All from it selects the whole topic.
    void rightClickShowsTheProgramsMenu()
    {
        HelpViewer viewer(m_owner.get(), shippedFile());
        viewer.showContents();
        QWidget *window = shownHelpWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *text = window->findChild<QTextBrowser *>(QStringLiteral("text"));
        QCOMPARE(rightClickMenu(text->viewport(), true), (QStringList{"&Copy (greyed)", "Select &All"}));
        QCOMPARE(text->textCursor().selectedText().size(), text->toPlainText().size());
        auto *query = window->findChild<QLineEdit *>(QStringLiteral("search"));
        QCOMPARE(rightClickMenu(query).constLast(), QStringLiteral("Select &All (greyed)"));
    }

    void constantsNeverWrapInANumber()
    {
        QFETCH(int, width);
        QFETCH(bool, scrolls);
        HelpViewer viewer(m_owner.get(), shippedFile());
        viewer.showTopic(100);
        QWidget *window = shownHelpWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (width > 0)
            window->resize(width, window->height());
        auto *browser = window->findChild<QTextBrowser *>(QStringLiteral("text"));
        QTRY_VERIFY(width == 0 || browser->width() < width);
        browser->document()->documentLayout()->documentSize();
        QTextTable *table = nullptr;
        for (QTextFrame *frame : browser->document()->rootFrame()->childFrames())
            table = table ? table : qobject_cast<QTextTable *>(frame);
        QVERIFY(table);
        QCOMPARE(table->cellAt(0, 2).firstCursorPosition().block().text(), QStringLiteral("Value"));
        int values = 0;
        for (int row = 1; row < table->rows(); ++row) {
            const QTextTableCell cell = table->cellAt(row, 2);
            if (cell.column() != 2)
                continue;  // a heading across the table
            const QTextBlock block = cell.firstCursorPosition().block();
            QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
            ++values;
        }
        QVERIFY(values > 40);
        QCOMPARE(browser->horizontalScrollBar()->maximum() > 0, scrolls);
        // Nowhere in the topic does a line break inside a word or a number:
        // only after a blank, a slash or a hyphen.
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            for (int line = 1; line < block.layout()->lineCount(); ++line) {
                const int start = block.layout()->lineAt(line).textStart();
                QVERIFY2(QStringLiteral(" /-").contains(block.text().at(start - 1)), qPrintable(block.text().left(start) + " | " + block.text().mid(start)));
            }
        }
    }

    // The file is read once and kept until quit; after quit it is read again.
    void quitClosesTheWindowAndLetsGoOfTheFile()
    {
        const QString copy = m_dir.filePath(QStringLiteral("Quantix 96.hlp"));
        QFile::remove(copy);
        QVERIFY(QFile::copy(shippedFile(), copy));
        HelpViewer viewer(m_owner.get(), copy);
        viewer.quit();  // nothing open: nothing happens
        viewer.showTopic(100);
        QVERIFY(shownHelpWindow());
        QVERIFY(QFile::remove(copy));
        viewer.showTopic(105);
        QCOMPARE(shownHelpWindow()->windowTitle(), QStringLiteral("Metric Prefixes - Quantix 96 Help"));

        viewer.quit();
        QVERIFY(!shownHelpWindow());
        QVERIFY(!viewer.helpWindow());
        viewer.showTopic(100);
        QVERIFY(!shownHelpWindow());
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].text.contains(QLatin1String("could not be found")));
    }

    // Every request for a missing file says so once, and nothing opens.
    void missingFileIsReportedPerRequest()
    {
        const QString missing = m_dir.filePath(QStringLiteral("nowhere/Quantix 96.hlp"));
        HelpViewer viewer(m_owner.get(), missing);
        QVERIFY(!viewer.installWhatsThis(m_owner.get()));
        QVERIFY(m_messages.isEmpty());

        viewer.showTopic(100);
        QCOMPARE(m_messages.size(), 1);
        MessageSpec expected;
        expected.text = QStringLiteral("The help file \"%1\" could not be found.").arg(QDir::toNativeSeparators(missing));
        expected.icon = QMessageBox::Information;
        QCOMPARE(m_messages[0], expected);
        QCOMPARE(m_messages[0].title, QStringLiteral("Quantix 96"));
        QCOMPARE(m_messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        viewer.showContents();
        viewer.enterWhatsThisMode();
        QVERIFY(!QWhatsThis::inWhatsThisMode());
        QVERIFY(!viewer.showPopupFor(control("txtunit1"), QPoint(10, 10)));
        QCOMPARE(m_messages.size(), 4);
        for (const MessageSpec &shown : std::as_const(m_messages))
            QCOMPARE(shown, expected);
        QVERIFY(!shownHelpWindow());
        QVERIFY(!shownWhatsThisPopup());
    }

    void damagedFileOrUnknownTopicIsReported()
    {
        const QString damaged = m_dir.filePath(QStringLiteral("damaged.hlp"));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("MZ\x90\x00\x03 not help\n");
        file.close();
        HelpViewer broken(m_owner.get(), damaged);
        broken.showTopic(100);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].text.contains(QLatin1String("is damaged: line 1: ")));
        QCOMPARE(m_messages[0].icon, QMessageBox::Information);

        HelpViewer viewer(m_owner.get(), shippedFile());
        viewer.showTopic(4242);
        QCOMPARE(m_messages.size(), 2);
        QVERIFY(m_messages[1].text.endsWith(QLatin1String(" has no topic 4242.")));
        QVERIFY(!shownHelpWindow());
    }

    // State: What's This mode. Action: click the input box.
    // Expected: the input box's topic pops up, and the mode ends.
    void whatsThisShowsTheControlsTopic()
    {
        const HelpFile file = HelpFile::load(shippedFile());
        const HelpTopic *topic = file.popupFor(u"txtunit1");
        QVERIFY(topic);
        HelpViewer viewer(m_owner.get(), shippedFile());
        QSignalSpy shown(&viewer, &HelpViewer::popupShown);
        viewer.enterWhatsThisMode();
        QVERIFY(QWhatsThis::inWhatsThisMode());
        QVERIFY(control("txtunit1")->whatsThis().contains(topic->body));

        QTest::mouseClick(control("txtunit1"), Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0][0].toInt(), topic->context);
        QVERIFY(shownWhatsThisPopup());
        QVERIFY(!QWhatsThis::inWhatsThisMode());
        QVERIFY(m_messages.isEmpty());
    }

    // State: What's This mode, the keyboard in the input box. Action: Enter,
    // Return or Space. Expected: the input box's topic, as a click shows it;
    // the key does not reach the box, and the mode ends.
    void whatsThisByKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }

    void whatsThisByKey()
    {
        QFETCH(int, key);
        HelpViewer viewer(m_owner.get(), shippedFile());
        QSignalSpy shown(&viewer, &HelpViewer::popupShown);
        m_owner->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_owner.get()));
        control("txtunit1")->setFocus();
        viewer.enterWhatsThisMode();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0][0].toInt(), HelpFile::load(shippedFile()).popupFor(u"txtunit1")->context);
        QVERIFY(shownWhatsThisPopup());
        QVERIFY(!QWhatsThis::inWhatsThisMode());
        QCOMPARE(control<QLineEdit>("txtunit1")->text(), QString());

        // Outside the mode the keys are the control's again.
        QWhatsThis::hideText();
        QTest::keyClick(control("txtunit1"), Qt::Key_Space);
        QCOMPARE(control<QLineEdit>("txtunit1")->text(), QStringLiteral(" "));
        QCOMPARE(shown.size(), 1);
    }

    void whatsThisFindsTheNearestControlWithATopic()
    {
        HelpViewer viewer(m_owner.get(), shippedFile());
        const HelpFile file = HelpFile::load(shippedFile());
        QSignalSpy shown(&viewer, &HelpViewer::popupShown);

        // A status panel has no topic of its own: the status bar's is shown.
        viewer.enterWhatsThisMode();
        QTest::mouseClick(control("StatusBarPanel2"), Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0][0].toInt(), file.popupFor(u"StatusBar")->context);
        QWhatsThis::hideText();

        // A control without any topic shows nothing, and the mode ends.
        viewer.enterWhatsThisMode();
        QTest::mouseClick(control("other"), Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QVERIFY(!shownWhatsThisPopup());
        QVERIFY(!QWhatsThis::inWhatsThisMode());
        QVERIFY(!viewer.showPopupFor(control("other"), QPoint()));
    }

    void linkInAPopupOpensItsTopic()
    {
        HelpViewer viewer(m_owner.get(), shippedFile());
        QVERIFY(viewer.installWhatsThis(m_owner.get()));
        QWhatsThisClickedEvent click(QStringLiteral("topic:100"));
        QCoreApplication::sendEvent(control("txtunit1"), &click);
        QVERIFY(shownHelpWindow());
        QCOMPARE(shownHelpWindow()->windowTitle(), QStringLiteral("Physical Constants - Quantix 96 Help"));
    }

    // A dialog of the main window has controls of the same names; they keep
    // their own help.
    void installWhatsThisStaysInItsWindow()
    {
        auto *dialog = new QDialog(m_owner.get());
        auto *dialogLabel = new QLabel(dialog);
        dialogLabel->setObjectName(QStringLiteral("Label1"));
        auto *ownLabel = new QLabel(m_owner.get());
        ownLabel->setObjectName(QStringLiteral("Label1"));
        HelpViewer viewer(m_owner.get(), shippedFile());
        QVERIFY(viewer.installWhatsThis(m_owner.get()));
        QVERIFY(!ownLabel->whatsThis().isEmpty());
        QVERIFY(dialogLabel->whatsThis().isEmpty());
    }
};

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
