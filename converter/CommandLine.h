// How bmp2jpg.exe reads its command line: the bitmap's path, one space, then
// the destination, which may itself contain spaces. Portable, so it is
// tested and fuzzed natively.
#pragma once
#include <string>
#include <string_view>

namespace converter {

enum class CommandLineKind {
    Convert,  // source and destination are set
    Help,     // "/?" alone: print the usage text
    Empty,    // nothing after the program's name
    Bad,      // anything else that cannot be two paths
};

struct ConverterArguments {
    CommandLineKind kind = CommandLineKind::Bad;
    std::wstring source;       // the bitmap to read
    std::wstring destination;  // the JPEG file to write
};

// What follows the program's own name, skipped the way the system does: a
// name in quotes runs to the closing quote, one without to the first space
// or tab (a part in quotes inside it included); the blanks after it go too.
std::wstring_view SkipProgramName(std::wstring_view commandLine);

// Splits the arguments. The first token is the source: up to the first
// space, or the text between quotes when it starts with one. Everything
// after the one space that follows it, spaces included, is the destination,
// with quotes around it removed. A path that ends up empty or still holds a
// quote or a control character (none of which a file name can contain) makes
// the command line bad.
ConverterArguments SplitArguments(std::wstring_view arguments);

}  // namespace converter
