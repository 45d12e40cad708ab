#include "support/designfont.h"

#include "ui/common/uisupport.h"

#include <QApplication>

namespace quantix::testing {

DesignFont::DesignFont()
    : m_previous(QApplication::font())
{
    QApplication::setFont(font());
}

DesignFont::~DesignFont()
{
    QApplication::setFont(m_previous);
}

QFont DesignFont::font()
{
    installFontSubstitutes();
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

}
