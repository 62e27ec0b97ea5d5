// The "lock" command: run a command only while holding a program lock.
#pragma once

namespace xwth_tool {

int RunLock(int argc, char** argv);

// The demo's step: this process takes a program lock, and a second instance
// (`xwth lock` in a child process) is refused while it is held and runs once
// it is released. 0 when both turned out so.
int DemoProgramLock();

}  // namespace xwth_tool
