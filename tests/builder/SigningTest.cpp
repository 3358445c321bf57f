#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "BookFileBytes.h"
#include "records/BrandingRecord.h"
#include "records/LittleEndian.h"
#include "support/BookBuilder.h"
#include "support/RecordsTestContext.h"
#include "support/RunProgram.h"

namespace quillmere {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::ProgramResult;
using testing::RunProgram;

// The Windows builder leaves signing to signtool (its own test is in BuilderCommandLineTest).
bool BuilderSigns() { return !std::string_view(QUILLMERE_BUILDER_PATH).ends_with(".exe"); }
constexpr const char* kNoSigning = "the Windows builder leaves signing to signtool";

ProgramResult Openssl(const std::vector<std::string>& arguments) {
    return RunProgram("openssl", arguments);
}

// A test authority of its own and a code-signing certificate it issued, made afresh in a
// temporary folder: no key is ever committed. The system's store trusts neither.
struct Certificates {
    testing::TempDir dir;
    std::string authority = dir.File("authority.pem");
    std::string signer = dir.File("signer.p12");
    std::string password = dir.Write("password", "harbour-secret\n");
    std::string wrongPassword = dir.Write("wrong-password", "not-it\n");

    Certificates() {
        const std::string authorityKey = dir.File("authority.key");
        const std::string key = dir.File("signer.key");
        const std::string request = dir.File("signer.csr");
        const std::string certificate = dir.File("signer.pem");
        const std::string usage = dir.Write("usage.ext", "extendedKeyUsage=codeSigning\n");
        for (const std::vector<std::string>& step : std::vector<std::vector<std::string>>{
                 {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", authorityKey, "-out",
                  authority, "-subj", "/CN=Quillmere Test Authority", "-days", "2"},
                 {"req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", request, "-subj",
                  "/CN=Harbour Books"},
                 {"x509", "-req", "-in", request, "-CA", authority, "-CAkey", authorityKey,
                  "-CAcreateserial", "-out", certificate, "-days", "2", "-extfile", usage},
                 {"pkcs12", "-export", "-in", certificate, "-inkey", key, "-certfile", authority,
                  "-out", signer, "-passout", "file:" + password}}) {
            const ProgramResult made = Openssl(step);
            if (made.exitCode != 0) throw std::runtime_error("openssl: " + made.err);
        }
    }
};

// Built once: two RSA keys take a while.
const Certificates& TestCertificates() {
    static const Certificates certificates;
    return certificates;
}

// A copy of the stub headed by the smallest 32-bit Windows program header osslsigncode signs:
// no sections, so the signed digest covers the header and everything after it, the stub's
// records and the package included.
std::string StubAsI686Program(const testing::TempDir& dir) {
    auto stub = testing::ReadBytes(QUILLMERE_STUB_PATH);
    constexpr std::size_t kHeaders = 0x200;
    constexpr std::size_t kPe = 0x40;
    constexpr std::size_t kOptional = kPe + 24;
    std::fill(stub.begin(), stub.begin() + kHeaders, 0);
    stub[0] = 'M';
    stub[1] = 'Z';
    stub[0x3C] = kPe;
    const std::uint8_t pe[] = {'P', 'E', 0, 0, 0x4C, 0x01};
    std::copy(std::begin(pe), std::end(pe), stub.begin() + kPe);
    stub[kPe + 20] = 0xE0;   // the optional header's size
    stub[kPe + 22] = 0x02;   // an executable image
    stub[kOptional] = 0x0B;  // PE32
    stub[kOptional + 1] = 0x01;
    WriteLe32(stub.data() + kOptional + 32, 0x1000);    // section alignment
    WriteLe32(stub.data() + kOptional + 36, kHeaders);  // file alignment
    WriteLe32(stub.data() + kOptional + 56, 0x1000);    // image size
    WriteLe32(stub.data() + kOptional + 60, kHeaders);  // headers' size
    stub[kOptional + 68] = 3;                           // console subsystem
    stub[kOptional + 92] = 16;                          // data directories
    const std::string path = dir.File("stub-i686");
    testing::WriteBytes(path, stub);
    return path;
}

BrandingValues LoadedValues(const std::vector<std::uint8_t>& book) {
    testing::RecordsTestContext context;
    BrandingValues values;
    LoadBrandingSettings(book.data() + testing::BlockOffset(book), values, context.ctx);
    return values;
}

struct SignedShop {
    const Certificates& certificates = TestCertificates();
    testing::TempDir dir;
    std::string stub = StubAsI686Program(dir);
    std::string book = dir.File("book.exe");

