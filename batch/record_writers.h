#pragma once

#include "batch/export_formats.h"
#include "files/file_system.h"

#include <memory>
#include <string_view>

namespace quillet {

// Where an export's records go: one output file, which gets its final name only once it
// is complete, so that a failed export leaves none.
class RecordWriter {
public:
    virtual ~RecordWriter() = default;
    virtual bool open() = 0;
    // `fileText` is the file's Windows-1252 text with CR LF line breaks; `fileName` its
    // name's bytes.
    virtual bool add(std::string_view fileText, long long id, std::string_view fileName) = 0;
    // Completes the file and gives it its final name.
    virtual bool commit() = 0;
    // Takes away what was written.
    virtual void cancel() = 0;
};

std::unique_ptr<RecordWriter> makeRecordWriter(ExportFormat format, const NativePath& outputFile);

} // namespace quillet
