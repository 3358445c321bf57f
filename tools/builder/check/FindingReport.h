#pragma once

#include <cstddef>
#include <ostream>
#include <set>
#include <string>

#include "Finding.h"

namespace quillmere::builder {

// Prints `findings` whose kind is not in `allowed`, one line each in the compiler style
// ("PAGE:LINE: warning: ..."; `book` stands for the page of a finding about the whole book).
// Of one kind on one page the first three are printed and the rest counted. Gives how many were
// not allowed.
std::size_t ReportFindings(const Findings& findings, const std::set<FindingKind>& allowed,
                           const std::string& book, std::ostream& err);

// 1234567 as "1,234,567".
std::string WithThousands(std::uint64_t number);

}  // namespace quillmere::builder
