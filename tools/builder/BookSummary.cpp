#include "BookSummary.h"

#include "check/BookContents.h"
#include "check/FindingReport.h"
#include "package/MultibyteText.h"

namespace quillmere::builder {

namespace {

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

StartPageChoice ChooseStartPage(const std::vector<std::string>& names, const LeadBytes& lead) {
    std::string first;
    std::string lastIndex;
    std::size_t indexPages = 0;
    std::string nearlyIndex;
    for (const std::string& name : names) {
        if (!IsPageName(name, lead)) continue;
        if (first.empty()) first = name;
        if (name == "index.html" || name == "index.htm") {
            lastIndex = name;
            ++indexPages;
        } else if (nearlyIndex.empty() && (LowerAnsi(name, lead) == "index.html" ||
                                           LowerAnsi(name, lead) == "index.htm")) {
            nearlyIndex = name;
        }
    }
    if (first.empty()) return {"", "the book holds no page"};
    if (indexPages == 1) return {lastIndex, "the only page named index.html or index.htm"};
    if (indexPages > 1) {
        return {lastIndex, "the last of the " + std::to_string(indexPages) +
                               " pages named index.html or index.htm"};
    }
    std::string why = "the first page, as no page is named index.html or index.htm";
    if (!nearlyIndex.empty()) why += " (letter case counts: " + nearlyIndex + " is not)";
    return {first, why};
}

void PrintSummary(std::ostream& out, const std::string& book, std::uint64_t size,
                  ReaderPlatform platform, const std::vector<std::string>& names,
                  const LeadBytes& lead) {
    std::size_t pages = 0;
    std::size_t programs = 0;
    for (const std::string& name : names) {
        if (IsPageName(name, lead)) {
            ++pages;
        } else if (LowerExtension(name, lead) == ".exe") {
            ++programs;
        }
    }
    const StartPageChoice start = ChooseStartPage(names, lead);
    out << book << ": " << WithThousands(size) << " bytes, for readers on "
        << PlatformName(platform) << '\n'
        << "  " << Count(names.size(), "file", "files") << ": " << Count(pages, "page", "pages")
        << ", " << Count(programs, "program", "programs") << ", "
        << Count(names.size() - pages - programs, "other file", "other files") << '\n'
        << "  start page: " << (start.name.empty() ? "none" : start.name) << ", " << start.why
        << '\n';
}

}  // namespace quillmere::builder
