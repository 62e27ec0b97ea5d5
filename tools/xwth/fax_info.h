// The "fax-info" command: pages and resolution of fax image files.
#pragma once

namespace xwth_tool {

int RunFaxInfo(int argc, char** argv);

}  // namespace xwth_tool
