// Extraction of a 256 MiB book against a plain pipeline over the same bytes: read the file,
// decipher with OpenSSL's Blowfish ECB, write the same files. Each run happens in a child process
// of its own so that its peak resident memory is its own.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <openssl/blowfish.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/QuillmereApp.h"
#include "package/BlowfishCipher.h"
#include "package/FileHelpers.h"
#include "package/PackageKey.h"
#include "package/PathHelpers.h"
#include "platform/linux/LinuxPlatform.h"
#include "records/BrandingRecord.h"
#include "records/BrandingSettings.h"
#include "records/RecordLayout.h"
#include "records/RecordWriter.h"

namespace quillmere {
namespace {

constexpr std::size_t kBookBytes = std::size_t{256} << 20;
// A book holds at most 100 files: five pages to a picture, about a quarter of the bytes in pages.
constexpr int kPages = 83;
constexpr int kPictures = 17;
constexpr std::size_t kPageBytes = 768 << 10;
constexpr std::size_t kPictureBytes = (kBookBytes - kPages * kPageBytes) / kPictures;

struct Figures {
    double seconds = 0;
    long peakKiB = 0;
    bool ok = false;
};

struct Book {
    std::filesystem::path dir;
    std::string path;
    std::vector<std::uint8_t> block;
    std::uint64_t size = 0;
};

Book book;
std::vector<Figures> oursRuns;
std::vector<Figures> baselineRuns;

std::string PageText(int n) {
    std::string page =
        "<html><head><title>RVX_REPLACE_EBOOKNAME " + std::to_string(n) + "</title></head><body>\n";
    const std::string paragraph =
        "<p>RVX_REPLACE_NAME brings you this chapter of RVX_REPLACE_EBOOKNAME. The walled garden "
        "keeps the salt wind off the beds; sow thinly and water in the evening. See "
        "<a href=\"RVX_REPLACE_LINK\">the shop</a>.</p>\n";
    while (page.size() + paragraph.size() + 16 < kPageBytes) page += paragraph;
    page += "</body></html>\n";
    page.resize(kPageBytes, ' ');
    return page;
}

std::string PictureBytes(int n) {
    std::string bytes(kPictureBytes, '\0');
    std::uint64_t x = 0x9E3779B97F4A7C15ull * (n + 1);
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        c = static_cast<char>(x);
    }
    return bytes;
}

// Builds the book once with the real builder.
void BuildBook() {
    book.dir = std::filesystem::temp_directory_path() /
               ("quillmere-bench-extract-" + std::to_string(::getpid()));
    std::filesystem::create_directories(book.dir / "in");
    std::filesystem::create_directories(book.dir / "tmp");
    std::vector<std::string> args = {"quillmere-build",
                                     "--stub",
                                     QUILLMERE_STUB_PATH,
                                     "--out",
                                     "",
                                     "--title",
                                     "Salt and Thyme",
                                     "--reseller-id",
                                     "100042",
                                     "--reseller-name",
                                     "Harbour Books",
                                     "--"};
    book.path = (book.dir / "book").string();
    args[4] = book.path;
    int pages = 0;
    int pictures = 0;
    // The pictures spread evenly among the pages.
    constexpr int kFiles = kPages + kPictures;
    for (int i = 0; i < kFiles; ++i) {
        std::string name;
        std::string content;
        if ((i + 1) * kPictures / kFiles > i * kPictures / kFiles) {
            name = "picture" + std::to_string(pictures) + ".jpg";
            content = PictureBytes(pictures++);
        } else {
            name = "page" + std::to_string(pages) + ".html";
            content = PageText(pages++);
        }
        const std::string file = (book.dir / "in" / name).string();
        std::ofstream(file, std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
        args.push_back(file);
    }
    PosixProcesses processes;
    const ProcessHandle builder = processes.Start(QUILLMERE_BUILDER_PATH, args);
    if (builder == kFailedProcess || processes.Wait(builder) != 0) {
        throw std::runtime_error("quillmere-build failed");
    }
    std::filesystem::remove_all(book.dir / "in");

    std::ifstream in(book.path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    book.size = bytes.size();
    const RecordBlockSearch found = LocateRecordBlock(bytes);
    if (!found.offset) throw std::runtime_error("no record block: " + found.problem);
    book.block.assign(bytes.begin() + *found.offset,
                      bytes.begin() + *found.offset + kStubRecordBlockSize);
}

Figures InChild(const std::function<bool()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const auto start = std::chrono::steady_clock::now();
        Figures figures;
        figures.ok = work();
        figures.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        figures.peakKiB = usage.ru_maxrss;
        const bool sent = ::write(fds[1], &figures, sizeof figures) == sizeof figures;
        ::_exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    Figures figures;
    const bool got = ::read(fds[0], &figures, sizeof figures) == sizeof figures;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!got) figures.ok = false;
    return figures;
}

class NoWindowing : public Windowing {
  public:
    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription&, ViewEvents&) override {
        return nullptr;
    }
    void RunMessageLoop() override {}
};

// The viewer's own path: read itself whole, decipher in place, rewrite and write every file.
bool ExtractWithViewer() {
    LinuxServices posix;
    RegFileRegistry registry((book.dir / "registry.reg").string());
    NoWindowing windowing;
    Platform platform{posix.dialogs, posix.lifetime,  posix.files, registry,
                      posix.system,  posix.processes, posix.shell, windowing};
    CQuillmereApp app(platform, book.block.data());
    LoadBrandingSettings(book.block.data(), app.BrandingSettings, app.Context);
    app.Context.appName = app.BrandingSettings.EbookTitle;

    app.SelfImage = ReadWholeFile(app.Context, book.path, app.SelfImageSize);
    const bool ok = app.SelfImage && app.CreateWorkspace((book.dir / "tmp").string() + "/") &&
                    app.ExtractPackage() && !app.StartPage.empty();
    return ok;  // the process ends here; its folder is removed by the parent
}

// The plain pipeline over the same bytes, with OpenSSL's Blowfish.
bool ExtractWithBaseline() {
    const int in = ::open(book.path.c_str(), O_RDONLY);
    if (in < 0) return false;
    std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[book.size]);
    for (std::uint64_t done = 0; done < book.size;) {
        const ssize_t got = ::read(in, image.get() + done, book.size - done);
        if (got <= 0) return false;
        done += static_cast<std::uint64_t>(got);
    }
    ::close(in);

