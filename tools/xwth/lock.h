// The "lock" command: run a command only while holding a program lock.
#pragma once

namespace xwth_tool {

int RunLock(int argc, char** argv);

}  // namespace xwth_tool
