// The symbologies, one name for each wherever a build is prepared, drawn or checked,
// with the names the user meets: in the settings file and the status bar, in the
// Symbology menu and on the command line.
#pragma once

#include <optional>
#include <string_view>

namespace symbols {

enum class Kind { Code39, Ean13, Ean8, UpcA, UpcE, Code128, Gs1_128, Itf14 };

struct KindNames {
    Kind kind;
    const char* stored;       // the settings file's name, also the status bar's text
    const char* caption;      // the Symbology menu's item
    const char* commandLine;  // ruvola-batch's
    // The message's length; 0 where the encoder judges it (Code 39, Code 128 and GS1-128
    // take any length, ITF-14 13 or 14 digits).
    int messageDigits;
    const char* addOnLabel;   // how the add-on's box and notice name it; none without an add-on
};

const KindNames& NamesOf(Kind kind);
// The symbology's name in a sentence: "Code 39", "EAN-13", "GS1-128", ...
const char* SymbologyName(Kind kind);

// ITF-14's bearer bars: a frame round the bars and their quiet zones, bars above and
// below them only (where the printing needs no frame), or none.
enum class Bearers { Frame, TopBottom, None };

// A command-line name ("code39", "ean13", ...; any case, "-" and "_" ignored; "c39" too).
std::optional<Kind> KindNamed(std::string_view name);

}  // namespace symbols
