#include "support/mainwindowdriver.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

namespace quantix::testing {

void MainWindowDriver::open()
{
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void MainWindowDriver::choose(const char *list, const QString &text)
{
    QComboBox *box = combo(list);
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void MainWindowDriver::chooseConversion(const QString &quantity, const QString &from, const QString &to)
{
    choose("cboquantity", quantity);
    choose("cbounit1", from);
    choose("cbounit2", to);
}

void MainWindowDriver::type(const QString &text)
{
    input()->setFocus();
    QTest::keyClicks(input(), text);
}

void MainWindowDriver::press(QKeyCombination key)
{
    QWidget *target = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

void MainWindowDriver::chooseFromPopup(const char *name)
{
    auto *background = child<QWidget>("centralwidget");
    const QPoint at(2, 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, background->mapToGlobal(at));
    QApplication::sendEvent(background, &event);
    auto *popup = child<QMenu>("mnuview2");
    QTRY_VERIFY(popup->isVisible());
    QAction *item = action(name);
    QVERIFY2(popup->actions().contains(item), name);
    popup->setActiveAction(item);
    QTest::keyClick(popup, Qt::Key_Return);
    QTRY_VERIFY(!popup->isVisible());
    // The event loop runs on, as it does between a user's actions.
    QCoreApplication::processEvents();
}

void MainWindowDriver::convert(const QString &quantity, const QString &from, const QString &to, const QString &value)
{
    choose("cboquantity", quantity);
    convert(from, to, value);
}

void MainWindowDriver::convert(const QString &from, const QString &to, const QString &value)
{
    choose("cbounit1", from);
    choose("cbounit2", to);
    input()->setText(value);
}

}
