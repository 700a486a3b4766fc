// Resource identifiers and version of bmp2jpg.exe.
#pragma once

#define IDR_USAGE               101

#define BMP2JPG_FILEVERSION     1,0,0,0
#define BMP2JPG_VERSION_TEXT    "1.0.0"
