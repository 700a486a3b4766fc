// The system's picture decoders on bytes held in memory, shared by Tovik's
// picture loader and the converter. Nothing here starts or loads COM: each
// program brings a factory made its own way (the converter loads COM only
// when a bitmap needs it), so the converter links this without ole32.
#pragma once
#include "platform/owners/Com.h"

#include <wincodec.h>

namespace codecs {

// The first frame of a picture and its size, or why it could not be opened.
struct FirstFrame {
    platform::ComPtr<IWICStream> stream;   // over the caller's bytes
    platform::ComPtr<IWICBitmapDecoder> decoder;
    platform::ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    HRESULT error = S_OK;
    // The bytes never reached a decoder: the stream over them could not be
    // made, which says nothing about the picture.
    bool noStream = false;
    bool ok() const { return SUCCEEDED(error); }
};

// Opens the first frame of the picture in `data`, which must stay unchanged
// while the frame and anything read from it live.
FirstFrame OpenFirstFrame(IWICImagingFactory* factory, const BYTE* data, DWORD size);

// The frame's pixels in the format `wanted`: the frame itself when its
// format `has` is that already, else a converter to it (no dithering, no
// palette). Returns the converter's error; `pixels` is then empty.
HRESULT PixelsAs(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, const WICPixelFormatGUID& has,
                 const WICPixelFormatGUID& wanted, platform::ComPtr<IWICBitmapSource>& pixels);

}  // namespace codecs
