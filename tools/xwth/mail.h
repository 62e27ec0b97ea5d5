// The "mail" command, and the mailbox step of the demo.
#pragma once

#include <string>

namespace xwth_tool {

int RunMail(int argc, char** argv);

// Appends two messages to a mailbox in folder and prints it; 0 on success.
int DemoMailbox(const std::string& folder);

}  // namespace xwth_tool
