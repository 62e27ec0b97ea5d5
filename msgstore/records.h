// Attachment records shared between messages: dropping one hold.
#pragma once

#include <xwth/faxmessage.h>

namespace msgstore {

// Drops one hold on a record: the last holder deletes the record's file and
// frees the record.
void ReleaseRecord(ATTACHMENT_DESCR* pRecord);

}  // namespace msgstore
