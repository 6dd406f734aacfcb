#pragma once
// The part of writing an output file that depends on the system: putting complete new
// contents in place of a file at once, and recognising the temporary files of runs that
// were killed. The build takes one of two implementations:
//
// - file_replace_posix.cpp (Linux): an unnamed file (O_TMPFILE) where the file system has
//   them, else "<target>.morvik-tmp-<process id>-<n>"; a temporary file is stale when its
//   process no longer runs. A complete unnamed file takes the target's name itself when
//   nothing stands there.
// - file_replace_portable.cpp (Windows, and Linux with MORVIK_PORTABLE): Qt and the C++
//   library only. "<target>.morvik-part-<run>-<n>", <run> drawn at random once a process;
//   the process holds "morvikgraph-run-<run>.lock" (a QLockFile) in the system's temporary
//   folder while it lives. A temporary file is stale when its run's lock is left by a gone
//   process, or, with no lock to judge by (another user's or machine's run), when it is a
//   day old: no single file takes that long to write. A gone run's lock goes with its
//   files, or once a day old.

#include <QByteArray>
#include <QString>

namespace morvik::platform {

// Writes `bytes` to a temporary file beside `path`, keeping the permissions of the file it
// replaces, and renames it over `path` once complete (or names it `path` when no file is
// there). On failure the temporary file is removed and RunFailure names `path`
// (ThrowCannotBeWritten).
void ReplaceFile(const QString& path, const QByteArray& bytes);

// Throws the RunFailure of a file that cannot be written, `reason` being the system's text.
[[noreturn]] void ThrowCannotBeWritten(const QString& path, const QString& reason);

}  // namespace morvik::platform
