// sample.dll, the resource module built beside the program.
#pragma once

#include <string>

namespace xwth_tool {

// The path of sample.dll in the program's own folder.
std::string SampleModulePath();

// Loads the texts and style values of sample.dll through the library's
// resource manager and prints them: the maker's name read as the product's,
// a message box (shown by a presenter that prints it, Linux build) and the
// three kinds of style value. 0 when the module loads.
int DemoResources();

}  // namespace xwth_tool
