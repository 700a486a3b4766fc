#include "codecs/PictureDecoder.h"

namespace codecs {

using platform::ComPtr;

FirstFrame OpenFirstFrame(IWICImagingFactory* factory, const BYTE* data, DWORD size) {
    FirstFrame opened;
    HRESULT& hr = opened.error;
    if (FAILED(hr = factory->CreateStream(opened.stream.put())) ||
        FAILED(hr = opened.stream->InitializeFromMemory(const_cast<BYTE*>(data), size))) {
        opened.noStream = true;
        return opened;
    }
    if (SUCCEEDED(hr = factory->CreateDecoderFromStream(opened.stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                        opened.decoder.put())) &&
        SUCCEEDED(hr = opened.decoder->GetFrame(0, opened.frame.put())))
        hr = opened.frame->GetSize(&opened.width, &opened.height);
    return opened;
}

HRESULT PixelsAs(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, const WICPixelFormatGUID& has,
                 const WICPixelFormatGUID& wanted, ComPtr<IWICBitmapSource>& pixels) {
    pixels.reset();
    if (has == wanted) {
        frame->AddRef();
        pixels.reset(frame);
        return S_OK;
    }
    ComPtr<IWICFormatConverter> converter;
    HRESULT hr = factory->CreateFormatConverter(converter.put());
    if (FAILED(hr)) return hr;
    hr = converter->Initialize(frame, wanted, WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) return hr;
    pixels.reset(converter.release());
    return S_OK;
}

}  // namespace codecs
