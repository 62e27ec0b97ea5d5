// The framework core: CObject and run-time classes, exceptions, CString,
// CTime/CTimeSpan, CFile, module state and extension modules.
#pragma once

#include <afxdefs.h>
#include <afxobj.h>
#include <afxstr.h>
#include <afxexcept.h>
#include <afxtime.h>
#include <afxfile.h>
#include <afxdll_.h>
