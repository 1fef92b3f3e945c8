// Drawing into bitmaps: raster operations, figures, clipping, object
// selection and bitmap resources.
#include "PlatformFixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A bitmap selected into a memory context, made the way the editor makes its
// contexts: compatible with a window's.
class Canvas {
public:
    Canvas(int width, int height, COLORREF background) : host(vtplatform::createHostWindow(1, 1)) {
        HDC windowDc = GetDC(host);
        dc = CreateCompatibleDC(windowDc);
        bitmap = CreateCompatibleBitmap(windowDc, width, height);
        ReleaseDC(host, windowDc);
        previous = SelectObject(dc, bitmap);
        fill(RECT{0, 0, width, height}, background);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        DestroyWindow(host);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void fill(const RECT& area, COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }
    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }

    HWND host;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF penColour = RGB(200, 0, 0);
constexpr COLORREF brushColour = RGB(0, 0, 200);

// Draws an ellipse with a red pen and a blue brush on white; the picture as
// rows of '.' (untouched), 'o' (pen) and '#' (brush).
std::vector<std::string> ellipsePicture(int canvasWidth, int canvasHeight, RECT box, int penStyle = PS_SOLID,
                                        bool hollow = false) {
    Canvas canvas(canvasWidth, canvasHeight, white);
    HPEN pen = CreatePen(penStyle, 1, penColour);
    HBRUSH brush = CreateSolidBrush(brushColour);
    HGDIOBJ oldPen = SelectObject(canvas.dc, pen);
    HGDIOBJ oldBrush = SelectObject(canvas.dc, hollow ? GetStockObject(NULL_BRUSH) : brush);
    EXPECT_TRUE(Ellipse(canvas.dc, box.left, box.top, box.right, box.bottom));
    SelectObject(canvas.dc, oldPen);
    SelectObject(canvas.dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    std::vector<std::string> rows;
    for (int y = 0; y < canvasHeight; ++y) {
        std::string row;
        for (int x = 0; x < canvasWidth; ++x) {
            const COLORREF c = canvas.at(x, y);
            row += c == white ? '.' : c == penColour ? 'o' : c == brushColour ? '#' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(RasterOperations, CombineSourceAndDestinationPerChannel) {
    // Channels chosen so that AND, OR and XOR each give a different byte.
    constexpr COLORREF destination = RGB(0xF0, 0x0F, 0x55);
    constexpr COLORREF source = RGB(0x3C, 0xFF, 0x00);
    struct Case {
        DWORD rop;
        COLORREF expected;
    };
    const Case cases[] = {
        {SRCCOPY, RGB(0x3C, 0xFF, 0x00)},
        {SRCAND, RGB(0x30, 0x0F, 0x00)},
        {SRCPAINT, RGB(0xFC, 0xFF, 0x55)},
        {SRCINVERT, RGB(0xCC, 0xF0, 0x55)},
    };
    for (const Case& c : cases) {
        Canvas target(3, 3, destination);
        Canvas image(3, 3, source);
        EXPECT_TRUE(BitBlt(target.dc, 1, 1, 1, 1, image.dc, 0, 0, c.rop));
        EXPECT_EQ(target.at(1, 1), c.expected) << std::hex << c.rop;
        EXPECT_EQ(target.at(0, 0), destination) << "outside the copied block";
        EXPECT_EQ(target.at(2, 2), destination) << "outside the copied block";
    }
}

TEST(RasterOperations, UnsupportedOperationIsRefusedAndDrawsNothing) {
    Canvas target(2, 2, white);
    Canvas image(2, 2, RGB(1, 2, 3));
    constexpr DWORD patternCopy = 0x00F00021;
    EXPECT_FALSE(BitBlt(target.dc, 0, 0, 2, 2, image.dc, 0, 0, patternCopy));
    EXPECT_EQ(target.at(0, 0), white);
}

TEST(RasterOperations, MaskThenImageKeepsTheBackgroundAroundTheShape) {
    // The knob's way of drawing: AND a mask that is black on the shape, then OR
    // an image that is black around it.
    Canvas panel(4, 1, RGB(90, 120, 150));
    Canvas mask(4, 1, white);
    Canvas frame(4, 1, RGB(0, 0, 0));
    mask.fill(RECT{1, 0, 3, 1}, RGB(0, 0, 0));
    frame.fill(RECT{1, 0, 3, 1}, RGB(10, 200, 30));
    BitBlt(panel.dc, 0, 0, 4, 1, mask.dc, 0, 0, SRCAND);
    BitBlt(panel.dc, 0, 0, 4, 1, frame.dc, 0, 0, SRCPAINT);
    EXPECT_EQ(panel.at(0, 0), RGB(90, 120, 150));
    EXPECT_EQ(panel.at(1, 0), RGB(10, 200, 30));
    EXPECT_EQ(panel.at(2, 0), RGB(10, 200, 30));
    EXPECT_EQ(panel.at(3, 0), RGB(90, 120, 150));
}

TEST(BitBlt, ClipsToDestinationAndCopiesOnlyPixelsTheSourceHas) {
    struct Case {
        const char* what;
        int x, y, width, height, sourceX, sourceY;
        RECT changed;  // where the destination takes the source colour
    };
    // Destination 6 × 6, source 4 × 4.
    const Case cases[] = {
        {"inside", 1, 1, 2, 2, 0, 0, {1, 1, 3, 3}},
        {"past the destination's right and bottom", 4, 4, 4, 4, 0, 0, {4, 4, 6, 6}},
        {"before the destination's left and top", -2, -3, 4, 4, 0, 0, {0, 0, 2, 1}},
        {"past the source's right and bottom", 0, 0, 6, 6, 2, 2, {0, 0, 2, 2}},
        {"before the source's left and top", 0, 0, 4, 4, -1, -2, {1, 2, 4, 4}},
        {"empty block", 1, 1, 0, 3, 0, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Canvas target(6, 6, white);
        Canvas image(4, 4, RGB(7, 8, 9));
        EXPECT_TRUE(BitBlt(target.dc, c.x, c.y, c.width, c.height, image.dc, c.sourceX, c.sourceY, SRCCOPY));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool inside = x >= c.changed.left && x < c.changed.right && y >= c.changed.top &&
                                    y < c.changed.bottom;
                EXPECT_EQ(target.at(x, y), inside ? RGB(7, 8, 9) : white) << c.what << " at " << x << "," << y;
            }
    }
}

TEST(BitBlt, OverlappingCopyWithinOneBitmapReadsTheOriginalPixels) {
    const POINT shifts[] = {{1, 1}, {-1, -1}, {2, -1}, {-2, 1}, {0, 1}, {0, -1}};
    for (const POINT shift : shifts) {
        Canvas canvas(5, 5, white);
        std::vector<COLORREF> before;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                SetPixel(canvas.dc, x, y, RGB(x * 40, y * 40, 7));
                before.push_back(RGB(x * 40, y * 40, 7));
            }
        BitBlt(canvas.dc, 1 + shift.x, 1 + shift.y, 3, 3, canvas.dc, 1, 1, SRCCOPY);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const int sx = x - shift.x;
                const int sy = y - shift.y;
                const bool copied = x >= 1 + shift.x && x < 4 + shift.x && y >= 1 + shift.y && y < 4 + shift.y;
                const COLORREF expected = copied ? before[static_cast<std::size_t>(sy * 5 + sx)]
                                                 : before[static_cast<std::size_t>(y * 5 + x)];
                EXPECT_EQ(canvas.at(x, y), expected) << "shift " << shift.x << "," << shift.y << " at " << x << ","
                                                     << y;
            }
    }
}

TEST(FillRect, CoversLeftAndTopButNotRightAndBottomClippedToTheBitmap) {
    struct Case {
        RECT area;
        RECT filled;
    };
    const Case cases[] = {
        {{2, 3, 6, 5}, {2, 3, 6, 5}},
        {{-2, -2, 2, 1}, {0, 0, 2, 1}},
        {{5, 6, 20, 20}, {5, 6, 8, 8}},
        {{4, 4, 4, 7}, {0, 0, 0, 0}},  // no width
        {{6, 2, 3, 5}, {0, 0, 0, 0}},  // right before left
    };
    for (const Case& c : cases) {
        Canvas canvas(8, 8, white);
        canvas.fill(c.area, RGB(1, 2, 3));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside =
                    x >= c.filled.left && x < c.filled.right && y >= c.filled.top && y < c.filled.bottom;
                EXPECT_EQ(canvas.at(x, y), inside ? RGB(1, 2, 3) : white)
                    << "area " << c.area.left << "," << c.area.top << "," << c.area.right << "," << c.area.bottom
                    << " at " << x << "," << y;
            }
    }
}

class EllipseShape : public testing::TestWithParam<RECT> {};

TEST_P(EllipseShape, StaysInsideItsBoxTouchesEveryEdgeAndIsSymmetric) {
    const RECT box = GetParam();
    const std::vector<std::string> picture = ellipsePicture(30, 30, box);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inBox = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
            if (!inBox) {
                EXPECT_EQ(picture[y][x], '.') << "outside the box at " << x << "," << y;
            }
        }
    auto column = [&](int x) {
        std::string c;
        for (int y = box.top; y < box.bottom; ++y) c += picture[y][x];
        return c;
    };
    EXPECT_NE(picture[box.top].find('o'), std::string::npos) << "top row";
    EXPECT_NE(picture[box.bottom - 1].find('o'), std::string::npos) << "bottom row";
    EXPECT_NE(column(box.left).find('o'), std::string::npos) << "left column";
    EXPECT_NE(column(box.right - 1).find('o'), std::string::npos) << "right column";
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            EXPECT_EQ(picture[y][x], picture[y][box.left + box.right - 1 - x]) << "left-right at " << x << "," << y;
            EXPECT_EQ(picture[y][x], picture[box.top + box.bottom - 1 - y][x]) << "top-bottom at " << x << "," << y;
        }
}

