#include "CommandLine.h"

namespace converter {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool IsUsablePath(std::wstring_view path) {
    if (path.empty()) return false;
    for (wchar_t c : path)
        if (c == L'"' || static_cast<unsigned long>(c) < 0x20) return false;
    return true;
}

}  // namespace

std::wstring_view SkipProgramName(std::wstring_view commandLine) {
    size_t i = 0;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        const wchar_t c = commandLine[i];
        if (c == L'"') quoted = !quoted;
        else if (!quoted && IsBlank(c)) break;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

ConverterArguments SplitArguments(std::wstring_view arguments) {
    ConverterArguments result;
    if (arguments.empty()) {
        result.kind = CommandLineKind::Empty;
        return result;
    }
    std::wstring_view trimmed = arguments;
    while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.remove_suffix(1);
    if (trimmed == L"/?") {
        result.kind = CommandLineKind::Help;
        return result;
    }

    std::wstring_view source, rest;
    if (arguments.front() == L'"') {
        const size_t close = arguments.find(L'"', 1);
        if (close == std::wstring_view::npos) return result;
        source = arguments.substr(1, close - 1);
        rest = arguments.substr(close + 1);
    } else {
        const size_t space = arguments.find(L' ');
        if (space == std::wstring_view::npos) return result;
        source = arguments.substr(0, space);
        rest = arguments.substr(space);
    }
    if (rest.empty() || rest.front() != L' ') return result;
    std::wstring_view destination = rest.substr(1);
    if (!destination.empty() && destination.front() == L'"') {
        destination.remove_prefix(1);
        if (!destination.empty() && destination.back() == L'"') destination.remove_suffix(1);
    }
    if (!IsUsablePath(source) || !IsUsablePath(destination)) return result;

    result.kind = CommandLineKind::Convert;
    result.source.assign(source);
    result.destination.assign(destination);
    return result;
}

}  // namespace converter
