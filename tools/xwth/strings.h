// The "strings" command: strings loaded from resource modules as the library
// loads them, substitutions applied.
#pragma once

namespace xwth_tool {

int RunStrings(int argc, char** argv);

}  // namespace xwth_tool
