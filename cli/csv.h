// One line of a batch file as its fields.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Splits one CSV line: commas between fields, double quotes around a field that holds
// one, "" for a quote inside quotes. Returns nothing for an unclosed quote.
std::optional<QStringList> CsvFields(const QString& line);
