// The "date" and "intl" commands: regional date and time texts from the
// command line, and the user's [intl] settings written out for editing.
#pragma once

#include <cstdio>

namespace xwth_tool {

int RunDate(int argc, char** argv);
int RunIntl(int argc, char** argv);
// The demo's step: the date texts of the current moment, a few lines.
void PrintDateTexts(FILE* out);

}  // namespace xwth_tool
