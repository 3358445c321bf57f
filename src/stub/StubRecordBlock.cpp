#include "records/StubRecords.h"
#include "records/UnmergedRecordBlock.h"

namespace quillmere {

namespace {

// The builder patches these bytes in the executable file. Writable data, reached only through a
// volatile pointer, so the compiler can neither fold the built-in values nor move them to a
// section of their own.
constinit RecordBlock stubRecordBlock = UnmergedRecordBlock();
const std::uint8_t* const volatile stubRecordBlockAddress = stubRecordBlock.data();

}  // namespace

const std::uint8_t* StubRecordBlock() { return stubRecordBlockAddress; }

}  // namespace quillmere
