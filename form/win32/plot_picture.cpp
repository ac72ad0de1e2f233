#include "form/win32/plot_picture.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "form/win32/text.h"

namespace trolvane {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t kPlotFamily[] = L"Tahoma";

COLORREF ColourRef(const Colour& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

// The device pixel that covers a point: the layout puts a thin line's middle
// in a pixel's middle, so that it is drawn sharp.
int Pixel(double coordinate) {
    return static_cast<int>(std::floor(coordinate));
}

POINT PixelPoint(const Point& point) {
    return {Pixel(point.x), Pixel(point.y)};
}

// Draws shapes on one device context, each with a pen, brush and font of its
// own, in the order it is handed them.
class Painter {
  public:
    explicit Painter(HDC dc) : dc_(dc), saved_(SaveDC(dc)) { SetBkMode(dc_, TRANSPARENT); }
    ~Painter() {
        RestoreDC(dc_, saved_);
        for (const auto& [size, font] : fonts_) {
            DeleteObject(font);
        }
    }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    void operator()(const Line& line) {
        WithPen(line.stroke, [&] {
            MoveToEx(dc_, Pixel(line.from.x), Pixel(line.from.y), nullptr);
            LineTo(dc_, Pixel(line.to.x), Pixel(line.to.y));
        });
    }

    void operator()(const Polyline& polyline) {
        std::vector<POINT> points;
        std::transform(polyline.points.begin(), polyline.points.end(), std::back_inserter(points),
                       PixelPoint);
        WithPen(polyline.stroke,
                [&] { ::Polyline(dc_, points.data(), static_cast<int>(points.size())); });
    }

    void operator()(const Circle& circle) {
        HBRUSH brush = CreateSolidBrush(ColourRef(circle.fill));
        HGDIOBJ previous = SelectObject(dc_, brush);
        WithPen(circle.stroke, [&] {
            Ellipse(dc_, Pixel(circle.centre.x - circle.radius),
                    Pixel(circle.centre.y - circle.radius),
                    Pixel(circle.centre.x + circle.radius) + 1,
                    Pixel(circle.centre.y + circle.radius) + 1);
        });
        SelectObject(dc_, previous);
        DeleteObject(brush);
    }

    void operator()(const Text& text) {
        static constexpr std::pair<TextAnchor, UINT> kAlignments[] = {
            {TextAnchor::Start, TA_LEFT},
            {TextAnchor::Middle, TA_CENTER},
            {TextAnchor::End, TA_RIGHT}};
        const auto alignment =
            std::find_if(std::begin(kAlignments), std::end(kAlignments),
                         [&](const auto& each) { return each.first == text.anchor; });
        SelectObject(dc_, Font(text.size));
        SetTextColor(dc_, ColourRef(text.colour));
        SetTextAlign(dc_, TA_BASELINE | alignment->second);
        const std::wstring wide = Wide(text.text);
        TextOutW(dc_, static_cast<int>(std::lround(text.at.x)),
                 static_cast<int>(std::lround(text.at.y)), wide.c_str(),
                 static_cast<int>(wide.size()));
    }

  private:
    // Runs the drawing with a pen for the stroke selected: flat ends, round
    // corners, and dashes where the stroke has them.
    template <typename Draw>
    void WithPen(const Stroke& stroke, Draw draw) {
        const LOGBRUSH ink{BS_SOLID, ColourRef(stroke.colour), 0};
        std::vector<DWORD> dashes;
        for (const double dash : stroke.dashes) {
            dashes.push_back(static_cast<DWORD>(std::max(1L, std::lround(dash))));
        }
        const DWORD style = PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_ROUND |
                            (dashes.empty() ? PS_SOLID : PS_USERSTYLE);
        HPEN pen = ExtCreatePen(style, static_cast<DWORD>(std::max(1L, std::lround(stroke.width))),
                                &ink, static_cast<DWORD>(dashes.size()),
                                dashes.empty() ? nullptr : dashes.data());
        HGDIOBJ previous = SelectObject(dc_, pen);
        draw();
        SelectObject(dc_, previous);
        DeleteObject(pen);
    }

    // The plot's font with an em of this many pixels.
    HFONT Font(double size) {
        const long pixels = std::max(1L, std::lround(size));
        HFONT& font = fonts_[pixels];
        if (font == nullptr) {
            font = CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, kPlotFamily);
        }
        return font;
    }

    HDC dc_;
    int saved_;
    std::map<long, HFONT> fonts_;
};

// The bitmap encoded as PNG; empty where WIC could not.
std::string PngOf(HBITMAP bitmap, int width, int height) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmap> source;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    HGLOBAL memory = nullptr;
    STATSTG written{};
    const bool encoded =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(
            factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source)) &&
        SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
        SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) &&
        SUCCEEDED(frame->WriteSource(source.Get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
        SUCCEEDED(encoder->Commit()) && SUCCEEDED(GetHGlobalFromStream(stream.Get(), &memory)) &&
        SUCCEEDED(stream->Stat(&written, STATFLAG_NONAME));
    std::string png;
    if (encoded) {
        png.assign(static_cast<const char*>(GlobalLock(memory)),
                   static_cast<std::size_t>(written.cbSize.QuadPart));
        GlobalUnlock(memory);
    }
    return png;
}

}  // namespace

void PaintScreePlot(HDC dc, const ScreePlot& plot) {
    HBRUSH background = CreateSolidBrush(ColourRef(plot.background));
    const RECT whole{0, 0, static_cast<LONG>(std::ceil(plot.width)),
                     static_cast<LONG>(std::ceil(plot.height))};
    FillRect(dc, &whole, background);
    DeleteObject(background);
    Painter painter(dc);
    PaintInOrder(plot, painter);
}

PlotPicture DrawnPlot(const ScreePlot& plot) {
    const int width = static_cast<int>(std::ceil(plot.width));
    const int height = static_cast<int>(std::ceil(plot.height));
    // Rows from the bottom up, three bytes a pixel, each row padded to four bytes.
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>((width * 3 + 3) / 4 * 4 * height);
    void* rows = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &rows, nullptr, 0);
    PlotPicture picture;
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(dc, bitmap);
        PaintScreePlot(dc, plot);
        GdiFlush();
        SelectObject(dc, previous);
        picture.dib.assign(reinterpret_cast<const char*>(&header), sizeof header);
        picture.dib.append(static_cast<const char*>(rows), header.biSizeImage);
        picture.png = PngOf(bitmap, width, height);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    return picture;
}

}  // namespace trolvane
