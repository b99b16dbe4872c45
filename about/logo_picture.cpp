#include "logo_picture.h"

#include <wincodec.h>
#include <wrl/client.h>

#include "com_apartment.h"
#include "module.h"
#include "resource.h"

namespace orvanel {
namespace {

using Microsoft::WRL::ComPtr;

ComPtr<IWICBitmapSource> DecodeFrame(IWICImagingFactory& factory, const ResourceBytes& jpeg) {
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    HRESULT hr = factory.CreateStream(&stream);
    // WIC only reads the buffer; the signature just lacks the const.
    if (SUCCEEDED(hr)) hr = stream->InitializeFromMemory(const_cast<BYTE*>(jpeg.data), jpeg.size);
    if (SUCCEEDED(hr)) {
        hr = factory.CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                             &decoder);
    }
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);
    if (SUCCEEDED(hr)) hr = factory.CreateFormatConverter(&converter);
    if (SUCCEEDED(hr)) {
        hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    }
    return SUCCEEDED(hr) ? converter : nullptr;
}

LogoPicture CopyPixels(IWICBitmapSource& source) {
    LogoPicture picture;
    if (FAILED(source.GetSize(&picture.width, &picture.height))) return {};
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    const UINT stride = picture.width * 4;
    if (FAILED(source.CopyPixels(nullptr, stride, stride * picture.height,
                                 reinterpret_cast<BYTE*>(picture.pixels.data())))) {
        return {};
    }
    return picture;
}

}  // namespace

LogoPicture DecodeLogo() {
    const ResourceBytes jpeg = FindResourceBytes(MAKEINTRESOURCEW(IDR_LOGO), RT_RCDATA);
    if (jpeg.data == nullptr) return {};
    const ComApartment apartment;  // outlives every interface below
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory)))) {
        return {};
    }
    const ComPtr<IWICBitmapSource> source = DecodeFrame(*factory.Get(), jpeg);
    return source ? CopyPixels(*source.Get()) : LogoPicture{};
}

void StretchLogo(HDC dc, const LogoPicture& logo, const RECT& box) {
    if (logo.pixels.empty()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(logo.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(logo.height);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0,
                    static_cast<int>(logo.width), static_cast<int>(logo.height),
                    logo.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace orvanel
