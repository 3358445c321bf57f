#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "BookFileBytes.h"
#include "package/BlowfishCipher.h"
#include "package/PackageKey.h"
#include "records/BrandingRecord.h"
#include "records/PackageDirectory.h"
#include "records/RecordFields.h"
#include "records/RecordText.h"
#include "records/SiteAddresses.h"
#include "support/BookBuilder.h"
#include "support/FakePlatform.h"
#include "support/RecordsTestContext.h"
#include "support/RunProgram.h"

namespace quillmere {
namespace {

namespace fs = std::filesystem;
using testing::BookSpec;
using ::testing::HasSubstr;
using testing::RunProgram;

testing::ProgramResult Inspect(const std::string& book) {
    return RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", book});
}

class BuiltBook : public ::testing::Test {
  protected:
    BookSpec Spec() {
        BookSpec recipe;
        // Windows counts a file as a program by its extension.
        recipe.outPath = dir.File("book.exe");
        // 15 + 1000 + 3 bytes: the package needs padding.
        std::string picture(1000, '\0');
        for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 31);
        recipe.files = {
            {"index.html", "<html>Hello</html>"}, {"pic.gif", picture}, {"Tool.exe", "MZ!"}};
        return recipe;
    }

    BrandingValues LoadBranding(const std::vector<std::uint8_t>& book) {
        BrandingValues values;
        LoadBrandingSettings(book.data() + testing::BlockOffset(book), values, context.ctx);
        return values;
    }

