#include <gtest/gtest.h>
#include <windows.h>

namespace quillmere {
namespace {

// The build says which architecture its programs are for: a suite run by the wrong Wine, or
// built by the wrong compiler, fails here instead of passing unseen.
const IMAGE_NT_HEADERS& RunningModuleHeaders() {
    const auto* base = reinterpret_cast<const unsigned char*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    return *reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
}

TEST(Win32Process, RunsAsTheArchitectureItWasBuiltFor) {
    EXPECT_EQ(sizeof(void*), std::size_t{QUILLMERE_EXPECTED_POINTER_BYTES});
    const IMAGE_NT_HEADERS& headers = RunningModuleHeaders();
    ASSERT_EQ(headers.Signature, DWORD{IMAGE_NT_SIGNATURE});
    EXPECT_EQ(headers.FileHeader.Machine, WORD{QUILLMERE_EXPECTED_MACHINE});
}

// Books are read whole into memory: a 32-bit program needs the 4 GB a large-address-aware one gets
// on 64-bit Windows. Randomised addresses and no-execute data hold on both architectures.
TEST(Win32Process, IsLargeAddressAwareWithAslrAndDep) {
    const IMAGE_NT_HEADERS& headers = RunningModuleHeaders();
    EXPECT_TRUE(headers.FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
    EXPECT_TRUE(headers.OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_TRUE(headers.OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
}

}  // namespace
}  // namespace quillmere
