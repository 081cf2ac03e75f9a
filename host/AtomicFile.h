#pragma once

#include <cstddef>
#include <string>

// Replaces `path` with `data` so that at every instant either the old or the
// new complete file exists: the bytes go to a temporary file in the same
// folder, which is flushed to disk and renamed over the old one; the folder is
// flushed too. On failure the old file is left as it was, the temporary file
// is removed, the reason goes to `error` (when given) and false is returned.
// A symbolic link at `path` is written through: its target is replaced and
// the link stays.
bool writeFileAtomically(const std::string& path, const void* data, size_t size, std::string* error);

// Removes the temporaries that writers who died mid-write (a kill or a power
// cut between creating and renaming them) left in `folder`. Every write sweeps
// its own folder; a folder that is written rarely can be swept on its own.
void removeStaleTemporaries(const std::string& folder);

inline bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error)
{
    return writeFileAtomically(path, text.data(), text.size(), error);
}
