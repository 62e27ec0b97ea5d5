// The "desc" command: shows and edits fax description files.
#pragma once

namespace xwth_tool {

int RunDesc(int argc, char** argv);

}  // namespace xwth_tool
