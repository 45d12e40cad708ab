#pragma once

#include "ui/common/messages.h"

#include <QList>

namespace quantix::testing {

// The message boxes shown since the last clear(), in order; while installed
// it answers every box with `answer` instead of showing it.
class MessageLog : public QList<MessageSpec>
{
public:
    QMessageBox::StandardButton answer = QMessageBox::Ok;

    MessageLog() = default;
    MessageLog(const MessageLog &) = delete;
    MessageLog &operator=(const MessageLog &) = delete;
    ~MessageLog();

    // Takes over every message box of the program from here on.
    void install();

private:
    bool m_installed = false;
};

}
