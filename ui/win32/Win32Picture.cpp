#include "ui/win32/Win32Picture.h"

#include "ui/win32/Win32Style.h"

#include <cstdio>
#include <map>
#include <vector>
#include <wincodec.h>

namespace halvane::ui::win32
{
namespace
{

// An interface pointer of COM, released at the end of its scope.
template <class T> class Com
{
public:
    Com() = default;
    ~Com()
    {
        if (m_p)
            m_p->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* operator->() const { return m_p; }
    T* get() const { return m_p; }
    T** out() { return &m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

std::string failure(const char* step, HRESULT hr)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s (HRESULT 0x%08lX)", step, static_cast<unsigned long>(hr));
    return text;
}

// The pixels of `source`, 32-bit premultiplied BGRA, as a picture GDI draws.
std::shared_ptr<const Picture> pictureOf(IWICBitmapSource& source, std::string& why)
{
    UINT width = 0;
    UINT height = 0;
    source.GetSize(&width, &height);
    if (width == 0 || height == 0 || width > 32767 || height > 32767) {
        why = "the picture has no size Windows draws";
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height); // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        why = "not enough memory for the picture";
        return nullptr;
    }
    const UINT stride = width * 4;
    if (const HRESULT hr =
            source.CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits));
        FAILED(hr)) {
        DeleteObject(bitmap);
        why = failure("cannot decode the picture", hr);
        return nullptr;
    }
    bool transparent = false;
    const auto* pixel = static_cast<const BYTE*>(bits);
    for (std::size_t i = 3; i < std::size_t(stride) * height && !transparent; i += 4)
        transparent = pixel[i] != 0xFF;
    return std::make_shared<Picture>(bitmap, SIZE{LONG(width), LONG(height)}, transparent);
}

} // namespace

Picture::Picture(HBITMAP bitmap, SIZE size, bool transparent)
    : m_bitmap(bitmap), m_size(size), m_transparent(transparent)
{
}

Picture::~Picture()
{
    DeleteObject(m_bitmap);
    if (m_scaled)
        DeleteObject(m_scaled);
}

HBITMAP Picture::scaledTo(HDC dc, HDC source, SIZE size) const
{
    if (m_scaled && m_scaledSize.cx == size.cx && m_scaledSize.cy == size.cy)
        return m_scaled;
    HBITMAP scaled = CreateCompatibleBitmap(dc, size.cx, size.cy);
    if (!scaled)
        return nullptr;
    HDC target = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(target, scaled);
    // Every source pixel counts towards the ones it is scaled into.
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, m_size.cx, m_size.cy, SRCCOPY);
    SelectObject(target, previous);
    DeleteDC(target);
    if (m_scaled)
        DeleteObject(m_scaled);
    m_scaled = scaled;
    m_scaledSize = size;
    return scaled;
}

void Picture::drawStretched(HDC dc, const RECT& to) const
{
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, m_bitmap);
    const int width = to.right - to.left;
    const int height = to.bottom - to.top;
    if (m_transparent) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, to.left, to.top, width, height, source, 0, 0, m_size.cx, m_size.cy, blend);
    } else if (width == m_size.cx && height == m_size.cy) {
        BitBlt(dc, to.left, to.top, width, height, source, 0, 0, SRCCOPY);
    } else if (HBITMAP scaled = scaledTo(dc, source, SIZE{width, height})) {
        SelectObject(source, scaled);
        BitBlt(dc, to.left, to.top, width, height, source, 0, 0, SRCCOPY);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

std::shared_ptr<const Picture> decodePicture(std::string_view bytes, std::string& why)
{
    // The factory needs COM on this thread; the backend keeps it initialised.
    Com<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()));
    if (FAILED(hr)) {
        why = failure("the Windows Imaging Component is not available", hr);
        return nullptr;
    }
    // The stream reads the bytes in place; a copy keeps them writable for
    // the interface's sake.
    std::vector<BYTE> data(bytes.begin(), bytes.end());
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICBitmapSource> converted;
    if (FAILED(hr = factory->CreateStream(stream.out())) ||
        FAILED(hr = stream->InitializeFromMemory(data.data(), static_cast<DWORD>(data.size())))) {
        why = failure("cannot read the bytes", hr);
        return nullptr;
    }
    if (FAILED(hr = factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                     WICDecodeMetadataCacheOnDemand,
                                                     decoder.out())) ||
        FAILED(hr = decoder->GetFrame(0, frame.out()))) {
        why = failure("not a picture Windows reads", hr);
        return nullptr;
    }
    if (FAILED(hr = WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(),
                                           converted.out()))) {
        why = failure("cannot convert the picture", hr);
        return nullptr;
    }
    return pictureOf(*converted.get(), why);
}

std::shared_ptr<const Picture> designPicture(std::string_view name)
{
    static std::map<std::string, std::shared_ptr<const Picture>, std::less<>> decoded;
    if (auto found = decoded.find(name); found != decoded.end())
        return found->second;
    std::shared_ptr<const Picture> picture;
    HMODULE program = GetModuleHandleW(nullptr);
    const auto* rcdata = MAKEINTRESOURCEW(10); // RT_RCDATA, in its wide form
    if (HRSRC resource = FindResourceW(program, wide(name).c_str(), rcdata))
        if (HGLOBAL loaded = LoadResource(program, resource)) {
            const auto* data = static_cast<const char*>(LockResource(loaded));
            std::string why;
            picture = decodePicture({data, SizeofResource(program, resource)}, why);
        }
    decoded.emplace(std::string(name), picture);
    return picture;
}

} // namespace halvane::ui::win32
