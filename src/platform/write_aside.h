// Writing a whole file beside its place, then putting it there in one step, so that a reader
// (a scrape, the next start) finds the old file or the new one, never half of one.
#pragma once

#include <string>
#include <utility>

#include "common/errors.h"
#include "platform/platform.h"

namespace corvane {

// Writes `bytes` to `temporary`, then calls `putInPlace` (the replace, with whatever retries
// its caller wants). On any failure what is left of `temporary` goes, so that no stale one
// lingers for the next try, and the failure is raised again.
template <class PutInPlace>
void writeAside(FileSystem& files, const std::string& temporary, const std::string& bytes,
                PutInPlace&& putInPlace) {
    try {
        files.writeFile(temporary, bytes);
        std::forward<PutInPlace>(putInPlace)();
    } catch (...) {
        try {
            files.deleteFile(temporary);
        } catch (const RuntimeError&) {
        }
        throw;
    }
}

}  // namespace corvane
