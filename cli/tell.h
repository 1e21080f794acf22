// How ruvola-batch tells a fault on standard error.
#pragma once

#include <QString>

// text with each control character shown as an escape (\0, \t, \x01, \x7f), so that
// a told line is whole on a terminal and in a log, whatever a message held.
QString Visible(const QString& text);

// "ruvola-batch: line N: error", or without the line where line is 0.
void TellFault(int line, const QString& error);
