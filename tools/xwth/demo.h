// The "demo" command: one fax message's road through a temporary spool.
#pragma once

namespace xwth_tool {

int RunDemo(int argc, char** argv);

}  // namespace xwth_tool
