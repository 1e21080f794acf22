// Numbers as the user sees them: the general floating-point form with up to 15
// significant digits and the locale's decimal separator, both ways. A text that
// does not convert raises ConvertError with the program's fixed sentence.
#pragma once

#include <QLocale>
#include <QString>

#include "engines/errors.h"

namespace platform {

using ConvertError = engines::ConvertError;

QString FloatToStr(double value, const QLocale& locale = QLocale());
bool TryStrToFloat(const QString& text, double& value, const QLocale& locale = QLocale());
double StrToFloat(const QString& text, const QLocale& locale = QLocale());
// An empty box counts as 0; any other text must convert.
double StrToFloatOrZero(const QString& text, const QLocale& locale = QLocale());
int StrToInt(const QString& text);

}  // namespace platform
