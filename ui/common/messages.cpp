#include "ui/common/messages.h"

#include "rules/filefailure.h"

namespace quantix {

MessageSpec dialogError(ErrorNumber number)
{
    return {QLatin1String("Error #  ") + QString::number(toInt(number)) + QLatin1String(" occurred. ") + describe(number),
            QMessageBox::Warning};
}

MessageSpec settingsError(const FileFailure &failure)
{
    MessageSpec message = dialogError(ErrorNumber::PathFileAccess);
    message.text += QLatin1String("\n\n") + settingsNotStoredText(failure);
    return message;
}

}

namespace quantix::Messages {

namespace {

Handler &handler()
{
    static Handler current;
    return current;
}

}

QMessageBox::StandardButton show(QWidget *parent, const MessageSpec &message)
{
    if (handler())
        return handler()(parent, message);
    QMessageBox box(message.icon, message.title, message.text, message.buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (message.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(message.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setHandler(Handler h)
{
    handler() = std::move(h);
}

}
