// Attachment records shared between messages, and the message's hold on
// its folder.
#pragma once

#include <xwth/faxmessage.h>

namespace msgstore {

// Drops one hold on a record: the last holder deletes the record's file and
// frees the record.
void ReleaseRecord(ATTACHMENT_DESCR* pRecord);

// Whether `folder` still names the folder that `owner` claimed. A folder
// that is gone or was replaced is forgotten (`folder` is emptied) so the
// owner never writes into a newcomer's folder; when the answer cannot be
// read (no access) nothing is forgotten and the caller touches nothing.
bool FolderStillOwned(const CFaxMessage* owner, CString& folder);

}  // namespace msgstore
