// The converter's command-line split against arbitrary command lines.
#include "CommandLine.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace converter;
    const std::wstring commandLine = FuzzText(data, size);
    const std::wstring_view arguments = SkipProgramName(commandLine);
    FUZZ_REQUIRE(arguments.size() <= commandLine.size());
    const ConverterArguments split = SplitArguments(arguments);
    if (split.kind != CommandLineKind::Convert) {
        FUZZ_REQUIRE(split.source.empty() && split.destination.empty());
        return 0;
    }
    FUZZ_REQUIRE(!split.source.empty() && !split.destination.empty());
    FUZZ_REQUIRE(split.source.find(L'"') == std::wstring::npos);
    FUZZ_REQUIRE(split.destination.find(L'"') == std::wstring::npos);
    // What Tovik builds from the two paths splits back into the same two.
    if (split.source.find(L' ') == std::wstring::npos) {
        const ConverterArguments again = SplitArguments(split.source + L" " + split.destination);
        FUZZ_REQUIRE(again.kind == CommandLineKind::Convert);
        FUZZ_REQUIRE(again.source == split.source && again.destination == split.destination);
    }
    return 0;
}