TEST_P(EllipseShape, OutlineEnclosesTheFillAndEachRowIsOneSpan) {
    const RECT box = GetParam();
    const std::vector<std::string> picture = ellipsePicture(30, 30, box);
    for (int y = 0; y < 30; ++y) {
        const std::size_t first = picture[y].find_first_not_of('.');
        const std::size_t last = picture[y].find_last_not_of('.');
        if (first != std::string::npos) {
            EXPECT_EQ(picture[y].substr(first, last - first + 1).find('.'), std::string::npos) << "row " << y;
        }
        for (int x = 0; x < 30; ++x) {
            if (picture[y][x] != '#') continue;
            // The brush never meets the background directly.
            for (const POINT n : {POINT{x - 1, y}, POINT{x + 1, y}, POINT{x, y - 1}, POINT{x, y + 1}})
                EXPECT_NE(picture[n.y][n.x], '.') << "fill open at " << x << "," << y;
        }
    }
    const int centreX = (box.left + box.right) / 2;
    const int centreY = (box.top + box.bottom) / 2;
    if (box.right - box.left >= 3 && box.bottom - box.top >= 3) {
        EXPECT_EQ(picture[centreY][centreX], '#');
    }
}

INSTANTIATE_TEST_SUITE_P(Boxes, EllipseShape,
                         testing::Values(RECT{2, 2, 28, 28},  // the knob's 26 × 26
                                         RECT{1, 1, 9, 7}, RECT{5, 5, 6, 6}, RECT{3, 3, 5, 10}, RECT{4, 20, 25, 23},
                                         RECT{10, 10, 13, 13}),
                         [](const testing::TestParamInfo<RECT>& info) {
                             const RECT& r = info.param;
                             return std::to_string(r.left) + "_" + std::to_string(r.top) + "_" +
                                    std::to_string(r.right) + "_" + std::to_string(r.bottom);
                         });

