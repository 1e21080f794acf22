// How ruvola-batch names the file of each symbol.
#pragma once

#include <QString>

// The file name for one symbol: {line}, {symbology}, {message} and {addon} in pattern
// replaced, each text with the characters that would make it a path, or awkward in
// one, as '_'.
QString FileName(const QString& pattern, int line, const QString& symbology, const QString& message,
                 const QString& addOn);

// Whether every line's name from pattern differs from every other line's by its line
// number alone: its file name starts with {line} and then a character that is not a
// digit, in a folder without placeholders ("{line}-{symbology}-{message}.png").
bool NamesDifferByLine(const QString& pattern);
