// The five symbologies, one name for each wherever a build is prepared, drawn or checked.
#pragma once

#include <optional>
#include <string_view>

namespace symbols {

enum class Kind { Code39, Ean13, Ean8, UpcA, UpcE };

// "code39", "ean13", "ean8", "upca", "upce" (any case, "-" and "_" ignored).
std::optional<Kind> KindNamed(std::string_view name);

}  // namespace symbols
