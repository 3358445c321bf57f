// Addresses a page asks for. The input is zero-terminated fields: a byte picking the code page
// and the folder separator, the address, a query key, the help file's path (whose folder is the
// book's, holding one page, "index.html"), then a page text for the version tag.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "FuzzInput.h"
#include "navigation/LocalAddress.h"
#include "navigation/NavigationRouting.h"
#include "package/PathHelpers.h"
#include "pages/VersionTag.h"
#include "platform/LeadBytes.h"
#include "platform/TextRules.h"

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
    void OpenWithDefaultProgram(const std::string&) override {
        ++calls;
        ++programs;
    }
    void ShowNotInBook() override {
        ++calls;
        ++notInBook;
    }
    int calls = 0;
    int programs = 0;
    int notInBook = 0;
    std::string launched;
};

// A book folder that holds one page; nothing else is asked of it.
class OnePageFolder : public FileSystem {
  public:
    explicit OnePageFolder(std::string page) : page_(std::move(page)) {}
    std::unique_ptr<InputFile> OpenForReading(const std::string&) override { return nullptr; }
    std::unique_ptr<OutputFile> CreateForWriting(const std::string&, FileKind) override {
        return nullptr;
    }
    bool Exists(const std::string& path) override { return path == page_; }
    bool RemoveFile(const std::string&) override { return false; }
    CreateDirectoryResult CreateFolder(const std::string&) override {
        return CreateDirectoryResult::Failed;
    }
    bool RemoveFolder(const std::string&) override { return false; }
    std::optional<std::string> TemporaryDirectory() override { return std::nullopt; }
    std::string FallbackTemporaryDirectory() override { return "/"; }
    std::unique_ptr<FolderLock> LockFolder(const std::string&) override { return nullptr; }
    void RemoveOrphanedFolders(const std::string&, const std::string&) override {}

  private:
    std::string page_;
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

    const std::string workspace = GetDirectoryPart(helpFile, rules);
    OnePageFolder files(workspace + "index.html");
    CountingActions actions;
    bool cancel = false;
    RouteNavigation(url, cancel, actions,
                    BookPlace{workspace, helpFile, rules, files, pick % 2 == 1});
    FUZZ_CHECK(actions.calls <= 1);
    FUZZ_CHECK(cancel || actions.calls == 0);
    if (actions.programs > 0) FUZZ_CHECK(!SchemeOf(url).empty());
    if (actions.notInBook > 0) FUZZ_CHECK(LocalPathOf(url, rules).has_value());
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
