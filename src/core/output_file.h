#pragma once
// Every file the program writes goes through here: CP932 text with CR LF line ends,
// every field in double quotes, a double quote inside a field doubled (the standard CSV
// escape, so that a name with a quote keeps its line's columns), nothing else escaped.
// Files are written to a temporary file beside the target and renamed over it only
// when complete, so a failure never leaves a half-written file where a good one stood.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <span>

namespace morvik {

QString QuotedCsvLine(std::span<const QString> fields);

// `lines` as CP932, each followed by CR LF. The lines of a file can be encoded in parts:
// no line's bytes depend on another's.
QByteArray Cp932Lines(const QStringList& lines);

// Writes Cp932Lines(lines) atomically to `path`. Throws RunFailure naming the file when it
// cannot be written.
void WriteCp932Lines(const QString& path, const QStringList& lines);

// Writes `bytes` atomically to `path`; throws RunFailure naming the file on failure.
// The bytes go to a temporary file beside the target (or, in the POSIX build, to an unnamed
// file where the system has them), renamed over the target only when complete. The first
// write into a folder removes the temporary files that runs no longer going on (a killed
// run) left there; core/platform/file_replace.h says how each build tells them apart.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Removes the temporary files in `folder` that no running process is still writing.
void RemoveStaleTemporaryFiles(const QString& folder);

// True for a name of the temporary files above.
bool IsTemporaryOutputName(const QString& name);

}  // namespace morvik
