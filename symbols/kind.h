// The five symbologies, one name for each wherever a build is prepared, drawn or checked,
// with the names the user meets: in the settings file and the status bar, in the
// Symbology menu and on the command line.
#pragma once

#include <optional>
#include <string_view>

namespace symbols {

enum class Kind { Code39, Ean13, Ean8, UpcA, UpcE };

struct KindNames {
    Kind kind;
    const char* stored;       // the settings file's name, also the status bar's text
    const char* caption;      // the Symbology menu's item
    const char* commandLine;  // ruvola-batch's
    int messageDigits;        // the message's length; 0: Code 39 takes any
    const char* addOnLabel;   // how the add-on's box and notice name it; none for Code 39
};

const KindNames& NamesOf(Kind kind);

// A command-line name ("code39", "ean13", ...; any case, "-" and "_" ignored; "c39" too).
std::optional<Kind> KindNamed(std::string_view name);

}  // namespace symbols
