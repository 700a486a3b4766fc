// What the test bench's PDF printer made of a print job: the bench's CUPS
// queues write one PDF per job into TOVIK_PDF_DIR, named after the job's
// document name. Poppler's tools read them through Wine's Unix side.
#pragma once
#include "support/Driver.h"
#include "support/Programs.h"   // RunUnixShell

#include <optional>
#include <string>

namespace tovik_test {

// A document name no earlier job of any run has used.
std::wstring UniqueDocumentName();

// The PDF of the job with this document name, once it is completely written;
// nothing if it does not appear in time.
class PrintedPdf {
public:
    static std::optional<PrintedPdf> WaitFor(const std::wstring& documentName, int timeoutMs = 60000);
    ~PrintedPdf();   // deletes the file
    PrintedPdf(PrintedPdf&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    PrintedPdf(const PrintedPdf&) = delete;
    PrintedPdf& operator=(const PrintedPdf&) = delete;

    // The CUPS queue that printed it.
    std::string Queue() const;
    int Pages() const;
    // The top-left width x height pixels of the first page rendered at dpi.
    std::optional<Pixels> Render(int dpi, int width, int height) const;

private:
    explicit PrintedPdf(std::string path) : path_(std::move(path)) {}
    std::string Info(const char* key) const;
    std::string path_;   // Unix path
};

}  // namespace tovik_test
