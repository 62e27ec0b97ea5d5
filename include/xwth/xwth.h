// Everything the XWTH library exports, one family header each.
#pragma once

#include <xwth/faxmessage.h>
#include <xwth/msgbox.h>
#include <xwth/resourcemanager.h>
