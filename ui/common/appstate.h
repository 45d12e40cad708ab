#pragma once

#include "records/conversionrecords.h"
#include "rules/options.h"
#include "rules/selectionrules.h"

namespace quantix {

// The run-wide state the main window owns: the conversion in progress, the
// options and the records. The preferences change the options and the
// records window keeps the records' flags; nothing here is saved by itself.
struct AppState
{
    ConversionState conversion;
    Options options;
    ConversionRecords records;
};

}
