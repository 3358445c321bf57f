#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Registry.h"
#include "support/TempDir.h"

namespace quillmere::testing {

// A registry for one test, filled as another program would fill it. Where the platform keeps the
// registry in a file, it is a file of its own in `folder`, read by the real backend; elsewhere it
// is in memory, since tests running side by side must not share the user's registry.
class SeededRegistry {
  public:
    explicit SeededRegistry(const TempDir& folder);
    ~SeededRegistry();
    SeededRegistry(const SeededRegistry&) = delete;
    SeededRegistry& operator=(const SeededRegistry&) = delete;

    Registry& registry();
    void Seed(std::string_view subkey, std::string_view name, RegistryValueType type,
              std::string_view bytes);
    // A REG_SZ value: the text and its terminating zero.
    void SeedString(std::string_view subkey, std::string_view name, std::string_view text);
    void SeedDword(std::string_view subkey, std::string_view name, std::uint32_t value);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace quillmere::testing
