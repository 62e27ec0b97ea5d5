// Fax TIFF files for the demo: white CCITT G4 pages, 1728 pixels wide.
#pragma once

#include <string>

namespace xwth_tool {

// Writes a TIFF of `pages` pages of `rows` white lines at 204 x yDpi dots
// per inch; false when the file cannot be written.
bool WriteFaxTiff(const std::string& path, int pages, int rows, int yDpi);

}  // namespace xwth_tool
