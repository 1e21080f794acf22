// Files that appear whole or not at all: through a temporary file renamed into place,
// or, for the many small files of a batch, written in place and removed again on
// failure; and an interrupted batch that ends only once its files are whole.
#pragma once

#include <QString>
#include <string_view>

#include "platform/files.h"

namespace platform {

// Writes path through write, renamed into place when whole; the message to show, or
// an empty string.
QString SaveAs(const QString& path, const ContentWriter& write);

// Writes data as the file path, for a batch that writes many small files. A new file
// is written in place and removed again when the write fails; an existing one is replaced
// only once all of data is written beside it. Returns what SaveAs returns.
QString SaveBytes(const QString& path, std::string_view data);

// Makes SIGINT, SIGTERM and SIGHUP end the program only once no file is half written
// by SaveBytes: the signal then takes its default course, as soon as the files being
// written are whole. For a program that writes many files and may be interrupted.
void LetFilesFinishBeforeInterrupts();

}  // namespace platform