TEST(Ellipse, BoxGivenRightToLeftDrawsTheSameFigure) {
    EXPECT_EQ(ellipsePicture(12, 12, RECT{9, 8, 1, 2}), ellipsePicture(12, 12, RECT{1, 2, 9, 8}));
}

TEST(Ellipse, NullPenLeavesOnlyTheFillAndNullBrushOnlyTheOutline) {
    const std::vector<std::string> both = ellipsePicture(12, 12, RECT{1, 1, 11, 11});
    const std::vector<std::string> noPen = ellipsePicture(12, 12, RECT{1, 1, 11, 11}, PS_NULL);
    const std::vector<std::string> noBrush = ellipsePicture(12, 12, RECT{1, 1, 11, 11}, PS_SOLID, true);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(noPen[y][x], both[y][x] == '.' ? '.' : '#') << x << "," << y;
            EXPECT_EQ(noBrush[y][x], both[y][x] == 'o' ? 'o' : '.') << x << "," << y;
        }
}

TEST(Ellipse, ClippedAtTheBitmapEdgeKeepsTheVisiblePartUnchanged) {
    // The same figure drawn whole and drawn hanging off the top-left corner.
    const std::vector<std::string> whole = ellipsePicture(10, 10, RECT{0, 0, 10, 10});
    const std::vector<std::string> clipped = ellipsePicture(5, 5, RECT{-5, -5, 5, 5});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(clipped[y][x], whole[y + 5][x + 5]) << x << "," << y;
}

TEST(Rectangle, OutlinesTheEdgePixelsAndFillsTheInside) {
    struct Case {
        int penStyle;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {PS_SOLID, {"......", ".oooo.", ".o##o.", ".oooo.", "......"}},
        // Without an outline the figure loses its right column and bottom row.
        {PS_NULL, {"......", ".###..", ".###..", "......", "......"}},
    };
    for (const Case& c : cases) {
        Canvas canvas(6, 5, white);
        HPEN pen = CreatePen(c.penStyle, 1, penColour);
        HBRUSH brush = CreateSolidBrush(brushColour);
        HGDIOBJ oldPen = SelectObject(canvas.dc, pen);
        HGDIOBJ oldBrush = SelectObject(canvas.dc, brush);
        EXPECT_TRUE(Rectangle(canvas.dc, 1, 1, 5, 4));
        SelectObject(canvas.dc, oldPen);
        SelectObject(canvas.dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                const char e = c.expected[y][x];
                EXPECT_EQ(canvas.at(x, y), e == 'o' ? penColour : e == '#' ? brushColour : white)
                    << c.penStyle << " at " << x << "," << y;
            }
    }
}

TEST(SelectObject, AnswersThePreviouslySelectedObjectOfTheSameKind) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
    HBRUSH brush = CreateSolidBrush(RGB(2, 2, 2));
    HWND host = vtplatform::createHostWindow(4, 4);
    HDC windowDc = GetDC(host);
    HBITMAP first = CreateCompatibleBitmap(windowDc, 2, 2);
    HBITMAP second = CreateCompatibleBitmap(windowDc, 3, 3);

    // A new context holds the stock pen and brush and a bitmap of its own.
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    const HGDIOBJ initialBitmap = SelectObject(dc, first);
    ASSERT_NE(initialBitmap, nullptr);
    BITMAP size{};
    ASSERT_EQ(GetObjectA(initialBitmap, sizeof size, &size), static_cast<int>(sizeof size));
    EXPECT_EQ(size.bmWidth, 1);
    EXPECT_EQ(size.bmHeight, 1);

    EXPECT_EQ(SelectObject(dc, second), first);
    EXPECT_EQ(SelectObject(dc, initialBitmap), second);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), pen);

    // Bitmaps go into memory contexts only; pens and brushes into any.
    EXPECT_EQ(SelectObject(windowDc, first), nullptr);
    EXPECT_EQ(SelectObject(windowDc, pen), GetStockObject(BLACK_PEN));
    SelectObject(windowDc, GetStockObject(BLACK_PEN));

    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_EQ(SelectObject(nullptr, pen), nullptr);

    ReleaseDC(host, windowDc);
    DestroyWindow(host);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(brush), static_cast<HGDIOBJ>(first),
                           static_cast<HGDIOBJ>(second)})
        EXPECT_TRUE(DeleteObject(object));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(SelectObject, ABitmapIsInOneContextAtATimeAndStaysWhileSelected) {
    const int objectsBefore = vtplatform::gdiObjectCount();
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(a, 2, 2);
    const HGDIOBJ oldA = SelectObject(a, bitmap);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap)) << "deleted while selected";
    EXPECT_EQ(SelectObject(a, oldA), bitmap);
    const HGDIOBJ oldB = SelectObject(b, bitmap);
    EXPECT_NE(oldB, nullptr);
    // Deleting the context lets go of the bitmap.
    EXPECT_TRUE(DeleteDC(b));
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap)) << "deleted twice";
    EXPECT_EQ(SelectObject(a, bitmap), nullptr) << "a deleted handle";
    EXPECT_TRUE(DeleteDC(a));
    EXPECT_FALSE(DeleteDC(a));
    EXPECT_EQ(vtplatform::gdiObjectCount(), objectsBefore);
}

TEST(SelectObject, StockObjectsSurviveDeletion) {
    for (int index : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN, NULL_PEN}) {
        const HGDIOBJ stock = GetStockObject(index);
        ASSERT_NE(stock, nullptr) << index;
        EXPECT_TRUE(DeleteObject(stock));
        HDC dc = CreateCompatibleDC(nullptr);
        EXPECT_NE(SelectObject(dc, stock), nullptr) << index;
        DeleteDC(dc);
    }
}

TEST(PensAndBrushes, DescribeThemselves) {
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(10, 20, 30));
    HBRUSH brush = CreateSolidBrush(RGB(40, 50, 60));
    LOGPEN penInfo{};
    LOGBRUSH brushInfo{};
    ASSERT_EQ(GetObjectA(pen, sizeof penInfo, &penInfo), static_cast<int>(sizeof penInfo));
    ASSERT_EQ(GetObjectA(brush, sizeof brushInfo, &brushInfo), static_cast<int>(sizeof brushInfo));
    EXPECT_EQ(penInfo.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(penInfo.lopnColor, RGB(10, 20, 30));
    EXPECT_EQ(brushInfo.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brushInfo.lbColor, RGB(40, 50, 60));
    EXPECT_EQ(GetObjectA(pen, 2, &penInfo), 0) << "buffer too small";
    DeleteObject(pen);
    DeleteObject(brush);
    EXPECT_EQ(GetObjectA(pen, sizeof penInfo, &penInfo), 0) << "deleted handle";
}

// A 3 × 2 picture: odd width, so every stored row carries padding.
const fixtures::Image picture = {
    {0xFF0000, 0x00FF00, 0x0000FF},
    {0x123456, 0xFFFFFF, 0x000000},
};
const std::vector<std::uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
const fixtures::Image indexed = {{0, 1, 2}, {3, 4, 5}};

struct BitmapFormat {
    const char* name;
    int bits;
    bool topDown;
};

class BitmapResource : public testing::TestWithParam<BitmapFormat> {};

TEST_P(BitmapResource, LoadsWithItsPixelsAndSize) {
    const BitmapFormat format = GetParam();
    const std::vector<unsigned char> file = format.bits == 8
                                                ? fixtures::makeBmp(indexed, 8, format.topDown, palette)
                                                : fixtures::makeBmp(picture, 24, format.topDown);
    const HINSTANCE module = fixtures::freshModule();
    ASSERT_TRUE(vtplatform::registerBitmap(module, 101, file.data(), file.size()));
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(101));
    ASSERT_NE(bitmap, nullptr);
    BITMAP size{};
    ASSERT_GT(GetObjectA(bitmap, sizeof size, &size), 0);
    EXPECT_EQ(size.bmWidth, 3);
    EXPECT_EQ(size.bmHeight, 2);

    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const std::uint32_t p = picture[y][x];
            EXPECT_EQ(GetPixel(dc, x, y), RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF)) << x << "," << y;
        }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    vtplatform::unregisterBitmap(module, 101);
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapResource,
                         testing::Values(BitmapFormat{"TrueColourBottomUp", 24, false},
                                         BitmapFormat{"TrueColourTopDown", 24, true},
                                         BitmapFormat{"PalettedBottomUp", 8, false},
                                         BitmapFormat{"PalettedTopDown", 8, true}),
                         [](const testing::TestParamInfo<BitmapFormat>& info) { return info.param.name; });

TEST(BitmapResources, EachLoadIsANewBitmapAndMissingIdsLoadNothing) {
    const std::vector<unsigned char> file = fixtures::makeBmp(picture, 24, false);
    const HINSTANCE module = fixtures::freshModule();
    const HINSTANCE otherModule = fixtures::freshModule();
    ASSERT_TRUE(vtplatform::registerBitmap(module, 103, file.data(), file.size()));
    HBITMAP first = LoadBitmapA(module, MAKEINTRESOURCEA(103));
    HBITMAP second = LoadBitmapA(module, MAKEINTRESOURCEA(103));
    EXPECT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(104)), nullptr);
    EXPECT_EQ(LoadBitmapA(otherModule, MAKEINTRESOURCEA(103)), nullptr) << "another library's resources";
    EXPECT_EQ(LoadBitmapA(module, "named"), nullptr);
    vtplatform::unregisterBitmap(module, 103);
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(103)), nullptr);
    // Bitmaps already loaded stay usable.
    BITMAP size{};
    EXPECT_GT(GetObjectA(first, sizeof size, &size), 0);
    DeleteObject(first);
    DeleteObject(second);
}

TEST(BitmapResources, PaletteIndexWithoutAnEntryReadsAsBlack) {
    const std::vector<unsigned char> file = fixtures::makeBmp({{0, 2}}, 8, false, {0x00FF00, 0x0000FF});
    const HINSTANCE module = fixtures::freshModule();
    ASSERT_TRUE(vtplatform::registerBitmap(module, 1, file.data(), file.size()));
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(1));
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST(BitmapResources, DamagedOrUnsupportedImagesAreRefused) {
    const std::vector<unsigned char> valid = fixtures::makeBmp(picture, 24, false);
    auto with = [&](std::size_t offset, std::vector<unsigned char> bytes) {
        std::vector<unsigned char> file = valid;
        for (std::size_t i = 0; i < bytes.size(); ++i) file.at(offset + i) = bytes[i];
        return file;
    };
    struct Case {
        const char* what;
        std::vector<unsigned char> file;
    };
    const Case cases[] = {
        {"not a BMP", with(0, {'P', 'N'})},
        {"pixels cut short", std::vector<unsigned char>(valid.begin(), valid.end() - 1)},
        {"header only", std::vector<unsigned char>(valid.begin(), valid.begin() + 30)},
        {"compressed", with(30, {1, 0, 0, 0})},
        {"16 bits per pixel", with(28, {16, 0})},
        {"two planes", with(26, {2, 0})},
        {"no width", with(18, {0, 0, 0, 0})},
        {"no height", with(22, {0, 0, 0, 0})},
        {"width beyond reason", with(18, {0, 0, 0, 0x10})},
        {"pixels said to start past the end", with(10, {0xFF, 0xFF, 0, 0})},
        {"header larger than the file", with(14, {0xFF, 0xFF, 0, 0})},
    };
    const HINSTANCE module = fixtures::freshModule();
    for (const Case& c : cases) {
        EXPECT_FALSE(vtplatform::registerBitmap(module, 7, c.file.data(), c.file.size())) << c.what;
        EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(7)), nullptr) << c.what;
    }
    EXPECT_FALSE(vtplatform::registerBitmap(module, 7, nullptr, 0));
    EXPECT_FALSE(vtplatform::registerBitmap(module, 0, valid.data(), valid.size())) << "resource 0";
    // A damaged image leaves an earlier good one in place.
    ASSERT_TRUE(vtplatform::registerBitmap(module, 8, valid.data(), valid.size()));
    EXPECT_FALSE(vtplatform::registerBitmap(module, 8, cases[0].file.data(), cases[0].file.size()));
    HBITMAP kept = LoadBitmapA(module, MAKEINTRESOURCEA(8));
    EXPECT_NE(kept, nullptr);
    DeleteObject(kept);
}

TEST(Pixels, OutsideTheBitmapAreInvalid) {
    Canvas canvas(2, 2, white);
    EXPECT_EQ(GetPixel(canvas.dc, 2, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc, 0, -1), CLR_INVALID);
    EXPECT_EQ(SetPixel(canvas.dc, -1, 0, RGB(1, 1, 1)), CLR_INVALID);
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
}

}  // namespace