    std::vector<std::string> Sign(const std::string& passwordFile) const {
        return {"--sign", certificates.signer, "--sign-password-file", passwordFile};
    }

    ProgramResult Build(const std::string& out, std::vector<std::string> options) const {
        std::vector<std::string> args = {"--stub",  stub,    "--out",           out,
                                         "--title", "Herbs", "--reseller-name", "Harbour Books",
                                         "-q"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(dir.Write("index.html", "<p>RVX_REPLACE_NAME</p>"));
        return RunProgram(QUILLMERE_BUILDER_PATH, args);
    }

    ProgramResult Verify(const std::string& path, bool withAuthority) const {
        std::vector<std::string> args = {"verify", "-in", path};
        if (withAuthority) args.insert(args.end(), {"-CAfile", certificates.authority});
        return RunProgram("osslsigncode", args);
    }

    // The folder's files besides the stub and the pages: books and anything left behind.
    std::vector<std::string> Written() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name != "stub-i686" && name != "index.html") names.push_back(name);
        }
        return names;
    }
};

TEST(Signing, ASignedBookVerifiesAndKeepsTheRecordsOfTheUnsignedOne) {
    if (!BuilderSigns()) GTEST_SKIP() << kNoSigning;
    SignedShop shop;
    const std::string plain = shop.dir.File("plain.exe");
    ASSERT_EQ(shop.Build(plain, {}).exitCode, 0);
    const ProgramResult built = shop.Build(shop.book, shop.Sign(shop.certificates.password));
    ASSERT_EQ(built.exitCode, 0) << built.err;

    EXPECT_EQ(shop.Verify(shop.book, true).exitCode, 0) << shop.Verify(shop.book, true).out;
    EXPECT_NE(shop.Verify(plain, true).exitCode, 0);
    // The signature follows the package; the records and the package are the unsigned book's.
    const auto unsignedBytes = testing::ReadBytes(plain);
    const auto signedBytes = testing::ReadBytes(shop.book);
    ASSERT_GT(signedBytes.size(), unsignedBytes.size());
    const std::size_t block = testing::BlockOffset(unsignedBytes);
    EXPECT_TRUE(std::equal(unsignedBytes.begin() + 0x200, unsignedBytes.end(),
                           signedBytes.begin() + 0x200));
    EXPECT_EQ(testing::BlockOffset(signedBytes), block);
    const BrandingValues values = LoadedValues(signedBytes);
    EXPECT_EQ(values.EbookTitle, "Herbs");
    EXPECT_EQ(values.ResellerName, "Harbour Books");

    const ProgramResult inspected = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", shop.book});
    EXPECT_EQ(inspected.exitCode, 0) << inspected.out;
    for (const char* line :
         {"title: \"Herbs\"", "reseller name: \"Harbour Books\"", "signer: /CN=Harbour Books",
          "digest: matches the signature", "trusted: not trusted by the system's certificate store",
          "\nsound\n"}) {
        EXPECT_THAT(inspected.out, HasSubstr(line));
    }
    EXPECT_THAT(RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", plain}).out,
                Not(HasSubstr("Signature")));
}

TEST(Signing, InspectFindsABookChangedAfterSigning) {
    if (!BuilderSigns()) GTEST_SKIP() << kNoSigning;
    SignedShop shop;
    ASSERT_EQ(shop.Build(shop.book, shop.Sign(shop.certificates.password)).exitCode, 0);
    auto bytes = testing::ReadBytes(shop.book);
    bytes[0x1000] ^= 0xFF;  // in the stub's code, which neither the records nor the check read
    testing::WriteBytes(shop.book, bytes);
    const ProgramResult inspected = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", shop.book});
    EXPECT_EQ(inspected.exitCode, 1);
    EXPECT_THAT(inspected.out, HasSubstr("digest: DOES NOT match the signature"));
    EXPECT_THAT(inspected.out, HasSubstr("fault: the book's digest does not match its signature"));
}

TEST(Signing, ARebrandedCopyIsSignedAnew) {
    if (!BuilderSigns()) GTEST_SKIP() << kNoSigning;
    SignedShop shop;
    ASSERT_EQ(shop.Build(shop.book, shop.Sign(shop.certificates.password)).exitCode, 0);
    const std::string copy = shop.dir.File("copy.exe");
    std::vector<std::string> args = {"--rebrand",       shop.book,    "--out", copy,
                                     "--reseller-name", "Quay Books", "-q"};
    const auto sign = shop.Sign(shop.certificates.password);
    args.insert(args.end(), sign.begin(), sign.end());
    const ProgramResult rebranded = RunProgram(QUILLMERE_BUILDER_PATH, args);
    ASSERT_EQ(rebranded.exitCode, 0) << rebranded.err;
    EXPECT_EQ(shop.Verify(copy, true).exitCode, 0);
    EXPECT_EQ(LoadedValues(testing::ReadBytes(copy)).ResellerName, "Quay Books");
    // One signature, not the old one with a second beside it.
    EXPECT_EQ(fs::file_size(copy), fs::file_size(shop.book));
}

