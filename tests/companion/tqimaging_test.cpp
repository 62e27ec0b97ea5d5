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

// One open, count, resolution and close as text: "3 pages, 204x196",
// "3 pages, no resolution", or "not opened".
std::string Ask(const std::string& path, int page = 0) {
    void* h = TQIOpenFile(path.c_str());
    if (h == nullptr) {
        return "not opened";
    }
    int count = -7, x = -7, y = -7;
    TQIGetPageCount(h, count);
    const bool resolved = TQIGetPageResolution(h, page, x, y) != 0;
    TQICloseFile(h);
    std::string text = std::to_string(count) + " pages, ";
    if (!resolved) {
        return text + (x == -7 && y == -7 ? "no resolution" : "no resolution, but outputs changed");
    }
    return text + std::to_string(x) + "x" + std::to_string(y);
}

FaxPage Page(uint16_t compression, uint32_t xNum, uint32_t xDen, uint32_t yNum, uint32_t yDen, uint16_t unit) {
    return {compression, xNum, xDen, yNum, yDen, unit};
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

TEST(TQImagingTest, ResolutionInDotsPerInch) {
    FaxPage noX = Page(4, 204, 1, 196, 1, 2), noY = noX, neither = noX;
    noX.hasXRes = neither.hasXRes = false;
    noY.hasYRes = neither.hasYRes = false;
    const struct {
        FaxPage page;
        const char* want;
    } cases[] = {
        {Page(3, 204, 1, 98, 1, 2), "1 pages, 204x98"},
        {Page(4, 204, 1, 196, 1, 2), "1 pages, 204x196"},
        {Page(4, 80, 1, 77, 1, 3), "1 pages, 203x196"},   // 8 x 7.7 lines per mm
        {Page(3, 80, 1, 385, 10, 3), "1 pages, 203x98"},  // 8 x 3.85 lines per mm
        {Page(4, 204, 1, 196, 1, 0), "1 pages, 204x196"}, // no unit: inch
        {Page(4, 204, 1, 196, 1, 1), "1 pages, 204x196"}, // unit none: as given
        {Page(4, 2040, 10, 1960, 10, 2), "1 pages, 204x196"},
        {Page(4, 204, 1, 65732, 1, 2), "1 pages, 204x65732"},
        {Page(4, 204, 1, 4294967295u, 1, 2), "1 pages, no resolution"},  // beyond int
        {Page(4, 0, 1, 0, 1, 2), "1 pages, 96x96"},  // unrecorded: the screen's 96
        {noX, "1 pages, 96x96"},
        {noY, "1 pages, 96x96"},
        {neither, "1 pages, 96x96"},
    };
    xwth_test::TempDir dir;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string path = dir.file("case" + std::to_string(i) + ".tif");
        xwth_test::WriteFileBytes(path, MakeFaxTiff({cases[i].page}));
        EXPECT_EQ(Ask(path), cases[i].want) << "case " << i;
    }
}

TEST(TQImagingTest, EveryPageHasItsOwnResolution) {
    xwth_test::TempDir dir;
    const std::string path = dir.file("three.tif");
    xwth_test::WriteFileBytes(path, MakeFaxTiff({Page(3, 204, 1, 98, 1, 2), Page(4, 80, 1, 77, 1, 3),
                                                 Page(4, 300, 1, 300, 1, 2)}));
    const char* const want[] = {"3 pages, no resolution", "3 pages, 204x98", "3 pages, 203x196",
                                "3 pages, 300x300", "3 pages, no resolution"};
    for (int page = -1; page <= 3; ++page) {
        EXPECT_EQ(Ask(path, page), want[page + 1]) << "page " << page;
    }
}

const char kWineLoops[] =
    "Wine's TIFF decoder follows a looping directory chain to its limit of 65535 frames";

