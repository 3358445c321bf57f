#include "support/AppHarness.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/ApplicationFramework.h"
#include "package/BlowfishCipher.h"
#include "package/PackageKey.h"
#include "pages/AdvertStore.h"
#include "records/RecordFields.h"
#include "records/RecordWriter.h"

namespace quillmere::testing {

namespace {

void PutLe32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    const std::string text = ReadFileBytes(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::size_t FindBlock(const std::vector<std::uint8_t>& bytes, const std::string& path) {
    const RecordBlockSearch found = LocateRecordBlock(bytes);
    if (!found.offset)
        throw std::runtime_error("no record block in " + path + ": " + found.problem);
    return *found.offset;
}

}  // namespace

void BookFile::SetFileCount(std::uint32_t count) { PutLe32(Directory() + kFileCountOffset, count); }

void BookFile::SetPackage(std::uint32_t offset, std::uint32_t size) {
    PutLe32(Directory() + kPackageOffsetOffset, offset);
    PutLe32(Directory() + kPackageSizeOffset, size);
}

void BookFile::SetEntry(std::uint32_t i, std::uint32_t offset, std::uint32_t size) {
    std::uint8_t* entry = Directory() + kEntriesOffset + kEntrySize * i;
    PutLe32(entry, offset);
    PutLe32(entry + kEntrySizeFieldOffset, size);
}

void BookFile::SetEntryName(std::uint32_t i, const std::string& name) {
    std::uint8_t* field = Directory() + kEntriesOffset + kEntrySize * i + kEntryNameOffset;
    std::memset(field, 0, kEntryNameWidth);
    std::memcpy(field, name.data(), std::min(name.size(), kEntryNameWidth));
}

BookFile LoadBookFile(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    const std::size_t at = FindBlock(bytes, path);
    return BookFile{path, std::vector<std::uint8_t>(bytes.begin() + at,
                                                    bytes.begin() + at + kStubRecordBlockSize)};
}

BookFile WriteRawBook(const std::string& path, const PackagedFiles& files,
                      const std::optional<BrandingValues>& branding) {
    std::vector<std::uint8_t> image = ReadBytes(QUILLMERE_STUB_PATH);
    const std::size_t at = FindBlock(image, QUILLMERE_STUB_PATH);
    BookFile book{path, std::vector<std::uint8_t>(image.begin() + at,
                                                  image.begin() + at + kStubRecordBlockSize)};
    if (branding) {
        const std::string problem = FillBrandingRecord(book.block.data(), *branding);
        if (!problem.empty()) throw std::runtime_error("branding: " + problem);
    }

    std::uint8_t* entries = book.Directory() + kEntriesOffset;
    std::memset(entries, 0, kEntrySize * kMaxEntries);
    std::string package;
    const auto packageOffset = static_cast<std::uint32_t>(image.size());
    for (std::uint32_t i = 0; i < files.size(); ++i) {
        book.SetEntry(i, packageOffset + static_cast<std::uint32_t>(package.size()),
                      static_cast<std::uint32_t>(files[i].second.size()));
        book.SetEntryName(i, files[i].first);
        package += files[i].second;
    }
    package.resize((package.size() + 7) / 8 * 8, '\0');
    book.SetFileCount(static_cast<std::uint32_t>(files.size()));
    book.SetPackage(packageOffset, static_cast<std::uint32_t>(package.size()));

    std::vector<std::uint8_t> enciphered(package.begin(), package.end());
    CBlowfishCipher cipher(BuildPackageKey().c_str());
    cipher.EncryptBuffer(enciphered.data(), static_cast<std::uint32_t>(enciphered.size()),
                         enciphered.data());
    std::copy(book.block.begin(), book.block.end(), image.begin() + at);
    image.insert(image.end(), enciphered.begin(), enciphered.end());

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
    return book;
}

AppHarness::AppHarness()
    : tmp(root.File("tmp") + kNativeSeparator),
      registryPath(root.File("registry.reg")),
      registry(registryPath),
      platform{dialogs, lifetime, files, registry, system, processes, shell, windowing} {
    std::filesystem::create_directory(root.File("tmp"));
    files.temporaryDirectory = tmp;
    system.conventions = HarnessConventions();
}

RunResult AppHarness::Run(const BookFile& book,
                          const std::function<void(CQuillmereApp&)>& whileOpen) {
    system.modulePath = book.path;

    CQuillmereApp app(platform, book.block.data());
    windowing.whileOpen = [&] {
        if (whileOpen) whileOpen(app);
    };
    RunResult result;
    try {
        result.exitCode = RunApplication(app);
        result.viewOutlivedRun = app.View != nullptr;
    } catch (const ProcessEnded& ended) {
        result.exitCode = ended.exitCode;
        result.endedProcess = true;
    }
    windowing.whileOpen = nullptr;
    return result;
}

void AppHarness::AcceptTerms(const std::string& title, std::uint32_t value) {
    const std::string key = "Software\\Tallowbrook\\" + title + "\\LU";
    if (!registry.WriteDword(key, "Terms", value)) {
        throw std::runtime_error("cannot store the terms value");
    }
}

void AppHarness::SeedRegistry(std::string_view subkey, std::string_view name,
                              RegistryValueType type, std::string_view bytes) {
    SeedHarnessRegistry(registry, registryPath, subkey, name, type, bytes);
}

void AppHarness::SeedString(std::string_view subkey, std::string_view name, std::string_view text) {
    std::string bytes(text);
    bytes.push_back('\0');
    SeedRegistry(subkey, name, RegistryValueType::String, bytes);
}

void AppHarness::SeedDword(std::string_view subkey, std::string_view name, std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
    SeedRegistry(subkey, name, RegistryValueType::Dword, bytes);
}

std::vector<std::string> AppHarness::Messages() const {
    std::vector<std::string> texts;
    for (const auto& box : dialogs.shown) texts.push_back(box.text);
    return texts;
}

std::vector<std::string> AppHarness::TempEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root.File("tmp"))) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string AppHarness::WorkspaceFor(std::int64_t time, const std::string& suffix) const {
    return tmp + "vellumkit__" + std::to_string(time) + suffix + kNativeSeparator;
}

}  // namespace quillmere::testing
