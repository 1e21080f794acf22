#include "kind.h"

#include <cctype>
#include <string>

namespace symbols {

namespace {
const KindNames kKinds[] = {
    {Kind::Code39, "Bar Code C39", "C39", "code39", 0, nullptr},
    {Kind::Ean13, "Bar Code ENA13", "EAN-13", "ean13", 12, "Ean13"},
    {Kind::Ean8, "Bar Code ENA8", "EAN-8", "ean8", 7, "Ean8"},
    {Kind::UpcA, "Bar Code UPC-A", "UPC-A", "upca", 11, "Upc-a"},
    {Kind::UpcE, "Bar Code UPC-E", "UPC-E", "upce", 6, "Upc-e"},
};
}  // namespace

const KindNames& NamesOf(Kind kind)
{
    for (const KindNames& names : kKinds)
        if (names.kind == kind) return names;
    return kKinds[0];
}

std::optional<Kind> KindNamed(std::string_view name)
{
    std::string key;
    for (const char c : name)
        if (c != '-' && c != '_') key += char(std::tolower(static_cast<unsigned char>(c)));
    if (key == "c39") return Kind::Code39;
    for (const KindNames& names : kKinds)
        if (key == names.commandLine) return names.kind;
    return std::nullopt;
}

}  // namespace symbols
