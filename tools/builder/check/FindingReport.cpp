#include "FindingReport.h"

#include <map>
#include <vector>

namespace quillmere::builder {

namespace {

constexpr std::size_t kShownPerKind = 3;

}  // namespace

std::string WithThousands(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::size_t ReportFindings(const Findings& findings, const std::set<FindingKind>& allowed,
                           const std::string& book, std::ostream& err) {
    std::size_t reported = 0;
    std::map<FindingKind, std::size_t> counts;  // of the page being printed
    std::vector<FindingKind> order;
    const std::string* page = nullptr;
    auto flush = [&] {
        for (FindingKind kind : order) {
            if (counts[kind] > kShownPerKind) {
                err << "... and " << WithThousands(counts[kind] - kShownPerKind) << " more "
                    << KindPlural(kind) << " in " << (page->empty() ? book : *page) << '\n';
            }
        }
        counts.clear();
        order.clear();
    };
    for (const Finding& finding : findings) {
        if (allowed.count(finding.kind)) continue;
        ++reported;
        if (page && *page != finding.page) flush();
        page = &finding.page;
        if (counts[finding.kind]++ == 0) order.push_back(finding.kind);
        if (counts[finding.kind] > kShownPerKind) continue;
        err << (finding.page.empty() ? book : finding.page);
        if (finding.line) err << ':' << finding.line;
        err << ": warning: " << finding.message << " [" << KindName(finding.kind) << "]\n";
    }
    if (page) flush();
    return reported;
}

}  // namespace quillmere::builder