    testing::TempDir dir;
    testing::RecordsTestContext context;
};

TEST_F(BuiltBook, HoldsTheStubTheRecordsAndTheEncipheredFiles) {
    BookSpec recipe = Spec();
    recipe.title = "Gardening";
    recipe.description = "All about soil";
    recipe.resellerId = 100042;
    recipe.resellerName = "Ann's Books";
    recipe.resellerSite = "http://ann.example";
    recipe.resellerUrl = "ann-u";
    recipe.updateSeed = 4242;
    recipe.hideBonus = true;
    const auto book = testing::ReadBytes(testing::BuildBook(recipe));
    const auto stub = testing::ReadBytes(QUILLMERE_STUB_PATH);

    // Outside the two records the stub is copied unchanged.
    const std::size_t block = testing::BlockOffset(book);
    ASSERT_EQ(block, testing::BlockOffset(stub));
    ASSERT_GT(book.size(), stub.size());
    EXPECT_TRUE(std::equal(stub.begin(), stub.begin() + block, book.begin()));
    const std::size_t recordsEnd = block + kPackageDirectoryOffset + kPackageDirectorySize;
    EXPECT_TRUE(std::equal(stub.begin() + recordsEnd, stub.end(), book.begin() + recordsEnd));

    const BrandingValues values = LoadBranding(book);
    EXPECT_TRUE(context.dialogs.shown.empty());
    EXPECT_EQ(values.EbookTitle, "Gardening");
    EXPECT_EQ(values.EbookDescription, "All about soil");
    EXPECT_EQ(values.ResellerId, 100042);
    EXPECT_EQ(values.ResellerName, "Ann's Books");
    EXPECT_EQ(values.ResellerSite, "http://ann.example");
    EXPECT_EQ(values.ResellerUrl, "ann-u");
    EXPECT_EQ(values.UpdateCodeSeed, 4242);
    EXPECT_EQ(values.HideBonusSections, 1);

    const PackageDirectory directory(book.data() + block + kPackageDirectoryOffset);
    EXPECT_TRUE(directory.IsMerged());
    ASSERT_EQ(directory.FileCount(), recipe.files.size());
    EXPECT_EQ(directory.PackageOffset(), stub.size());
    EXPECT_EQ(directory.PackageSize(), 1024u);  // 1021 bytes padded to whole blocks
    EXPECT_EQ(std::size_t{directory.PackageOffset()} + directory.PackageSize(), book.size());

    std::vector<std::uint8_t> package(book.begin() + directory.PackageOffset(), book.end());
    std::string plain;
    for (const auto& [name, content] : recipe.files) plain += content;
    EXPECT_NE(std::string(package.begin(), package.begin() + plain.size()), plain);
    CBlowfishCipher(BuildPackageKey().c_str())
        .DecryptBuffer(package.data(), static_cast<std::uint32_t>(package.size()), package.data());
    EXPECT_EQ(std::string(package.begin(), package.end()), plain + std::string(3, '\0'));

    std::uint32_t offset = directory.PackageOffset();
    for (std::uint32_t i = 0; i < directory.FileCount(); ++i) {
        const PackageEntry entry = directory.Entry(i);
        EXPECT_EQ(entry.Name, recipe.files[i].first);
        EXPECT_EQ(entry.Offset, offset);
        EXPECT_EQ(entry.Size, recipe.files[i].second.size());
        offset += entry.Size;
    }

    EXPECT_EQ(fs::status(recipe.outPath).permissions(),
              fs::status(QUILLMERE_STUB_PATH).permissions());

    const auto inspected = Inspect(recipe.outPath);
    EXPECT_EQ(inspected.exitCode, 0) << inspected.out << inspected.err;
    EXPECT_THAT(inspected.out,
                HasSubstr("\"index.html\" offset " + std::to_string(directory.PackageOffset()) +
                          ", size 18, page"));
    EXPECT_THAT(inspected.out, HasSubstr("\"pic.gif\""));
    EXPECT_THAT(inspected.out, HasSubstr("size 3, program"));
    EXPECT_THAT(inspected.out, HasSubstr("holds: word sum"));
    EXPECT_THAT(inspected.out, HasSubstr("\nsound\n"));
}

TEST_F(BuiltBook, WithoutOptionsBelongsToTheClub) {
    const auto book = testing::ReadBytes(testing::BuildBook(Spec()));
    const BrandingValues values = LoadBranding(book);
    EXPECT_EQ(values.ResellerId, 100001);
    EXPECT_EQ(values.UpdateCodeSeed, 306417);
    EXPECT_EQ(values.ResellerName, kClubName);
    EXPECT_EQ(values.ResellerSite, ClubSiteAddress);
    EXPECT_EQ(values.ResellerUrl, "");
    EXPECT_EQ(values.HideBonusSections, 0);
    EXPECT_EQ(values.EbookTitle, "");  // the fallback still reads "12345..."
    EXPECT_EQ(values.EbookDescription, "");
}

TEST_F(BuiltBook, OneChangedByteOfTheResellerNameIsCaught) {
    BookSpec recipe = Spec();
    recipe.resellerName = "Ann";
    auto book = testing::ReadBytes(testing::BuildBook(recipe));
    const std::size_t block = testing::BlockOffset(book);
    book[block + kResellerNameOffset] = 'B';
    testing::WriteBytes(recipe.outPath, book);

    EXPECT_FALSE(VerifyRecordChecksum(book.data() + block + kChecksummedAreaOffset));
    try {
        LoadBranding(book);
        FAIL() << "the process should have ended";
    } catch (const testing::ProcessEnded& ended) {
        EXPECT_EQ(ended.exitCode, 1);
    }
    ASSERT_EQ(context.dialogs.shown.size(), 1u);
    EXPECT_EQ(context.dialogs.shown[0].text, "Branding check failure (software corrupted)");
    EXPECT_EQ(context.dialogs.shown[0].caption, "Ebook");

    const auto inspected = Inspect(recipe.outPath);
    EXPECT_EQ(inspected.exitCode, 1);
    EXPECT_THAT(inspected.out, HasSubstr("fault: the branding checksum does not hold"));
}

TEST_F(BuiltBook, ReplacesAnEarlierBookWholeAndLeavesNothingElseBehind) {
    BookSpec recipe = Spec();
    testing::WriteBytes(recipe.outPath, std::vector<std::uint8_t>(5000000, 0x77));
    testing::BuildBook(recipe);
    EXPECT_EQ(Inspect(recipe.outPath).exitCode, 0);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"book.exe"});
}

}  // namespace
}  // namespace quillmere
