// The "gdi-selftest" command: a sheet of everything winport's GDI draws, saved as PNG.
#pragma once

namespace xwth_tool {

int RunGdiSelftest(int argc, char** argv);

}  // namespace xwth_tool
