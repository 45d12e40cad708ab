#include "rules/options.h"

namespace quantix {

void Options::setNumberStyle(NumberStyle style)
{
    if (style.decimals < 0 || style.decimals > 8)
        style.decimals = 3;
    if (style.decimals == m_numberStyle.decimals && style.scientific == m_numberStyle.scientific)
        return;
    m_numberStyle = style;
    emit numberStyleChanged();
}

}
