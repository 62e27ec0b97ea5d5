// Everything the XWTH library exports, one family header each.
#pragma once

#include <xwth/faxmessage.h>
#include <xwth/faxfile.h>
#include <xwth/faxdesc.h>
#include <xwth/contacts.h>
#include <xwth/mime.h>
#include <xwth/process.h>
#include <xwth/timefmt.h>
#include <xwth/msgbox.h>
#include <xwth/resourcemanager.h>
#include <xwth/custmenu.h>
#include <xwth/fontcache.h>
#include <xwth/bitmaps.h>
#include <xwth/filedialog.h>