// Damaged and foreign files: no crash, no hang, nothing on standard error.
TEST(TQImagingTest, DamagedFilesAreAnsweredQuietly) {
    xwth_test::TempDir dir;
    const FaxPage fine = Page(4, 204, 1, 196, 1, 2), normal = Page(4, 204, 1, 98, 1, 2);
    const std::string two = MakeFaxTiff({fine, normal});
    std::vector<FaxPage> many(3000, normal);
    const struct {
        std::string bytes;
        const char* want;
        const char* wine = nullptr;  // why Wine answers otherwise
    } cases[] = {
        {"", "not opened"},
        {"II*", "not opened"},
        {"Dear customer,\nplease find our offer attached.\n", "not opened"},
        {std::string("II*\0\x08\0\0\0", 8), "not opened"},         // header only
        {std::string("II*\0\xff\xff\0\0", 8), "not opened"},       // first directory beyond the end
        {two.substr(0, two.size() - 40), "1 pages, 204x196"},      // second page cut off
        {MakeFaxTiff({fine, normal}, 0), "2 pages, 204x196", kWineLoops},  // the chain loops
        {MakeFaxTiff({fine}, 0), "1 pages, 204x196", kWineLoops},
        {MakeFaxTiff(many), "3000 pages, 204x98"},
    };
    std::vector<std::string> answers;
    StderrCapture capture(dir.file("stderr.txt"));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string path = dir.file("case" + std::to_string(i) + ".tif");
        xwth_test::WriteFileBytes(path, cases[i].bytes);
        answers.push_back(Ask(path));
    }
    answers.push_back(Ask(dir.file("missing.tif")));
    answers.push_back(Ask(dir.path()));  // a folder
    answers.push_back(Ask(dir.file("case8.tif"), 2999));
    EXPECT_EQ(capture.Text(), "");

    for (size_t i = 0; i < std::size(cases); ++i) {
        TODO_WINE_EXPECT_EQ(answers[i], cases[i].want, cases[i].wine) << "case " << i;
    }
    EXPECT_EQ(answers[std::size(cases)], "not opened");
    EXPECT_EQ(answers[std::size(cases) + 1], "not opened");
    EXPECT_EQ(answers[std::size(cases) + 2], "3000 pages, 204x98");
}

#if !defined(_WIN32)
// Pages encoded by libtiff itself, as a fax program writes them: striped
// content, each page with its own resolution.
TEST(TQImagingTest, ReadsPagesEncodedByLibtiff) {
    xwth_test::TempDir dir;
    const struct {
        uint16_t compression, unit;
        float xres, yres[3];
        const char* want[3];
    } cases[] = {
        {COMPRESSION_CCITTFAX3, RESUNIT_INCH, 204, {98, 196, 98}, {"3 pages, 204x98", "3 pages, 204x196", "3 pages, 204x98"}},
        {COMPRESSION_CCITTFAX4, RESUNIT_INCH, 204, {196, 98, 196}, {"3 pages, 204x196", "3 pages, 204x98", "3 pages, 204x196"}},
        {COMPRESSION_CCITTFAX3, RESUNIT_CENTIMETER, 80, {38.5f, 77, 38.5f}, {"3 pages, 203x98", "3 pages, 203x196", "3 pages, 203x98"}},
        {COMPRESSION_CCITTFAX4, RESUNIT_CENTIMETER, 80, {77, 38.5f, 77}, {"3 pages, 203x196", "3 pages, 203x98", "3 pages, 203x196"}},
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
            TIFFSetField(tif, TIFFTAG_COMPRESSION, cases[i].compression);
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
            TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows);
            TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, cases[i].unit);
            TIFFSetField(tif, TIFFTAG_XRESOLUTION, cases[i].xres);
            TIFFSetField(tif, TIFFTAG_YRESOLUTION, cases[i].yres[page]);
            for (uint32_t r = 0; r < rows; ++r) {
                for (size_t b = 0; b < line.size(); ++b) {
                    line[b] = ((b + r + page) / 7) % 2 ? 0xF0 : 0x00;
                }
                ASSERT_EQ(TIFFWriteScanline(tif, line.data(), r, 0), 1) << "case " << i;
            }
            ASSERT_TRUE(TIFFWriteDirectory(tif)) << "case " << i;
        }
        TIFFClose(tif);
        for (int page = 0; page < 3; ++page) {
            EXPECT_EQ(Ask(path, page), cases[i].want[page]) << "case " << i << " page " << page;
        }
    }
}

#endif

}  // namespace
