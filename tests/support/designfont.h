#pragma once

#include <QFont>

namespace quantix::testing {

// The font the windows were designed at, 8-point MS Sans Serif, under its
// metric-compatible substitute; at it every window has its design size. Set
// as the application font for as long as the object lives.
class DesignFont
{
public:
    DesignFont();
    ~DesignFont();
    DesignFont(const DesignFont &) = delete;
    DesignFont &operator=(const DesignFont &) = delete;

    static QFont font();

private:
    QFont m_previous;
};

}
