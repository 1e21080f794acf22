// Every sentence a refused build tells the user, and the digit checks behind some of
// them, written once for the editors and the command line alike.
#pragma once

#include <QString>
#include <string>

#include "symbols/kind.h"

namespace symbols {

// The first character of text that is not one of the digits 0 to 9, whole where it
// takes two UTF-16 units; empty when there is none.
QString FirstNonDigit(const QString& text);
// The conversion errors the EAN/UPC encoders raise for a pasted non-digit, raised
// before anything is drawn and on the text as typed: the engines see its UTF-8 bytes,
// in which one letter beyond ASCII is several characters and changes the length.
// A message names its first non-digit; an add-on of two is named whole, of five by
// its first non-digit, as the add-on encoder converts them.
void RequireMessageDigits(const QString& message);
void RequireAddOnDigits(const QString& addOn);
// The add-on's length in characters is 0, 2 or 5.
bool AddOnLengthAccepted(const QString& addOn);

// Why an EAN/UPC message of kind is refused before anything is drawn: its length, and
// for EAN-13 a character that is not a digit (the others raise the conversion error
// later); Code 39: characters without a pattern. Empty when it passes.
QString MessageNotice(Kind kind, const QString& message);
QString MessageLengthNotice(int digits);  // "The 'Bar code message' must contain 12 numbers."
QString NotADigitNotice(const QString& character);
// The add-on named as its box's label starts: "Ean13", "Upc-a", "Ean8", "Upc-e".
QString AddOnLengthNotice(Kind kind);
QString Ean13WidthNotice();
QString Code39TooShortNotice();
// The sentence shown for a status code of the Code 39 engine's SetParams; empty for 0.
QString Code39StatusNotice(int code);
// The notice for characters without a Code 39 pattern (UTF-8): the first ten named
// whole, then how many more.
QString UnencodableNotice(const std::string& characters);

// Why a picture of this size is not drawn: nothing to draw, or too large; empty when
// it may be drawn.
QString SizeNotice(long long width, long long height);
// The size notice of a picture that could not be had.
QString TooLargeNotice(long long width, long long height);

}  // namespace symbols
