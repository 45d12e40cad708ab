#pragma once

#include "engine/errors.h"
#include "settings/wholefile.h"

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace quantix {

// Everything a modal message box shows. Boxes without a title of their own
// carry "Quantix 96".
struct MessageSpec
{
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString title = QStringLiteral("Quantix 96");

    friend bool operator==(const MessageSpec &, const MessageSpec &) = default;
};

// A dialog's report of a failed confirmation: "Error # ", the number with a
// blank for its sign, " occurred. " and the error's description; exclamation.
MessageSpec dialogError(ErrorNumber number);

// A change of the settings that could not be stored: the dialog error of a
// failed file access, then the file and why it failed.
MessageSpec settingsError(const FileFailure &failure);

// Every modal message box of the program goes through here, so that tests
// can answer them and check what they showed.
namespace Messages {

using Handler = std::function<QMessageBox::StandardButton(QWidget *parent, const MessageSpec &)>;

QMessageBox::StandardButton show(QWidget *parent, const MessageSpec &message);

// Replaces the real QMessageBox; an empty handler restores it.
void setHandler(Handler handler);

}

}