    const PackageDirectory directory(book.block.data() + kPackageDirectoryOffset);
    const std::string keyText = BuildPackageKey();
    BF_KEY key;
    BF_set_key(&key, 72, reinterpret_cast<const unsigned char*>(keyText.data()));
    std::uint8_t* package = image.get() + directory.PackageOffset();
    for (std::uint32_t at = 0; at + 8 <= directory.PackageSize(); at += 8) {
        BF_LONG block[2];
        std::memcpy(block, package + at, 8);
        BF_decrypt(block, &key);
        std::memcpy(package + at, block, 8);
    }

    const std::string folder = (book.dir / "tmp" / "baseline").string() + "/";
    ::mkdir(folder.c_str(), 0700);
    TextRules rules{LeadBytes(), '/'};
    for (std::uint32_t i = 0; i < directory.FileCount(); ++i) {
        const PackageEntry entry = directory.Entry(i);
        if (GetExtensionPart(entry.Name, rules) == ".exe") continue;
        const int out =
            ::open((folder + entry.Name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600);
        if (out < 0) return false;
        const bool written = ::write(out, image.get() + entry.Offset, entry.Size) ==
                             static_cast<ssize_t>(entry.Size);
        if (::close(out) != 0 || !written) return false;
    }

    // Both decipher to the same bytes, so both pipelines do the same work.
    std::vector<std::uint8_t> check(64);
    const int again = ::open(book.path.c_str(), O_RDONLY);
    const bool read =
        again >= 0 && ::pread(again, check.data(), check.size(), directory.PackageOffset()) == 64;
    if (again >= 0) ::close(again);
    if (!read) return false;
    CBlowfishCipher cipher(keyText.c_str());
    cipher.DecryptBuffer(check.data(), static_cast<std::uint32_t>(check.size()), check.data());
    return std::memcmp(check.data(), package, check.size()) == 0;
}

void Record(benchmark::State& state, const std::function<bool()>& work,
            std::vector<Figures>& runs) {
    for (auto _ : state) {
        std::filesystem::remove_all(book.dir / "tmp");
        std::filesystem::create_directories(book.dir / "tmp");
        const Figures figures = InChild(work);
        if (!figures.ok) {
            state.SkipWithError("extraction failed");
            return;
        }
        state.SetIterationTime(figures.seconds);
        runs.push_back(figures);
    }
    state.counters["peak_MiB"] = static_cast<double>(runs.back().peakKiB) / 1024.0;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * book.size));
}

void BM_ExtractViewer(benchmark::State& state) { Record(state, ExtractWithViewer, oursRuns); }
void BM_ExtractBaseline(benchmark::State& state) {
    Record(state, ExtractWithBaseline, baselineRuns);
}

BENCHMARK(BM_ExtractBaseline)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractViewer)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

double Best(const std::vector<Figures>& runs) {
    double best = runs.at(0).seconds;
    for (const Figures& f : runs) best = std::min(best, f.seconds);
    return best;
}

long Peak(const std::vector<Figures>& runs) {
    long peak = 0;
    for (const Figures& f : runs) peak = std::max(peak, f.peakKiB);
    return peak;
}

}  // namespace
}  // namespace quillmere

int main(int argc, char** argv) {
    using namespace quillmere;
    benchmark::Initialize(&argc, argv);
    BuildBook();
    std::printf("book: %.1f MiB (stub included), %d pages of %zu KiB, %d pictures of %zu KiB\n",
                static_cast<double>(book.size) / (1 << 20), kPages, kPageBytes >> 10, kPictures,
                kPictureBytes >> 10);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(book.dir);
    if (oursRuns.empty() || baselineRuns.empty()) {
        std::printf("no figures: a run failed\n");
        return 1;
    }
    const double ours = Best(oursRuns);
    const double baseline = Best(baselineRuns);
    const double ratio = ours / baseline;
    const double bookMiB = static_cast<double>(book.size) / (1 << 20);
    const double peakMiB = static_cast<double>(Peak(oursRuns)) / 1024.0;
    std::printf("viewer   %.3f s (best of %zu), peak %.1f MiB\n", ours, oursRuns.size(), peakMiB);
    std::printf("baseline %.3f s (best of %zu), peak %.1f MiB\n", baseline, baselineRuns.size(),
                static_cast<double>(Peak(baselineRuns)) / 1024.0);
    std::printf("ratio viewer/baseline %.2fx (goal at most 1.25x): %s\n", ratio,
                ratio <= 1.25 ? "met" : "missed");
    std::printf("peak memory %.1f MiB against book + 64 MiB = %.1f MiB: %s\n", peakMiB,
                bookMiB + 64, peakMiB <= bookMiB + 64 ? "met" : "missed");
    return 0;
}
