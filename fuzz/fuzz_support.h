#pragma once
// Shared set-up of the fuzz targets: a Qt application object, a scratch folder, one
// working-tables record for the whole process, and the allowed ways for a run to end.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace morvik {
struct WorkingTables;
}

namespace morvik::fuzz {

// Creates the Qt application object once (offscreen platform for the chart).
void EnsureApplication();

// Writes the bytes to a file in a scratch folder that lives for the process; returns the
// file's path. The same name is overwritten on each call.
QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size);

QString ScratchFolder();

// The process's one WorkingTables (22 MB): each input resets what it reads.
WorkingTables& SharedTables();

// Runs `step`; a RunFailure, ProgramEnd or std::out_of_range (an .at() index check) is
// the program's failure path and is accepted. Anything else escapes to libFuzzer.
void AcceptFailurePath(const std::function<void()>& step);

// The staff numbers of the managers' sample staff list, for readers that filter by it.
void ListSampleStaff(WorkingTables& tables);

}  // namespace morvik::fuzz
