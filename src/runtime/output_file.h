#pragma once
// Output files the user names: a parameter file, an export, the link log, a recording, the
// command line's -o. Only complete work replaces a file, and only the file named is replaced:
// - a regular file (or a new name) gets a new file of a unique name beside it, which is renamed
//   over it once written and on the disk; a replaced file keeps its permission bits and, where
//   the process may, its owner;
// - a symlink is followed: the file it points at is replaced, the link stays;
// - anything else that exists (a device, a fifo, a socket, a terminal reached by /dev/stdout)
//   is written in place as `cat > target` would, never renamed over.
// Every failure carries the system's reason.

#include <string>
#include <string_view>

namespace qrix::files {

// Where the bytes for `path` go.
struct OutputTarget {
  std::string path;      // the file itself: symlinks followed
  bool inPlace = false;  // not a regular file: written through its own name
};

// Follows `path` to the file it names. False, with the system's reason, when the path cannot
// name a file that could be written (a folder, a symlink loop, a folder on the way missing).
bool resolveOutput(const std::string& path, OutputTarget& target, std::string& reason);

// Checks, before any work is done, that `path` can be written as above: the folder exists and
// may be written into, the names fit, the target is no folder. Empty when all is well, else the
// system's reason ("Permission denied").
std::string checkOutputFile(const std::string& path);

// `path` with `suffix` added to its file name, the name shortened (never the folder) so that the
// whole name stays within what the folder's file system allows.
std::string nameBeside(const std::string& path, std::string_view suffix);

// Writes `content` to `path` as described above. False when anything failed, with the reason in
// `reason` when given; a temporary file is then removed and the target left as it was.
bool writeFileAtomically(const std::string& path, const std::string& content,
                         std::string* reason = nullptr);

// Puts the finished file `written` (made beside the resolved target, see nameBeside) in the
// place of `path`: renamed over a regular file, or copied into a target written in place and
// then removed. False, with the reason, when that failed; `written` then stays.
bool replaceWithFile(const std::string& written, const std::string& path,
                     std::string* reason = nullptr);

}  // namespace qrix::files
