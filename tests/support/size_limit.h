// Writes cut short on purpose: a child process whose file size is limited.
#pragma once

#include <cstdint>
#include <functional>

namespace sw::test {

// False where a child's file size cannot be limited (Windows).
bool CanLimitFileSize();

// Runs `write` in a child process allowed to write at most `limit` bytes
// to any file. The child exits with 0 when the writer said it failed, 1
// when it said it succeeded; -1 when no child could be run.
int WriteWithSizeLimit(uint64_t limit, const std::function<bool()>& write);

}  // namespace sw::test
