#include "kind.h"

#include <cctype>
#include <string>

namespace symbols {

std::optional<Kind> KindNamed(std::string_view name)
{
    std::string key;
    for (const char c : name)
        if (c != '-' && c != '_') key += char(std::tolower(static_cast<unsigned char>(c)));
    if (key == "code39" || key == "c39") return Kind::Code39;
    if (key == "ean13") return Kind::Ean13;
    if (key == "ean8") return Kind::Ean8;
    if (key == "upca") return Kind::UpcA;
    if (key == "upce") return Kind::UpcE;
    return std::nullopt;
}

}  // namespace symbols
