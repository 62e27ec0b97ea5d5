// The "styles" command: style strings read as colour, font and flag.
#pragma once

namespace xwth_tool {

int RunStyles(int argc, char** argv);

}  // namespace xwth_tool
