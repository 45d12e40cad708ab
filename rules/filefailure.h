#pragma once

#include "settings/wholefile.h"

#include <QString>

namespace quantix {

// The messages about a file the program keeps, each naming the file and
// saying why it failed (the system's reason or one of the program's own).
QString failureReason(const FileFailure &failure);

// A write of the settings that did not happen.
QString settingsNotStoredText(const FileFailure &failure);

// A settings file that cannot be used at all: the defaults are used.
QString unusableSettingsText(const FileFailure &failure);

// Conversion records that could not be saved.
QString recordsNotSavedText(const FileFailure &failure);

}
