#pragma once
// Shared set-up of the fuzz targets: a Qt application object and a scratch folder.

#include <QString>

#include <cstddef>
#include <cstdint>

namespace morvik::fuzz {

// Creates the Qt application object once (offscreen platform for the chart).
void EnsureApplication();

// Writes the bytes to a file in a scratch folder that lives for the process; returns the
// file's path. The same name is overwritten on each call.
QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size);

QString ScratchFolder();

}  // namespace morvik::fuzz
