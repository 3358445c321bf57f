#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "BookFileBytes.h"
#include "records/BrandingRecord.h"
#include "records/LittleEndian.h"
#include "records/RecordFields.h"
#include "records/RecordLayout.h"
#include "support/BookBuilder.h"
#include "support/RecordsTestContext.h"
#include "support/RunProgram.h"

namespace quillmere {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::RunProgram;

// The values as the viewer reads them at start-up.
BrandingValues LoadedValues(const std::vector<std::uint8_t>& book) {
    testing::RecordsTestContext context;
    BrandingValues values;
    LoadBrandingSettings(book.data() + testing::BlockOffset(book), values, context.ctx);
    return values;
}

struct Shop {
    testing::TempDir dir;
    std::string original = dir.File("original");
    std::string copy = dir.File("copy");

    explicit Shop(const std::string& stub = QUILLMERE_STUB_PATH) {
        testing::BookSpec recipe;
        recipe.stub = stub;
        recipe.outPath = original;
        recipe.files = {{"index.html", "<p>RVX_REPLACE_NAME</p>"}, {"cover.gif", "GIF89a"}};
        recipe.title = "Herbs by the Sea";
        recipe.description = "All about herbs";
        recipe.resellerId = 100042;
        recipe.resellerName = "Harbour Books";
        recipe.resellerSite = "http://harbour.example";
        recipe.resellerUrl = "harbour-url";
        recipe.updateSeed = 555;
        recipe.hideBonus = true;
        testing::BuildBook(recipe);
    }

    testing::ProgramResult Rebrand(std::vector<std::string> options) const {
        std::vector<std::string> args = {"--rebrand", original, "--out", copy};
        args.insert(args.end(), options.begin(), options.end());
        return RunProgram(QUILLMERE_BUILDER_PATH, args);
    }
};

TEST(Rebrand, FillsTheRecordAnewAndKeepsEverythingElse) {
    Shop shop;
    const auto result =
        shop.Rebrand({"--reseller-name", "Quay Books", "--reseller-id", "100077", "--show-bonus"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("start page: index.html"));

    const auto before = testing::ReadBytes(shop.original);
    const auto after = testing::ReadBytes(shop.copy);
    const BrandingValues values = LoadedValues(after);
    EXPECT_EQ(values.ResellerName, "Quay Books");
    EXPECT_EQ(values.ResellerId, 100077);
    EXPECT_EQ(values.HideBonusSections, 0);
    EXPECT_EQ(values.EbookTitle, "Herbs by the Sea");
    EXPECT_EQ(values.EbookDescription, "All about herbs");
    EXPECT_EQ(values.ResellerSite, "http://harbour.example");
    EXPECT_EQ(values.ResellerUrl, "harbour-url");
    EXPECT_EQ(values.UpdateCodeSeed, 555);

    // Only the checksummed branding area differs: package, directory, signatures and fallback
    // title are the original's bytes.
    ASSERT_EQ(after.size(), before.size());
    const std::size_t block = testing::BlockOffset(before);
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (i >= block + kChecksummedAreaOffset && i < block + kRecordChecksumOffset + 4) continue;
        ASSERT_EQ(after[i], before[i]) << "byte " << i;
    }
    EXPECT_TRUE(VerifyRecordChecksum(after.data() + block + kChecksummedAreaOffset));

    const auto inspected = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", shop.copy});
    EXPECT_EQ(inspected.exitCode, 0) << inspected.out;
    for (const char* line :
         {"reseller name: \"Quay Books\"", "reseller id: 100077", "hide bonus sections: 0",
          "update code seed: 555", "description: \"All about herbs\"",
          "fallback title: \"Herbs by the Sea\""}) {
        EXPECT_THAT(inspected.out, HasSubstr(line));
    }
}

TEST(Rebrand, ANewTitleIsTheFallbackTooAndAnOldOneStays) {
    Shop shop;
    ASSERT_EQ(shop.Rebrand({"--title", "Sea Herbs"}).exitCode, 0);
    const auto book = testing::ReadBytes(shop.copy);
    const std::size_t block = testing::BlockOffset(book);
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(book.data() + block + kFallbackTitleOffset)),
        "Sea Herbs");
    EXPECT_EQ(LoadedValues(book).EbookTitle, "Sea Herbs");
}

