// Replacing a file by renames.
#include "platform/file_replace.h"

#include "common/errors.h"

namespace corvane {

std::string asidePath(const std::string& target) {
    // Never a name the program keeps a user's data under (".bak", ".old", ".tmp" ...): a stale
    // aside is deleted.
    return target + ".remplace";
}

void replaceByRenames(RenameSteps& steps, const std::string& source, const std::string& target) {
    const std::string aside = asidePath(target);
    bool movedAside = false;
    if (steps.exists(target)) {
        // The target is there, so an older copy aside is left over from an earlier replace.
        if (steps.exists(aside)) steps.remove(aside);
        steps.rename(target, aside);
        movedAside = true;
    }
    try {
        steps.rename(source, target);
    } catch (const RuntimeError&) {
        if (movedAside) {
            try {
                steps.rename(aside, target);
            } catch (const RuntimeError&) {
                // The old content stays aside, where nothing deletes it.
            }
        }
        throw;
    }
    if (movedAside) {
        try {
            steps.remove(aside);
        } catch (const RuntimeError&) {
            // Only a stale copy is left; the next replace removes it.
        }
    }
}

}  // namespace corvane
