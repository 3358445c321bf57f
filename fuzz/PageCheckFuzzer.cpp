// The page check over one page and a style sheet the author wrote. The input is zero-terminated
// fields: the code page (its first byte picks one), the other packaged names (one a line), the
// style sheet, then the page, zero bytes and all.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "BookCheck.h"
#include "FuzzInput.h"

namespace {

constexpr unsigned kCodePages[] = {1252, 65001, 932, 936, 949, 950};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillmere;
    using namespace quillmere::builder;
    fuzzing::FuzzFields fields(data, size);
    const std::string codePage = fields.Next();
    const unsigned cp =
        kCodePages[codePage.empty() ? 0 : static_cast<unsigned char>(codePage[0]) % 6];
    const std::string names = fields.Next();
    const std::string sheet = fields.Next();
    const std::string page = fields.Rest();

    std::vector<BookEntry> entries = {{"index.html", page}, {"site.css", sheet}};
    for (std::size_t begin = 0; begin < names.size();) {
        const std::size_t end = std::min(names.find('\n', begin), names.size());
        entries.push_back({names.substr(begin, end - begin), ""});
        begin = end + 1;
    }
    const Findings findings = CheckBook(BookContents(entries, LeadBytes(cp)), size, 64);

    const auto lines = [](const std::string& text) {
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    };
    for (const Finding& finding : findings) {
        FUZZ_CHECK(!finding.message.empty());
        if (finding.page == "index.html")
            FUZZ_CHECK(finding.line >= 1 && finding.line <= lines(page));
        if (finding.page == "site.css")
            FUZZ_CHECK(finding.line >= 1 && finding.line <= lines(sheet));
        if (finding.page.empty()) FUZZ_CHECK(finding.line == 0);
    }
    return 0;
}
