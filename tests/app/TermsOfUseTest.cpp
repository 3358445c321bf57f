#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/TermsText.h"
#include "support/AppHarness.h"

namespace quillmere::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

BrandingValues Titled(const std::string& title) {
    BrandingValues values;
    values.ResellerId = 100001;
    values.UpdateCodeSeed = 306417;
    values.EbookTitle = title;
    return values;
}

std::optional<std::uint32_t> StoredTerms(Registry& registry, const std::string& title) {
    auto key = registry.OpenKeyForQuery("Software\\Tallowbrook\\" + title + "\\LU");
    if (!key) return std::nullopt;
    std::uint8_t bytes[4] = {};
    std::uint32_t size = 4;
    RegistryValueType type{};
    if (key->QueryValue("Terms", type, bytes, size) != kRegistrySuccess) return std::nullopt;
    if (type != RegistryValueType::Dword || size != 4) return std::nullopt;
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

TEST(TermsOfUseTest, FirstStartAsksBeforeTheWindowAndAcceptanceIsRemembered) {
    AppHarness h;
    BookFile book =
        WriteRawBook(h.root.File("book"), {{"index.html", "x"}}, Titled("Quiet Harbour"));
    h.dialogs.answers.push_back(MessageBoxAnswer::Yes);

    ASSERT_EQ(h.Run(book).exitCode, 0);

    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    const ShownMessageBox& box = h.dialogs.shown[0];
    EXPECT_EQ(box.text, std::string(TermsText) + kTermsQuestion);
    EXPECT_EQ(box.caption, "Quiet Harbour");
    EXPECT_EQ(box.style.buttons, MessageBoxButtons::YesNo);
    EXPECT_EQ(box.style.icon, MessageBoxIcon::Question);
    EXPECT_EQ(box.style.defaultButton, MessageBoxDefault::Second);
    EXPECT_EQ(StoredTerms(h.registry, "Quiet Harbour"), 1u);

    h.dialogs.shown.clear();
    ASSERT_EQ(h.Run(book).exitCode, 0);
    EXPECT_THAT(h.dialogs.shown, IsEmpty());
}

TEST(TermsOfUseTest, AcceptanceIsWrittenToTheRegistryFileAsTheRegistryEditorWritesIt) {
    if (*kNoRegistryFile != '\0') GTEST_SKIP() << kNoRegistryFile;
    AppHarness h;
    BookFile book =
        WriteRawBook(h.root.File("book"), {{"index.html", "x"}}, Titled("Quiet Harbour"));
    h.dialogs.answers.push_back(MessageBoxAnswer::Yes);

    ASSERT_EQ(h.Run(book).exitCode, 0);

    const std::string file = ReadFileBytes(h.registryPath);
    EXPECT_THAT(file, HasSubstr("[HKEY_CURRENT_USER\\Software\\Tallowbrook\\Quiet Harbour\\LU]"));
    EXPECT_THAT(file, HasSubstr("\"Terms\"=dword:00000001"));
}

TEST(TermsOfUseTest, AFailedWriteIsSilentAndTheQuestionComesAgainAtTheNextStart) {
    AppHarness h;
    MakeRegistryWritesFail(h.registry, h.root);
    ASSERT_FALSE(h.registry.WriteDword("Software\\Tallowbrook\\Quiet Harbour\\LU", "Terms", 1));
    BookFile book =
        WriteRawBook(h.root.File("book"), {{"index.html", "x"}}, Titled("Quiet Harbour"));

    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        h.dialogs.shown.clear();
        h.dialogs.answers.push_back(MessageBoxAnswer::Yes);
        const RunResult run = h.Run(book);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_FALSE(run.endedProcess);
        ASSERT_EQ(h.dialogs.shown.size(), 1u);
        EXPECT_EQ(h.dialogs.shown[0].style.buttons, MessageBoxButtons::YesNo);
    }
}

TEST(TermsOfUseTest, AnyAnswerButYesEndsTheProcessBeforeAnythingIsCreated) {
    for (MessageBoxAnswer answer : {MessageBoxAnswer::No, MessageBoxAnswer::Closed}) {
        AppHarness h;
        BookFile book =
            WriteRawBook(h.root.File("book"), {{"index.html", "x"}}, Titled("Quiet Harbour"));
        h.dialogs.answers.push_back(answer);

        const RunResult run = h.Run(book);

        EXPECT_TRUE(run.endedProcess);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(h.dialogs.shown.size(), 1u);
        EXPECT_THAT(h.windowing.log, IsEmpty());
        EXPECT_THAT(h.TempEntries(), IsEmpty());
        EXPECT_EQ(StoredTerms(h.registry, "Quiet Harbour"), std::nullopt);
    }
}

TEST(TermsOfUseTest, AnyNonZeroStoredValueCountsAndTitlesAreKeptApart) {
    AppHarness h;
    h.AcceptTerms("Quiet Harbour", 5);
    BookFile accepted =
        WriteRawBook(h.root.File("a"), {{"index.html", "x"}}, Titled("Quiet Harbour"));
    BookFile other = WriteRawBook(h.root.File("b"), {{"index.html", "x"}}, Titled("Salt Marsh"));

    ASSERT_EQ(h.Run(accepted).exitCode, 0);
    EXPECT_THAT(h.dialogs.shown, IsEmpty());

    const RunResult run = h.Run(other);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].caption, "Salt Marsh");
}

TEST(TermsOfUseTest, ResellerPrefixInTheFileNameExempts) {
    AppHarness h;
    const BookFile stub = LoadBookFile(QUILLMERE_STUB_PATH);
    CQuillmereApp app(h.platform, stub.block.data());
    app.BrandingSettings.ResellerId = 100001;
    const struct {
        const char* path;
        bool exempt;
    } cases[] = {
        {"/books/TLB100001Reader.exe", true},
        {"/books/tlb1000012.exe", true},
        {"/books/reader.exe", false},
        {"/books/tlb10000.exe", false},
        {"/books/tlb100001/reader", false},
        {"tlb100001", true},
        {"/books/tlb", false},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        std::replace(path.begin(), path.end(), '/', kNativeSeparator);
        app.SelfImagePath = path;
        EXPECT_EQ(app.IsTermsExempt(), c.exempt) << path;
    }
}

TEST(TermsOfUseTest, ExemptCopyStartsWithoutAsking) {
    AppHarness h;
    BookFile book = WriteRawBook(h.root.File("TLB100001Reader"), {{"index.html", "x"}});

    EXPECT_EQ(h.Run(book).exitCode, 0);
    EXPECT_THAT(h.dialogs.shown, IsEmpty());
}

TEST(TermsOfUseTest, TermsTextHasItsFixedLinesAndHeadings) {
    std::vector<std::string> lines;
    std::string text = TermsText;
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end == std::string::npos ? end : end - at));
        if (end == std::string::npos) break;
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0],
              "Use of this software requires your agreement to the following standard terms and "
              "conditions:");
    EXPECT_EQ(lines[2], "Disclaimer and Release...");
    EXPECT_EQ(lines[5], "Severability...");
    EXPECT_EQ(lines[8], "Law...");
    for (int blank : {1, 4, 7}) EXPECT_EQ(lines[blank], "");
    for (int paragraph : {3, 6, 9}) EXPECT_GT(lines[paragraph].size(), 150u);
    EXPECT_STREQ(kTermsQuestion,
                 "\n\n\nDo you accept these terms of use ?  (If you click Yes this message will "
                 "not appear again)");
}

}  // namespace
}  // namespace quillmere::testing
