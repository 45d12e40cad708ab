#pragma once

#include "ui/main/mainwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include <memory>

namespace quantix::testing {

// The main window driven as a user drives it, for the test classes that
// derive from it: open it, find its controls by name, choose from its lists,
// enter a value and read the result.
class MainWindowDriver
{
protected:
    std::unique_ptr<MainWindow> m_window;

    // Shows a new main window and waits until it is active.
    void open();

    template<typename T>
    T *child(const char *name) { return m_window->findChild<T *>(QLatin1String(name)); }
    QComboBox *combo(const char *name) { return child<QComboBox>(name); }
    QAction *action(const char *name) { return child<QAction>(name); }
    QLineEdit *input() { return child<QLineEdit>("txtunit1"); }
    QString result() { return child<QLineEdit>("lblconv")->text(); }

    // A selection as the user makes it: the list's activated signal.
    void choose(const char *list, const QString &text);
    void chooseConversion(const QString &quantity, const QString &from, const QString &to);
    // Types into the input key by key, as the user does.
    void type(const QString &text);
    // A key where the keyboard is: an open menu, else the focused control.
    void press(QKeyCombination key);
    // Opens the pop-up with a right click on the window's background and
    // chooses the item of the command `action` there, as a user does.
    void chooseFromPopup(const char *action);
    // Chooses the conversion and puts the value into the input at once.
    void convert(const QString &quantity, const QString &from, const QString &to, const QString &value);
    // The same for the quantity already chosen.
    void convert(const QString &from, const QString &to, const QString &value);
};

}
