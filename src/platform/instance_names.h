// The names of the objects through which copies of the program find one another.
#pragma once

#include <string>

namespace corvane {

// The mutex that one copy a session holds: a second copy in the same session ends.
inline constexpr const char* kInstanceMutexName = "Corvane.Instance";

// The mutex that the copy running from `folder` holds for every session of the machine (a
// second user, a remote session), so that two copies never write the same journal and
// history. The folder's letters are compared without case, as Windows compares paths.
std::string folderMutexName(const std::string& folder);

}  // namespace corvane
