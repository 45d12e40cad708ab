#pragma once

#include "settings/printfont.h"

#include <QByteArray>
#include <QString>

namespace quantix {

// The records text as an RTF document in the print font: its name, size,
// bold, italic, underline and colour apply to the whole text. Line breaks
// (CR LF, CR, LF or a paragraph separator) become paragraphs. The result is
// plain ASCII: other characters are written as \uN escapes followed by
// their Windows-1252 byte (or "?") for readers without Unicode, so the file
// reads the same whatever code page the reader assumes.
QByteArray recordsRtf(const QString &text, const PrintFont &font);

}
