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
    {Kind::Code128, "Bar Code 128", "Code 128", "code128", 0, nullptr},
    {Kind::Gs1_128, "Bar Code GS1-128", "GS1-128", "gs1-128", 0, nullptr},
    {Kind::Itf14, "Bar Code ITF-14", "ITF-14", "itf14", 0, nullptr},
};

// A command-line name as it is compared: lower case, without '-' and '_'.
std::string Key(std::string_view name)
{
    std::string key;
    for (const char c : name)
        if (c != '-' && c != '_') key += char(std::tolower(static_cast<unsigned char>(c)));
    return key;
}
}  // namespace

const KindNames& NamesOf(Kind kind)
{
    for (const KindNames& names : kKinds)
        if (names.kind == kind) return names;
    return kKinds[0];
}

const char* SymbologyName(Kind kind) { return kind == Kind::Code39 ? "Code 39" : NamesOf(kind).caption; }

std::optional<Kind> KindNamed(std::string_view name)
{
    const std::string key = Key(name);
    if (key == "c39") return Kind::Code39;
    for (const KindNames& names : kKinds)
        if (key == Key(names.commandLine)) return names.kind;
    return std::nullopt;
}

}  // namespace symbols