// Where a 32-bit Windows program's header points to its certificate table: the optional header
// follows "PE\0\0" and the file header, and the table is its fifth data directory.
constexpr std::size_t kPeAt = 0x40;
constexpr std::size_t kSecurityEntry = kPeAt + 24 + 96 + 4 * 8;

// A copy of the stub dressed as a 32-bit Windows program; only the header is looked at.
std::string StubDressedAsI686(const testing::TempDir& dir) {
    auto stub = testing::ReadBytes(QUILLMERE_STUB_PATH);
    std::fill(stub.begin(), stub.begin() + kSecurityEntry + 8, 0);
    stub[0] = 'M';
    stub[1] = 'Z';
    stub[0x3C] = kPeAt;
    const std::uint8_t pe[] = {'P', 'E', 0, 0, 0x4C, 0x01};
    std::copy(std::begin(pe), std::end(pe), stub.begin() + kPeAt);
    stub[kPeAt + 24] = 0x0B;  // PE32
    stub[kPeAt + 25] = 0x01;
    const std::string path = dir.File("stub-i686");
    testing::WriteBytes(path, stub);
    return path;
}

TEST(Rebrand, DropsTheSignatureOfASignedBook) {
    testing::TempDir stubs;
    Shop shop(StubDressedAsI686(stubs));
    auto book = testing::ReadBytes(shop.original);
    const std::size_t size = book.size();
    WriteLe32(book.data() + kSecurityEntry, static_cast<std::uint32_t>(size));
    WriteLe32(book.data() + kSecurityEntry + 4, 512);
    book.resize(size + 512, 0x30);  // the certificate table, after the package
    testing::WriteBytes(shop.original, book);

    const auto result = shop.Rebrand({"--reseller-name", "Quay Books"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("for readers on Windows i686"));
    const auto copy = testing::ReadBytes(shop.copy);
    ASSERT_EQ(copy.size(), size);
    EXPECT_EQ(ReadLe32(copy.data() + kSecurityEntry), 0u);
    EXPECT_EQ(ReadLe32(copy.data() + kSecurityEntry + 4), 0u);
    EXPECT_EQ(LoadedValues(copy).ResellerName, "Quay Books");
}

struct RebrandRefusal {
    const char* name;
    std::vector<std::string> arguments;  // BOOK, COPY and STUB stand for the paths
    int exitCode;
    const char* says;
};

const RebrandRefusal kRefusals[] = {
    {"the_stub_is_no_book", {"--rebrand", "STUB", "--out", "COPY"}, 1, "not a finished book"},
    {"onto_the_book_itself", {"--rebrand", "BOOK", "--out", "BOOK"}, 1, "is the book itself"},
    {"a_title_too_long",
     {"--rebrand", "BOOK", "--out", "COPY", "--title", std::string(60, 't')},
     1,
     "title is 60 bytes"},
    {"with_a_stub", {"--rebrand", "BOOK", "--out", "COPY", "--stub", "STUB"}, 2, "no --stub"},
    {"with_files", {"--rebrand", "BOOK", "--out", "COPY", "page.html"}, 2, "no files"},
    {"without_out", {"--rebrand", "BOOK"}, 2, "--out is required"},
};

class RebrandRefuses : public ::testing::TestWithParam<RebrandRefusal> {};

TEST_P(RebrandRefuses, AndWritesNothing) {
    Shop shop;
    const std::string stub = shop.dir.File("stub");
    fs::copy_file(QUILLMERE_STUB_PATH, stub);
    std::vector<std::string> args = GetParam().arguments;
    for (auto& arg : args) {
        if (arg == "BOOK") arg = shop.original;
        if (arg == "COPY") arg = shop.copy;
        if (arg == "STUB") arg = stub;
    }
    const auto before = testing::ReadBytes(shop.original);
    const auto result = RunProgram(QUILLMERE_BUILDER_PATH, args);
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    EXPECT_THAT(result.err, HasSubstr(GetParam().says));
    EXPECT_FALSE(fs::exists(shop.copy));
    EXPECT_EQ(testing::ReadBytes(shop.original), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, RebrandRefuses, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillmere
