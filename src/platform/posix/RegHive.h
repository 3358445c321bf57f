#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/posix/RegEncoding.h"
#include "platform/posix/RegFileParser.h"

namespace quillmere {

// A value as a query in the locale's 8-bit form returns it.
struct RegHiveValue {
    std::uint32_t type = 0;
    std::string data;
};

// value name (folded) -> value
using RegHiveKey = std::map<std::string, RegHiveValue>;

// The keys and values a registry file leaves after its lines are applied in order, as importing
// it into an empty registry would: later values replace earlier ones, [-KEY] removes a key with
// everything under it, "name"=- removes a value, garbled lines change nothing.
class RegHive {
  public:
    static RegHive FromDocument(const RegDocument& doc, RegEncoding encoding);

    // nullptr when the key does not exist. `path` is a full path in the locale's form.
    const RegHiveKey* FindKey(std::string_view path) const;
    const std::map<std::string, RegHiveKey>& Keys() const { return keys_; }

  private:
    // folded full path -> values; every ancestor of a key exists too
    std::map<std::string, RegHiveKey> keys_;
};

}  // namespace quillmere
