// Putting a new file in an old one's place where the file system has no one-step replace
// (Windows 9x has no MoveFileEx): with renames only, and the old file never deleted before
// the new one is in its place.
#pragma once

#include <string>

namespace corvane {

// The file operations the renames need. Failures raise RuntimeError.
class RenameSteps {
public:
    virtual ~RenameSteps() = default;
    virtual bool exists(const std::string& path) = 0;
    virtual void rename(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
};

// Where the old file waits while the new one is moved in: `target` + ".remplace", a name
// used for nothing else. A replace cut short between its renames leaves the old file there
// alone; its owner puts it back before anything else (the history does at start-up).
std::string asidePath(const std::string& target);

// Moves `source` to `target`. An old target goes aside first and is deleted only once the
// source is in its place; when the source cannot be moved, the old target comes back. At every
// step the old content is either at `target` or aside. Raises the failure of the move itself.
void replaceByRenames(RenameSteps& steps, const std::string& source, const std::string& target);

}  // namespace corvane
