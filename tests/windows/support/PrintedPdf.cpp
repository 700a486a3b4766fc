#include "support/PrintedPdf.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace tovik_test {
namespace {

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c);   // the names here are ASCII
    return out;
}

std::string PdfFolder() {
    char folder[1024] = {};
    const DWORD length = GetEnvironmentVariableA("TOVIK_PDF_DIR", folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder : "";
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A scratch file of this process, named on both sides.
std::string ScratchFile(const char* suffix) {
    return "/tmp/tovik-test-" + std::to_string(GetCurrentProcessId()) + suffix;
}

}  // namespace

std::wstring UniqueDocumentName() {
    static int count = 0;
    // Letters and digits only: the PDF printer rewrites other characters in file names.
    return L"TovikTest" + std::to_wstring(GetCurrentProcessId()) + L"x" + std::to_wstring(GetTickCount64()) +
           L"x" + std::to_wstring(++count);
}

std::optional<PrintedPdf> PrintedPdf::WaitFor(const std::wstring& documentName, int timeoutMs) {
    const std::string folder = PdfFolder();
    if (folder.empty()) return std::nullopt;
    std::string found;
    // The file is there before the converter has finished it; a whole PDF ends with its %%EOF mark.
    WaitUntil([&] {
        const auto names = FilesMatching(WindowsPath(folder) + L"\\" + documentName + L"*.pdf");
        if (names.empty()) return false;
        const std::string path = folder + "/" + Narrow(names.front());
        const std::string bytes = ReadFile(WindowsPath(path));
        if (bytes.rfind("%%EOF") == std::string::npos || bytes.size() - bytes.rfind("%%EOF") > 8) return false;
        found = path;
        return true;
    }, timeoutMs);
    if (found.empty()) return std::nullopt;
    return PrintedPdf(found);
}

PrintedPdf::~PrintedPdf() {
    if (!path_.empty()) DeleteFileW(WindowsPath(path_).c_str());
}

std::string PrintedPdf::Info(const char* key) const {
    const std::string out = ScratchFile(".info");
    if (RunUnixShell("/usr/bin/pdfinfo '" + path_ + "' > '" + out + "'") != 0) return {};
    std::istringstream lines(ReadFile(WindowsPath(out)));
    DeleteFileW(WindowsPath(out).c_str());
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key, 0) == 0) return line.substr(line.find(':') + 1);
    return {};
}

std::string PrintedPdf::Queue() const {
    // The printer names its files "<document>-job_<id>.pdf"; CUPS lists each
    // job as "<queue>-<id>".
    const size_t mark = path_.rfind("-job_");
    if (mark == std::string::npos) return {};
    const std::string suffix = "-" + path_.substr(mark + 5, path_.size() - mark - 5 - 4);
    const std::string out = ScratchFile(".jobs");
    if (RunUnixShell("/usr/bin/lpstat -W all -o > '" + out + "'") != 0) return {};
    std::istringstream lines(ReadFile(WindowsPath(out)));
    DeleteFileW(WindowsPath(out).c_str());
    for (std::string job; lines >> job; lines.ignore(1 << 16, '\n'))
        if (job.size() > suffix.size() && job.compare(job.size() - suffix.size(), suffix.size(), suffix) == 0)
            return job.substr(0, job.size() - suffix.size());
    return {};
}

int PrintedPdf::Pages() const {
    const std::string pages = Info("Pages:");
    return pages.empty() ? 0 : std::stoi(pages);
}

std::optional<Pixels> PrintedPdf::Render(int dpi, int width, int height) const {
    const std::string out = ScratchFile("-page");
    const std::string command = "/usr/bin/pdftoppm -r " + std::to_string(dpi) + " -f 1 -l 1 -x 0 -y 0 -W " +
                                std::to_string(width) + " -H " + std::to_string(height) + " -singlefile '" +
                                path_ + "' '" + out + "'";
    if (RunUnixShell(command) != 0) return std::nullopt;
    const std::string ppm = ReadFile(WindowsPath(out + ".ppm"));
    DeleteFileW(WindowsPath(out + ".ppm").c_str());
    // Binary PPM: "P6", width, height, maximum value, one whitespace, then RGB bytes.
    std::istringstream header(ppm);
    std::string magic;
    int maximum = 0;
    Pixels page;
    header >> magic >> page.width >> page.height >> maximum;
    const size_t start = static_cast<size_t>(header.tellg()) + 1;
    const size_t count = static_cast<size_t>(page.width) * page.height;
    if (magic != "P6" || maximum != 255 || ppm.size() < start + count * 3) return std::nullopt;
    page.data.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const auto* rgb = reinterpret_cast<const unsigned char*>(ppm.data() + start + i * 3);
        page.data[i] = Rgb(rgb[0], rgb[1], rgb[2]);
    }
    return page;
}

}  // namespace tovik_test
