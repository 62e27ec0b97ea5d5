// _splitpath and _makepath: the four parts and the way back.
#include <stdlib.h>

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(SplitPathTest, PartsAndRejoinedNameAndExtension) {
    struct Case {
        const char* path;
        const char* drive;
        const char* dir;
        const char* fname;
        const char* ext;
        const char* joined;  // _makepath of drive, dir, name and extension
    };
    const Case cases[] = {
        {"D:\\Apps\\Zelvo_UI.exe", "D:", "\\Apps\\", "Zelvo_UI", ".exe", "D:\\Apps\\Zelvo_UI.exe"},
        {"Zelvo_UI", "", "", "Zelvo_UI", "", "Zelvo_UI"},
        {"/usr/bin/xwth", "", "/usr/bin/", "xwth", "", "/usr/bin/xwth"},
        {"a.b\\c", "", "a.b\\", "c", "", "a.b\\c"},
        {"x.tar.gz", "", "", "x.tar", ".gz", "x.tar.gz"},
        {"C:name.", "C:", "", "name", ".", "C:name."},
        {"", "", "", "", "", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT], path[_MAX_PATH];
        _splitpath(c.path, drive, dir, fname, ext);
        EXPECT_STREQ(drive, c.drive) << "case " << i;
        EXPECT_STREQ(dir, c.dir) << "case " << i;
        EXPECT_STREQ(fname, c.fname) << "case " << i;
        EXPECT_STREQ(ext, c.ext) << "case " << i;
        _makepath(path, drive, dir, fname, ext);
        EXPECT_STREQ(path, c.joined) << "case " << i;
    }
    char path[_MAX_PATH];
    _makepath(path, "E", "dir", "file", "txt");
    EXPECT_STREQ(path, "E:dir\\file.txt") << "separators added";
}

}  // namespace
