#include "support/SeededRegistry.h"

#include <vector>

#include "support/FakePlatform.h"

namespace quillmere::testing {

struct SeededRegistry::State {
    MemoryRegistry memory;
};

SeededRegistry::SeededRegistry(const TempDir& /*folder*/) : state_(std::make_unique<State>()) {}

SeededRegistry::~SeededRegistry() = default;

Registry& SeededRegistry::registry() { return state_->memory; }

void SeededRegistry::Seed(std::string_view subkey, std::string_view name, RegistryValueType type,
                          std::string_view bytes) {
    state_->memory.Set(subkey, name, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

}  // namespace quillmere::testing
