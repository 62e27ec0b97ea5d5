// comdlg32's private parts: the default file dialog presenter.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace winport {

// The zenity command line (program name first) that shows the dialog the
// record asks for.
[[nodiscard]] std::vector<std::string> ZenityArguments(BOOL bSave, const OPENFILENAMEA& ofn);

// The default presenter: zenity when a display is set and zenity is on
// PATH, else IDCANCEL.
int PresentWithZenity(BOOL bSave, LPOPENFILENAMEA lpofn);

}  // namespace winport
