#include "platform/posix/RegFileRegistry.h"

#include <langinfo.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/posix/RegEncoding.h"
#include "platform/posix/RegFileEditor.h"
#include "platform/posix/RegFileIo.h"
#include "platform/posix/RegFileParser.h"
#include "platform/posix/RegHive.h"
#include "platform/posix/RegNames.h"

namespace quillmere {

namespace {

class RegFileKey : public RegistryKey {
  public:
    explicit RegFileKey(RegHiveKey values) : values_(std::move(values)) {}

    RegistryStatus QueryValue(std::string_view name, RegistryValueType& type, void* data,
                              std::uint32_t& size) override {
        auto it = values_.find(FoldRegName(name, LocaleLeadBytes()));
        if (it == values_.end()) return kRegistryNotFound;
        const std::string& bytes = it->second.data;
        type = static_cast<RegistryValueType>(it->second.type);
        const std::uint32_t capacity = size;
        size = static_cast<std::uint32_t>(bytes.size());
        if (data == nullptr) return kRegistrySuccess;  // a query for the size alone
        if (bytes.size() > capacity) return kRegistryMoreData;
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
        return kRegistrySuccess;
    }

  private:
    RegHiveKey values_;
};

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir) {
        return found->pw_dir;
    }
    return "/";
}

// Names go into the file on one line between quotes or brackets.
bool FitsOnOneLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// A link to the file is written through, so the link stays.
std::string WriteTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;
    std::string target = resolved;
    std::free(resolved);
    return target;
}

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string DwordData(std::uint32_t value) {
    char text[16];
    static_cast<void>(std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value)));
    return text;
}

// The edited text must give the value written; a write that would not is refused, not reported
// as done.
bool ReadsBack(const RegText& text, const std::string& keyPath, std::string_view name,
               std::uint32_t value) {
    RegHive hive = RegHive::FromDocument(ParseRegText(text.text), text.encoding);
    const RegHiveKey* key = hive.FindKey(keyPath);
    if (!key) return false;
    auto it = key->find(FoldRegName(name, LocaleLeadBytes()));
    if (it == key->end() ||
        it->second.type != static_cast<std::uint32_t>(RegistryValueType::Dword)) {
        return false;
    }
    std::string expected;
    for (int i = 0; i < 4; ++i) expected.push_back(static_cast<char>(value >> (8 * i)));
    return it->second.data == expected;
}

}  // namespace

struct RegFileRegistry::ParsedFile {
    RegFileVersion version;
    std::string charset;  // names and values are held in the locale's form
    RegHive hive;
};

RegFileRegistry::RegFileRegistry() : path_(DefaultPath()) {}

RegFileRegistry::RegFileRegistry(std::string path) : path_(std::move(path)) {}

RegFileRegistry::~RegFileRegistry() = default;
RegFileRegistry::RegFileRegistry(RegFileRegistry&&) noexcept = default;
RegFileRegistry& RegFileRegistry::operator=(RegFileRegistry&&) noexcept = default;

const RegFileRegistry::ParsedFile* RegFileRegistry::CurrentFile() {
    const char* codeset = nl_langinfo(CODESET);
    const std::string charset = codeset != nullptr ? codeset : "";
    std::optional<RegFileVersion> known;
    if (parsed_ && parsed_->charset == charset) known = parsed_->version;

    RegFileContents contents = ReadRegFileBytes(path_, known);
    if (contents.status == RegFileReadStatus::Unchanged) return parsed_.get();
    parsed_.reset();
    if (contents.status != RegFileReadStatus::Read) return nullptr;
    auto text = DecodeRegFile(std::move(contents.bytes));
    if (!text) return nullptr;
    parsed_ = std::make_unique<ParsedFile>(
        ParsedFile{contents.version, charset,
                   RegHive::FromDocument(ParseRegText(text->text), text->encoding)});
    return parsed_.get();
}

std::string RegFileRegistry::DefaultPath() {
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base = (config && config[0] == '/') ? config : HomeFolder() + "/.config";
    return base + "/tallowbrook/registry.reg";
}

std::unique_ptr<RegistryKey> RegFileRegistry::OpenKeyForQuery(std::string_view subkey) {
    // No lock: the file is only ever replaced whole, so any read sees one complete version.
    const ParsedFile* file = CurrentFile();
    if (!file) return nullptr;
    const RegHiveKey* key = file->hive.FindKey(CurrentUserKeyPath(subkey));
    if (!key) return nullptr;
    return std::make_unique<RegFileKey>(*key);
}

bool RegFileRegistry::WriteDword(std::string_view subkey, std::string_view name,
                                 std::uint32_t value) {
    if (!FitsOnOneLine(subkey) || !FitsOnOneLine(name)) return false;
    if (!FoldRegKeyPath(CurrentUserKeyPath(subkey), LocaleLeadBytes())) return false;
    if (!EnsureRegFolder(FolderOf(path_))) return false;

    // Every writer locks beside the file it replaces, whatever link it was reached through.
    const std::string target = WriteTarget(path_);
    RegFileLock lock(target + ".lock");
    if (!lock.Held()) return false;

    RegFileContents contents = ReadRegFileBytes(target);
    // A file that is there but cannot be read whole must not be replaced by one value.
    if (contents.status == RegFileReadStatus::Failed) return false;
    auto text = DecodeRegFile(std::move(contents.bytes));
    if (!text) return false;

    auto keyText = AnsiToRegText(CurrentUserKeyPath(subkey), text->encoding);
    auto nameText = AnsiToRegText(name, text->encoding);
    if (!keyText || !nameText) return false;

    RegDocument doc = ParseRegText(text->text);
    if (!SetRegValueLine(doc, *keyText, *nameText, DwordData(value),
                         RegTextLeadBytes(text->encoding))) {
        return false;
    }
    text->text = RenderRegLines(doc.lines);
    if (!ReadsBack(*text, CurrentUserKeyPath(subkey), name, value)) return false;
    auto bytes = EncodeRegFile(*text);
    if (!bytes) return false;
    return ReplaceFileAtomically(target, *bytes);
}

}  // namespace quillmere
