// Named pipes in place of files, for the tests that prove a reader never
// waits on one.
#pragma once

#include <filesystem>
#include <functional>

namespace testing_support {

// Makes a named pipe at `path`; false when the system refuses.
bool MakeNamedPipe(const std::filesystem::path& path);

// Runs `read` and returns true when it ended within a few seconds. A read
// that waits on the pipe at `pipe` is then set free by opening and closing
// the pipe's writing end, so that a failing test ends as well.
bool EndsPromptly(const std::filesystem::path& pipe, const std::function<void()>& read);

}  // namespace testing_support
