#pragma once

#include "settings/printfont.h"
#include "settings/wholefile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quantix {

// A records file is plain text when its name ends in ".txt" (in any letter
// case) and RTF otherwise, whatever filter the save dialog showed.
bool isPlainTextRecordsFile(const QString &fileName);

// What a records file holds: the text followed by one CR LF in the locale's
// 8-bit encoding, or the RTF document in the print font.
QByteArray recordsFileContent(const QString &fileName, const QString &text, const PrintFont &font);

// Writes content to fileName so that a failure never leaves a half-written
// file nor harms the file that was there (replaceFile): a FIFO or a device
// at the name is refused. Returns why the file could not be written.
std::optional<FileFailure> writeRecordsFile(const QString &fileName, const QByteArray &content);

}
