#include "support/messagelog.h"

namespace quantix::testing {

MessageLog::~MessageLog()
{
    // The handler refers to this log; no box may reach it once it is gone.
    if (m_installed)
        Messages::setHandler({});
}

void MessageLog::install()
{
    Messages::setHandler([this](QWidget *, const MessageSpec &message) {
        append(message);
        return answer;
    });
    m_installed = true;
}

}
