#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "StubPlatform.h"
#include "platform/LeadBytes.h"

namespace quillmere::builder {

struct StartPageChoice {
    // Empty when the book holds no page.
    std::string name;
    std::string why;
};

// The page the viewer shows first, by its rule: the last page named exactly index.html or
// index.htm (letter case counts), else the first page.
StartPageChoice ChooseStartPage(const std::vector<std::string>& names, const LeadBytes& lead);

// What a finished book holds: its size and platform, its files by kind, its start page and why.
void PrintSummary(std::ostream& out, const std::string& book, std::uint64_t size,
                  ReaderPlatform platform, const std::vector<std::string>& names,
                  const LeadBytes& lead);

}  // namespace quillmere::builder
