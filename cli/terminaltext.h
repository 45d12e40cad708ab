#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <string_view>

namespace quantix {

// How much of a value a message shows.
inline constexpr int shownCharacters = 60;
// Bytes that always hold the shown characters (UTF-8 takes at most four
// for each) and tell whether more follow.
inline constexpr std::size_t shownBytes = 4 * shownCharacters + 16;

// A value as messages quote it: its first 60 characters, then "..." when
// more follow in start or `cut` says that the value goes on after start.
// Invalid UTF-8 shows as U+FFFD, control characters and backslashes as
// escapes (\0, \t, \x1b, \u009b, \\), so the quote is one line of plain text.
QString quotedValue(std::string_view start, bool cut);

// The text with its control characters other than line feeds as escapes.
QString withControlsEscaped(QStringView text);

}
