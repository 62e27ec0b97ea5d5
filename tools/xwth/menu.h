// The "menu" command: the sample owner-drawn menu, tracked headlessly and
// saved as a picture of the screen.
#pragma once

#include <string>

namespace xwth_tool {

int RunMenu(int argc, char** argv);

// Shows the sample menu with the ribbon text (or, for a non-zero id, the
// ribbon bitmap of sample.dll beside the program), runs the script
// (winport's menu input steps), saves the screen as a PNG at pngPath and
// prints the command chosen. 0 when the picture was saved.
int ShowSampleMenu(const std::string& ribbonText, unsigned ribbonBitmapId, const std::string& script,
                   const std::string& pngPath);

}  // namespace xwth_tool
