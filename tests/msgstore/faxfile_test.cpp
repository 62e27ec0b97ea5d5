// GetFaxFileNumOfPages and IsFaxFileResolutionHi over fax TIFFs.
#include <xwth/faxfile.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/faxtiff.h"
#include "support/testutil.h"

namespace {

using xwth_test::FaxPage;

FaxPage Vertical(uint32_t yNum, uint16_t unit = 2) {
    FaxPage p;
    p.yNum = yNum;
    p.unit = unit;
    return p;
}

TEST(FaxFileTest, PagesAndFineResolution) {
    const struct {
        std::vector<FaxPage> pages;
        int wantPages;
        bool wantHi;
    } cases[] = {
        {{Vertical(196)}, 1, true},
        {{Vertical(195)}, 1, false},
        {{Vertical(98)}, 1, false},
        {{Vertical(65732)}, 1, true},   // cut to 16 bits: 196
        {{Vertical(77, 3)}, 1, true},   // 7.7 lines per mm
        {{Vertical(385, 3)}, 1, true},  // 38.5 lines per mm: far beyond fine
        {{Vertical(98), Vertical(196), Vertical(196)}, 3, false},  // the first page decides
        {{Vertical(196), Vertical(98)}, 2, true},
    };
    xwth_test::TempDir dir;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string path = dir.file("fax" + std::to_string(i) + ".tif");
        xwth_test::WriteFileBytes(path, xwth_test::MakeFaxTiff(cases[i].pages));
        EXPECT_EQ(GetFaxFileNumOfPages(path.c_str()), cases[i].wantPages) << "case " << i;
        EXPECT_EQ(IsFaxFileResolutionHi(path.c_str()), cases[i].wantHi) << "case " << i;
    }
}

TEST(FaxFileTest, UnreadableFilesHaveNoPages) {
    xwth_test::TempDir dir;
    FaxPage noResolution;
    noResolution.hasXRes = noResolution.hasYRes = false;
    xwth_test::WriteFileBytes(dir.file("nores.tif"), xwth_test::MakeFaxTiff({noResolution}));
    xwth_test::WriteFileBytes(dir.file("text.tif"), "not an image\n");
    const struct {
        std::string path;
        int wantPages;
    } cases[] = {
        {dir.file("missing.tif"), 0},
        {dir.file("text.tif"), 0},
        {"", 0},
        {dir.file("nores.tif"), 1},  // counted; no recorded resolution is not fine
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(GetFaxFileNumOfPages(cases[i].path.c_str()), cases[i].wantPages) << "case " << i;
        EXPECT_FALSE(IsFaxFileResolutionHi(cases[i].path.c_str())) << "case " << i;
    }
    EXPECT_EQ(GetFaxFileNumOfPages(NULL), 0);
    EXPECT_FALSE(IsFaxFileResolutionHi(NULL));
}

}  // namespace
