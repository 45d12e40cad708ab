#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace quantix::testing {

// The whole settings store at one moment: "section/key" → value, keys as the
// program names them.
using Store = QMap<QString, QString>;

Store storeContents();

// Keys added, changed or removed between two snapshots, sorted.
QStringList changedKeys(const Store &before, const Store &after);

}
