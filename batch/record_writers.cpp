#include "batch/record_writers.h"

#include "batch/record_formats.h"
#include "batch/sqlite_records.h"
#include "batch/xml_export.h"
#include "files/text_file.h"

namespace quillet {

namespace {

// The formats that are one stream of bytes: a head, one piece per record, a tail.
class StreamWriter : public RecordWriter {
public:
    StreamWriter(ExportFormat format, const NativePath& outputFile)
        : format_(format), file_(outputFile) {}

    bool open() override {
        std::string head;
        if (format_ == ExportFormat::Xml) {
            head.append(XmlDeclaration).append("\r\n").append(XmlRootStart).append("\r\n");
        } else if (format_ == ExportFormat::Csv) {
            appendCsvHeader(head);
        }
        return file_.open() && file_.write(head);
    }

    bool add(std::string_view fileText, long long id, std::string_view fileName) override {
        record_.clear();
        if (format_ == ExportFormat::Xml) {
            appendXmlRecord(fileText, id, record_);
        } else {
            const std::string utf8Name = displayPath(fileName);
            if (format_ == ExportFormat::Csv)
                appendCsvRecord(fileText, id, utf8Name, record_);
            else
                appendJsonRecord(fileText, id, utf8Name, record_);
        }
        return file_.write(record_);
    }

    bool commit() override {
        if (format_ == ExportFormat::Xml && !file_.write(std::string(XmlRootEnd) + "\r\n"))
            return false;
        return file_.commit();
    }

    void cancel() override { file_.cancel(); }

private:
    ExportFormat format_;
    StagedFile file_;
    std::string record_;
};

// The database is written under a hidden name too, and renamed once it is committed.
class SqliteWriter : public RecordWriter {
public:
    explicit SqliteWriter(const NativePath& outputFile) : final_(outputFile) {}
    ~SqliteWriter() override { cancel(); }

    bool open() override {
        if (!createTemporaryBeside(final_, temporary_).isOpen()) {
            temporary_.clear();
            return false;
        }
        return records_.open(temporary_);
    }

    bool add(std::string_view fileText, long long id, std::string_view fileName) override {
        return records_.insert(fileText, id, displayPath(fileName));
    }

    bool commit() override {
        if (!records_.commit() || !renameReplacing(temporary_, final_))
            return false;
        temporary_.clear();
        const NativePath folder = folderOf(final_);
        syncFolder(folder.empty() ? NativePath(".") : folder);
        return true;
    }

    void cancel() override {
        records_.close();
        if (!temporary_.empty())
            removeFile(temporary_);
        temporary_.clear();
    }

private:
    NativePath final_;
    NativePath temporary_;
    SqliteRecords records_;
};

} // namespace

std::unique_ptr<RecordWriter> makeRecordWriter(ExportFormat format, const NativePath& outputFile) {
    if (format == ExportFormat::Sqlite)
        return std::make_unique<SqliteWriter>(outputFile);
    return std::make_unique<StreamWriter>(format, outputFile);
}

} // namespace quillet
