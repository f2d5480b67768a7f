#include "support/size_limit.h"

namespace sw::test {

// Windows has no per-process limit on the size of the files written.
bool CanLimitFileSize() { return false; }

int WriteWithSizeLimit(uint64_t, const std::function<bool()>&) { return -1; }

}  // namespace sw::test
