#include "rules/filefailure.h"

#include "engine/stringtable.h"
#include "settings/settingsstore.h"

#include <QDir>

namespace quantix {

namespace {

QString shownName(const FileFailure &failure)
{
    return QDir::toNativeSeparators(failure.fileName);
}

}

QString failureReason(const FileFailure &failure)
{
    switch (failure.reason) {
    case FileFailure::Reason::NotRegularFile: return str(1271);
    case FileFailure::Reason::TooLarge: return str(1272).arg(failure.maxSize / (1024 * 1024));
    case FileFailure::Reason::Locked: return str(1273).arg(settingsLockTimeoutMs / 1000);
    case FileFailure::Reason::System: break;
    }
    return failure.systemText;
}

QString settingsNotStoredText(const FileFailure &failure)
{
    return str(1270).arg(shownName(failure), failureReason(failure));
}

QString unusableSettingsText(const FileFailure &failure)
{
    return str(1274).arg(shownName(failure), failureReason(failure));
}

QString recordsNotSavedText(const FileFailure &failure)
{
    return str(1275).arg(shownName(failure), failureReason(failure));
}

}
