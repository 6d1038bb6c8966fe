#pragma once

#include "platform/Launcher.h"

namespace quillon::platform {

// Starts programs and opens documents as new processes of their own session, in `folder` (the
// current folder when empty). A relative path is taken from that folder.
//
// - An executable regular file runs directly, without arguments.
// - Any other file or folder, and an address such as https://example.org/, opens through
//   xdg-open, which picks the user's program for it.
// - A name without a slash that names nothing in the folder is looked up on PATH.
//
// Open() returns once the new process runs the program (or xdg-open); it is false when the
// folder cannot be entered, the path names nothing, or the program cannot be executed. Whether
// xdg-open then finds a program for a document is not known here. The launched process is
// not a child of this one (it is started through an intermediate process that ends at once),
// so it never lingers as a zombie and outlives the program.
class LinuxLauncher final : public Launcher {
 public:
  bool Open(std::string_view path, std::string_view folder) override;
};

}  // namespace quillon::platform
