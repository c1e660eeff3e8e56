#pragma once

// From here on every fsync and fdatasync of this process fails with EIO, as
// on a disk that cannot keep what it was given; nothing else changes. For a
// child process only: it cannot be undone. Ends the process with status 2
// where the kernel offers no such filter.
void refuseFlushes();
