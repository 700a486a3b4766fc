// The exit codes of bmp2jpg.exe, as its usage text lists them.
#pragma once

namespace converter {

enum ExitCode : int {
    kConverted = 0,          // the JPEG file is complete at the destination
    kBadCommandLine = 1,     // no arguments, or not a bitmap path and a destination
    kUnreadableInput = 2,    // the bitmap is missing, unreadable, damaged or not a BMP file
    kUnwritableDestination = 3,  // the JPEG file could not be written; an existing one is unchanged
    kConversionFailed = 4,   // out of memory, or the system's imaging components failed
};

}  // namespace converter