TEST(Signing, TheSystemStoreDoesNotTrustTheTestAuthority) {
    if (!BuilderSigns()) GTEST_SKIP() << kNoSigning;
    SignedShop shop;
    ASSERT_EQ(shop.Build(shop.book, shop.Sign(shop.certificates.password)).exitCode, 0);
    EXPECT_NE(shop.Verify(shop.book, false).exitCode, 0);
}

TEST(Signing, AFailedSigningLeavesNothing) {
    if (!BuilderSigns()) GTEST_SKIP() << kNoSigning;
    SignedShop shop;
    const ProgramResult result = shop.Build(shop.book, shop.Sign(shop.certificates.wrongPassword));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.err, HasSubstr("signing failed: osslsigncode: Failed to parse PKCS#12"));
    EXPECT_THAT(result.err, HasSubstr("nothing written"));
    EXPECT_TRUE(shop.Written().empty()) << ::testing::PrintToString(shop.Written());
}

TEST(Signing, AnOldBookStaysWhenSigningFails) {
    if (!BuilderSigns()) GTEST_SKIP() << kNoSigning;
    SignedShop shop;
    ASSERT_EQ(shop.Build(shop.book, {}).exitCode, 0);
    const auto before = testing::ReadBytes(shop.book);
    EXPECT_EQ(shop.Build(shop.book, shop.Sign(shop.certificates.wrongPassword)).exitCode, 1);
    EXPECT_EQ(testing::ReadBytes(shop.book), before);
    EXPECT_EQ(shop.Written(), std::vector<std::string>{"book.exe"});
}

struct SigningRefusal {
    const char* name;
    std::vector<std::string> arguments;  // LINUXBOOK, OUT, CERT and PASS stand for the paths
    int exitCode;
    const char* says;
};

const SigningRefusal kRefusals[] = {
    {"a_linux_book",
     {"--stub", QUILLMERE_STUB_PATH, "--out", "OUT", "--sign", "CERT", "--sign-password-file",
      "PASS", "PAGE"},
     1,
     "--sign makes Authenticode signatures, which only Windows books carry; this book is for "
     "readers on Linux x86-64; nothing written"},
    {"a_linux_book_rebranded",
     {"--rebrand", "LINUXBOOK", "--out", "OUT", "--sign", "CERT", "--sign-password-file", "PASS"},
     1,
     "only Windows books carry"},
    {"no_password_file",
     {"--stub", QUILLMERE_STUB_PATH, "--out", "OUT", "--sign", "CERT", "PAGE"},
     2,
     "--sign needs --sign-password-file"},
    {"a_timestamp_without_a_signature",
     {"--stub", QUILLMERE_STUB_PATH, "--out", "OUT", "--timestamp-url", "http://ts.example",
      "PAGE"},
     2,
     "need --sign"},
    {"inspect_does_not_sign", {"--inspect", "LINUXBOOK", "--sign", "CERT"}, 2, "--inspect takes"},
};

class SigningRefuses : public ::testing::TestWithParam<SigningRefusal> {};

TEST_P(SigningRefuses, AndWritesNothing) {
    if (!BuilderSigns()) GTEST_SKIP() << kNoSigning;
    const Certificates& certificates = TestCertificates();
    testing::TempDir dir;
    testing::BookSpec recipe;
    recipe.outPath = dir.File("linux-book");
    recipe.files = {{"index.html", "<p>x</p>"}};
    testing::BuildBook(recipe);
    const std::string page = dir.Write("index.html", "<p>x</p>");
    std::vector<std::string> args = GetParam().arguments;
    for (auto& arg : args) {
        if (arg == "LINUXBOOK") arg = recipe.outPath;
        if (arg == "OUT") arg = dir.File("out");
        if (arg == "CERT") arg = certificates.signer;
        if (arg == "PASS") arg = certificates.password;
        if (arg == "PAGE") arg = page;
    }
    const ProgramResult result = RunProgram(QUILLMERE_BUILDER_PATH, args);
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    EXPECT_THAT(result.err, HasSubstr(GetParam().says));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 2u);  // the Linux book and the page
}

INSTANTIATE_TEST_SUITE_P(Cases, SigningRefuses, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillmere
