// TQImaging: page counts and resolutions of fax TIFFs, and damaged files
// answered quietly.
#include <TQImaging.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#if defined(_WIN32)
#  include <io.h>
#else
#  include <tiffio.h>
#  include <unistd.h>
#endif

#include "support/faxtiff.h"
#include "support/testutil.h"
#include "support/wine.h"

namespace {

using xwth_test::FaxPage;
using xwth_test::MakeFaxTiff;

struct Answer {
    bool opened = false;
    int count = -7;
    bool resolved = false;
    int x = -7, y = -7;
};

Answer Ask(const std::string& path, int page = 0) {
    Answer a;
    void* h = TQIOpenFile(path.c_str());
    a.opened = h != nullptr;
    if (h != nullptr) {
        TQIGetPageCount(h, a.count);
        a.resolved = TQIGetPageResolution(h, page, a.x, a.y) != 0;
        TQICloseFile(h);
    }
    return a;
}

// Everything written to standard error (file descriptor 2) while it lives.
class StderrCapture {
public:
    explicit StderrCapture(const std::string& path) : m_path(path) {
        std::fflush(stderr);
        m_saved = dup(2);
        FILE* f = std::fopen(path.c_str(), "wb");
        dup2(fileno(f), 2);
        std::fclose(f);
    }
    ~StderrCapture() { Restore(); }
    std::string Text() {
        Restore();
        return xwth_test::ReadFileBytes(m_path);
    }

private:
    void Restore() {
        if (m_saved >= 0) {
            std::fflush(stderr);
            dup2(m_saved, 2);
            close(m_saved);
            m_saved = -1;
        }
    }
    std::string m_path;
    int m_saved = -1;
};

FaxPage Page(uint16_t compression, uint32_t xNum, uint32_t xDen, uint32_t yNum, uint32_t yDen, uint16_t unit) {
    FaxPage p;
    p.compression = compression;
    p.xNum = xNum;
    p.xDen = xDen;
    p.yNum = yNum;
    p.yDen = yDen;
    p.unit = unit;
    return p;
}

TEST(TQImagingTest, ResolutionInDotsPerInch) {
    FaxPage noX = Page(4, 204, 1, 196, 1, 2);
    noX.hasXRes = false;
    FaxPage noY = Page(4, 204, 1, 196, 1, 2);
    noY.hasYRes = false;
    FaxPage neither = noY;
    neither.hasXRes = false;
    struct Case {
        FaxPage page;
        bool resolved;
        int x, y;
    } cases[] = {
        {Page(3, 204, 1, 98, 1, 2), true, 204, 98},
        {Page(4, 204, 1, 196, 1, 2), true, 204, 196},
        {Page(4, 204, 1, 195, 1, 2), true, 204, 195},
        {Page(4, 80, 1, 77, 1, 3), true, 203, 196},      // 8 x 7.7 lines per mm
        {Page(3, 80, 1, 385, 10, 3), true, 203, 98},     // 8 x 3.85 lines per mm
        {Page(4, 204, 1, 196, 1, 0), true, 204, 196},    // no unit: inch
        {Page(4, 2040, 10, 1960, 10, 2), true, 204, 196},
        {Page(4, 204, 1, 65732, 1, 2), true, 204, 65732},
        {Page(4, 0, 1, 0, 1, 2), true, 96, 96},  // unrecorded: the screen's 96
        {Page(4, 204, 1, 4294967295u, 1, 2), false, -7, -7},  // beyond int
        {noX, true, 96, 96},
        {noY, true, 96, 96},
        {neither, true, 96, 96},
    };
    xwth_test::TempDir dir;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string path = dir.file("case" + std::to_string(i) + ".tif");
        xwth_test::WriteFileBytes(path, MakeFaxTiff({cases[i].page}));
        const Answer a = Ask(path);
        ASSERT_TRUE(a.opened) << "case " << i;
        EXPECT_EQ(a.count, 1) << "case " << i;
        EXPECT_EQ(a.resolved, cases[i].resolved) << "case " << i;
        EXPECT_EQ(a.x, cases[i].x) << "case " << i;
        EXPECT_EQ(a.y, cases[i].y) << "case " << i;
    }
}

TEST(TQImagingTest, EveryPageHasItsOwnResolution) {
    xwth_test::TempDir dir;
    const std::string path = dir.file("three.tif");
    xwth_test::WriteFileBytes(path, MakeFaxTiff({Page(3, 204, 1, 98, 1, 2), Page(4, 80, 1, 77, 1, 3),
                                                 Page(4, 300, 1, 300, 1, 2)}));
    const struct {
        int page;
        bool resolved;
        int x, y;
    } cases[] = {{0, true, 204, 98}, {1, true, 203, 196}, {2, true, 300, 300},
                 {3, false, -7, -7}, {-1, false, -7, -7}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Answer a = Ask(path, cases[i].page);
        EXPECT_EQ(a.count, 3) << "case " << i;
        EXPECT_EQ(a.resolved, cases[i].resolved) << "case " << i;
        EXPECT_EQ(a.x, cases[i].x) << "case " << i;
        EXPECT_EQ(a.y, cases[i].y) << "case " << i;
    }
}

const char kWineLoops[] =
    "Wine's TIFF decoder follows a looping directory chain to its limit of 65535 frames";

// Damaged and foreign files: no crash, no hang, nothing on standard error.
TEST(TQImagingTest, DamagedFilesAreAnsweredQuietly) {
    xwth_test::TempDir dir;
    const std::string two = MakeFaxTiff({Page(4, 204, 1, 196, 1, 2), Page(4, 204, 1, 98, 1, 2)});
    std::vector<FaxPage> many(3000, Page(4, 204, 1, 98, 1, 2));
    many.back().yNum = 196;
    const struct {
        const char* name;
        std::string bytes;
        bool opened;
        int count;
        const char* wine = nullptr;  // why Wine counts otherwise
    } cases[] = {
        {"empty", "", false, 0},
        {"short", "II*", false, 0},
        {"text", "Dear customer,\nplease find our offer attached.\n", false, 0},
        {"header only", std::string("II*\0\x08\0\0\0", 8), false, 0},
        {"first directory beyond the end", std::string("II*\0\xff\xff\0\0", 8), false, 0},
        {"second page cut off", two.substr(0, two.size() - 40), true, 1},
        {"chain loops to the first page", MakeFaxTiff({Page(4, 204, 1, 196, 1, 2), Page(4, 204, 1, 98, 1, 2)}, 0),
         true, 2, kWineLoops},
        {"chain loops to itself", MakeFaxTiff({Page(4, 204, 1, 196, 1, 2)}, 0), true, 1, kWineLoops},
        {"3000 pages", MakeFaxTiff(many), true, 3000},
    };
    const std::string errors = dir.file("stderr.txt");
    std::vector<Answer> answers;
    {
        StderrCapture capture(errors);
        for (size_t i = 0; i < std::size(cases); ++i) {
            const std::string path = dir.file("case" + std::to_string(i) + ".tif");
            xwth_test::WriteFileBytes(path, cases[i].bytes);
            answers.push_back(Ask(path));
        }
        answers.push_back(Ask(dir.file("missing.tif")));
        answers.push_back(Ask(dir.path()));  // a folder
        EXPECT_EQ(capture.Text(), "");
    }
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(answers[i].opened, cases[i].opened) << cases[i].name;
        if (cases[i].opened) {
            TODO_WINE_EXPECT_EQ(answers[i].count, cases[i].count, cases[i].wine) << cases[i].name;
            EXPECT_TRUE(answers[i].resolved) << cases[i].name;
        }
    }
    EXPECT_FALSE(answers[std::size(cases)].opened) << "missing";
    EXPECT_FALSE(answers[std::size(cases) + 1].opened) << "folder";

    void* h = TQIOpenFile(dir.file("case8.tif").c_str());
    ASSERT_NE(h, nullptr);
    int x = 0, y = 0;
    EXPECT_NE(TQIGetPageResolution(h, 2999, x, y), 0);
    EXPECT_EQ(y, 196);
    TQICloseFile(h);
}

#if !defined(_WIN32)
// Pages written and encoded by libtiff itself, the way a fax program writes
// them: black and white stripes, each page different.
TEST(TQImagingTest, ReadsPagesEncodedByLibtiff) {
    xwth_test::TempDir dir;
    const struct {
        uint16_t compression;
        uint16_t unit;
        float xres, yres[3];
        int want[3];
    } cases[] = {
        {COMPRESSION_CCITTFAX3, RESUNIT_INCH, 204, {98, 196, 98}, {98, 196, 98}},
        {COMPRESSION_CCITTFAX4, RESUNIT_INCH, 204, {196, 98, 196}, {196, 98, 196}},
        {COMPRESSION_CCITTFAX3, RESUNIT_CENTIMETER, 80, {38.5f, 77, 38.5f}, {98, 196, 98}},
        {COMPRESSION_CCITTFAX4, RESUNIT_CENTIMETER, 80, {77, 38.5f, 77}, {196, 98, 196}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string path = dir.file("case" + std::to_string(i) + ".tif");
        TIFF* tif = TIFFOpen(path.c_str(), "w");
        ASSERT_NE(tif, nullptr) << "case " << i;
        std::vector<unsigned char> line(1728 / 8);
        for (int page = 0; page < 3; ++page) {
            const uint32_t rows = 40 + 10 * page;
            TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 1728);
            TIFFSetField(tif, TIFFTAG_IMAGELENGTH, rows);
            TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
            TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(tif, TIFFTAG_COMPRESSION, cases[i].compression);
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
            TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
            TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows);
            TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, cases[i].unit);
            TIFFSetField(tif, TIFFTAG_XRESOLUTION, cases[i].xres);
            TIFFSetField(tif, TIFFTAG_YRESOLUTION, cases[i].yres[page]);
            for (uint32_t r = 0; r < rows; ++r) {
                for (size_t b = 0; b < line.size(); ++b) {
                    line[b] = static_cast<unsigned char>(((b + r + page) / 7) % 2 ? 0xF0 : 0x00);
                }
                ASSERT_EQ(TIFFWriteScanline(tif, line.data(), r, 0), 1) << "case " << i;
            }
            ASSERT_TRUE(TIFFWriteDirectory(tif)) << "case " << i;
        }
        TIFFClose(tif);
        for (int page = 0; page < 3; ++page) {
            const Answer a = Ask(path, page);
            EXPECT_EQ(a.count, 3) << "case " << i << " page " << page;
            EXPECT_TRUE(a.resolved) << "case " << i << " page " << page;
            EXPECT_EQ(a.x, cases[i].unit == RESUNIT_INCH ? 204 : 203) << "case " << i << " page " << page;
            EXPECT_EQ(a.y, cases[i].want[page]) << "case " << i << " page " << page;
        }
    }
}

// The hand-built pages are real fax data: libtiff decodes every line.
TEST(TQImagingTest, BuiltPagesDecode) {
    xwth_test::TempDir dir;
    for (uint16_t compression : {3, 4}) {
        const std::string path = dir.file("page.tif");
        xwth_test::WriteFileBytes(path, MakeFaxTiff({Page(compression, 204, 1, 196, 1, 2)}));
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(tif, nullptr) << "compression " << compression;
        std::vector<unsigned char> line(TIFFScanlineSize(tif));
        for (uint32_t r = 0; r < FaxPage().rows; ++r) {
            ASSERT_EQ(TIFFReadScanline(tif, line.data(), r, 0), 1) << "compression " << compression << " row " << r;
            EXPECT_EQ(std::string(line.begin(), line.end()), std::string(line.size(), '\0'));
        }
        TIFFClose(tif);
    }
}
#endif

}  // namespace
