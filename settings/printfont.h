#pragma once

#include "settings/settingsstore.h"

#include <QString>

namespace quantix {

// The font in which conversion records are shown, saved and printed.
struct PrintFont
{
    QString name = QStringLiteral("Arial");
    QString size = QStringLiteral("12");  // points, as the store holds it
    quint32 colour = 0;                   // RGB value: red + green × 256 + blue × 65536
    bool underline = false;
    bool italic = false;
    bool bold = false;

    // Reads the six font keys with their defaults. A stored text that does
    // not convert keeps the value `current` has.
    static PrintFont load(const PrintFont &current);

    // The writes of fontname, fontsize, fontunderline, fontbold, fontitalic
    // and fontcolour, in this order. A value as in `shown`, the font the
    // user started from, keeps what the store holds by then.
    SettingWrites writes(const PrintFont &shown) const;

    double pointSize() const;  // the size as a number; 12 when it is not one
    friend bool operator==(const PrintFont &, const PrintFont &) = default;
};

}
