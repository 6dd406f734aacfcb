#pragma once

#include <QString>

namespace morvik {

// Reads a whole input file and decodes it (UTF-8 when it looks like UTF-8, else CP932).
// Throws RunFailure naming the file when it cannot be opened or read.
QString ReadInputFile(const QString& path);

}  // namespace morvik
