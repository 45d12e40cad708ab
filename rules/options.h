#pragma once

#include "engine/numbers.h"
#include "settings/printfont.h"

#include <QObject>
#include <QString>

namespace quantix {

// The options of the run that the preferences change: the number style,
// exit confirmation, the shell program and the print font. Whatever shows
// the number style follows numberStyleChanged().
class Options : public QObject
{
    Q_OBJECT

public:
    NumberStyle numberStyle() const { return m_numberStyle; }
    bool scientific() const { return m_numberStyle.scientific; }
    int decimalPlaces() const { return m_numberStyle.decimals; }
    // Decimal places outside 0 to 8 (a damaged store) become 3, significant
    // digits outside 1 to 15 become 6.
    void setNumberStyle(NumberStyle style);
    void setScientific(bool scientific)
    {
        NumberStyle style = m_numberStyle;
        style.scientific = scientific;
        setNumberStyle(style);
    }
    void setDecimalPlaces(int places)
    {
        NumberStyle style = m_numberStyle;
        style.decimals = places;
        setNumberStyle(style);
    }

    bool confirmExit() const { return m_confirmExit; }
    void setConfirmExit(bool confirm) { m_confirmExit = confirm; }

    const QString &shellProgram() const { return m_shellProgram; }
    void setShellProgram(const QString &program) { m_shellProgram = program; }

    const PrintFont &printFont() const { return m_printFont; }
    void setPrintFont(const PrintFont &font) { m_printFont = font; }

signals:
    void numberStyleChanged();

private:
    NumberStyle m_numberStyle;
    bool m_confirmExit = true;
    QString m_shellProgram;
    PrintFont m_printFont;
};

// The stored number style: `numericformatting` and `scientific` as ever,
// and the further styles' keys (`significant`, `significantdigits`,
// `engineering`, `grouping`, `leadingzero`, `inchfraction`), whose absence
// leaves a style as it was. A text that does not read keeps the choice of
// current.
NumberStyle storedNumberStyle(const NumberStyle &current);

}
