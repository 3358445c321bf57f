// Rewrites pages of 1, 4 and 16 MiB dense with tags, in a single-byte and a double-byte code
// page, and prints the throughput and how the time grows with the size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pages/AdvertStore.h"
#include "pages/RewritePage.h"
#include "records/BrandingSettings.h"

namespace {

using namespace quillmere;

// No advert store: the pass still asks for it on every page.
class NoRegistry : public Registry {
  public:
    std::unique_ptr<RegistryKey> OpenKeyForQuery(std::string_view) override { return nullptr; }
    bool WriteDword(std::string_view, std::string_view, std::uint32_t) override { return false; }
};

constexpr std::size_t kMiB = 1024 * 1024;

// About 300 bytes holding nine tags; the double-byte variant adds Shift-JIS text, including a
// lead byte right before a tag so the tag's first byte is a trail byte there.
std::string Paragraph(bool doubleByte) {
    std::string p =
        "<p>RVX_REPLACE_NAME presents RVX_REPLACE_EBOOKNAME: RVX_REPLACE_DESC. "
        "<a href='RVX_SOFTWARE_LINK'>get it</a> <a href='RVX_BRINDLE_LINK'>club</a> "
        "<a href='RVX_REPLACE_LINK'>shop</a> RVX_BONUS_START<b>bonus</b>RVX_BONUS_END "
        "RVX_SHOWVERSION and some plain words to read between the tags.</p>\n";
    if (doubleByte) p += "<p>\x82\xA0\x82\xA2\x82\xA4 \x82RVX_REPLACE_NAME \x93\xFA\x96{</p>\n";
    return p;
}

std::string Page(std::size_t size, bool doubleByte) {
    std::string page = "<html><body>RVX_SW_Editor RVX_VERSION_620_5_f/x\n";
    const std::string paragraph = Paragraph(doubleByte);
    while (page.size() + paragraph.size() <= size) page += paragraph;
    page.append(size - page.size(), ' ');
    return page;
}

void Rewrite(benchmark::State& state, std::size_t size, unsigned codePage) {
    BrandingValues settings;
    settings.ResellerId = 100042;
    settings.ResellerName = "Ann's Book Corner";
    settings.ResellerSite = "http://ann.example";
    settings.ResellerUrl = "http://ann.example/buy";
    settings.EbookTitle = "Garden Ways";
    settings.EbookDescription = "Everything about growing vegetables";
    settings.HideBonusSections = 1;
    NoRegistry registry;
    static AdvertImageBuffer image;

    const std::string page = Page(size, codePage == 932);
    // One context for every page, as the extraction keeps it.
    PageRewriteContext ctx{settings, registry, image, LeadBytes(codePage)};
    for (auto _ : state) {
        state.PauseTiming();
        std::string text = page;
        state.ResumeTiming();
        RewritePage(text, ctx);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// Keeps each run's processor time per iteration (steadier than wall time on a busy machine), to
// print the growth ratios after the table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            seconds[run.run_name.function_name] =
                run.cpu_accumulated_time / static_cast<double>(run.iterations);
        }
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    struct Variant {
        const char* label;
        unsigned codePage;
    };
    const Variant variants[] = {{"single-byte", 1252}, {"cp932", 932}};
    const std::size_t sizes[] = {1, 4, 16};
    for (const Variant& v : variants) {
        for (std::size_t mib : sizes) {
            const std::string name =
                std::string("Rewrite/") + v.label + "/" + std::to_string(mib) + "MiB";
            benchmark::RegisterBenchmark(name.c_str(), Rewrite, mib * kMiB, v.codePage)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(1.0);
        }
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-12s %10s %10s %10s %8s %8s\n", "page", "1 MiB/s", "4 MiB/s", "16 MiB/s", "4/1",
                "16/4");
    for (const Variant& v : variants) {
        double t[3] = {0, 0, 0};
        bool complete = true;
        for (int i = 0; i < 3; ++i) {
            const std::string name =
                std::string("Rewrite/") + v.label + "/" + std::to_string(sizes[i]) + "MiB";
            const auto it = reporter.seconds.find(name);
            if (it == reporter.seconds.end() || it->second <= 0) {
                complete = false;
                break;
            }
            t[i] = it->second;
        }
        if (!complete) continue;
        // Each step quadruples the size: a linear pass takes about four times as long.
        std::printf("%-12s %10.1f %10.1f %10.1f %8.2f %8.2f\n", v.label, 1 / t[0], 4 / t[1],
                    16 / t[2], t[1] / t[0], t[2] / t[1]);
    }
    benchmark::Shutdown();
    return 0;
}
