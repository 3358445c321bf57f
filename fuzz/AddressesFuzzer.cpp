// Addresses a page asks for. The input is zero-terminated fields: a byte picking the code page
// and the folder separator, the address, a query key, the help file's path, then a page text
// for the version tag.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "navigation/NavigationRouting.h"
#include "platform/LeadBytes.h"
#include "package/PathHelpers.h"
#include "platform/TextRules.h"
#include "pages/VersionTag.h"

namespace {

using namespace quillmere;

constexpr unsigned kCodePages[] = {1252, 65001, 932, 936, 949, 950};

struct CountingActions : NavigationActions {
    void LaunchPackagedProgram(const std::string& name, const std::string&) override {
        ++calls;
        launched = name;
    }
    void StartLinkedProgram(const std::string&) override { ++calls; }
    void HandOffToBrowser(const std::string& url) override {
        ++calls;
        FUZZ_CHECK(url.starts_with("http://"));
    }
    int calls = 0;
    std::string launched;
};

bool IsPrefix(const std::string& part, const std::string& whole) {
    return whole.compare(0, part.size(), part) == 0 && part.size() <= whole.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::FuzzFields fields(data, size);
    const std::string choice = fields.Next();
    const unsigned pick = choice.empty() ? 0 : static_cast<unsigned char>(choice[0]);
    const TextRules rules{LeadBytes(kCodePages[pick % 6]), (pick / 6) % 2 ? '/' : '\\'};
    const std::string url = fields.Next();
    const std::string key = fields.Next();
    const std::string helpFile = fields.Next();
    const std::string page = fields.Rest();

    CountingActions actions;
    bool cancel = false;
    RouteNavigation(url, cancel, actions, helpFile, rules);
    FUZZ_CHECK(actions.calls <= 1);
    FUZZ_CHECK(cancel || actions.calls == 0);
    if (!actions.launched.empty()) {
        FUZZ_CHECK(actions.launched == GetQueryValue(url, "sw", rules));
    }

    const std::string directory = GetDirectoryPart(url, rules);
    FUZZ_CHECK(IsPrefix(directory, url));
    FUZZ_CHECK(directory.empty() || directory.back() == rules.separator);
    FUZZ_CHECK(GetFileNamePart(url, rules).size() + directory.size() == url.size());
    FUZZ_CHECK(IsPrefix(StripQuery(url, rules), url));
    (void)GetQueryValue(url, key, rules);  // any key, any query: read under the sanitizers

    if (const auto tag = ParseVersionTag(page, rules.leadBytes)) {
        FUZZ_CHECK(tag->begin <= tag->end && tag->end <= page.size());
        FUZZ_CHECK(page.compare(tag->begin, 11, kVersionTagWord) == 0);
    }
    return 0;
}
