#pragma once

#include "conversionrecords.h"
#include "printfont.h"

#include <QString>

namespace quantix {

// The run-wide state the main window owns and the other windows read and
// write directly. Nothing here is saved by itself.
struct AppState
{
    // The conversion in progress.
    QString rememberedName;  // selected quantity, then the initial unit's name
    QString finalUnitName;
    double inputValue = 0;

    // Options loaded at start-up and changed by the preferences.
    bool confirmExit = true;
    bool scientific = false;
    int decimalPlaces = 3;  // 0 to 8
    QString shellProgram;
    PrintFont printFont;

    ConversionRecords records;
};

}
