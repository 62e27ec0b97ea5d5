// The framework's named collections: arrays, lists and maps of bytes, words,
// DWORDs, UINTs, pointers, CObject pointers and CStrings.
//   arrays  CByteArray CWordArray CDWordArray CUIntArray CPtrArray CObArray CStringArray
//   lists   CPtrList CObList CStringList
//   maps    CMapWordToPtr CMapPtrToPtr CMapStringToPtr CMapStringToOb CMapStringToString
// Each is its template (afxarray.h, afxlist.h, afxmap.h) with run-time class
// information. Pointer collections own the pointers, never the objects.
#pragma once

#include <afxarray.h>
#include <afxlist.h>
#include <afxmap.h>
#include <afxstr.h>

class WINPORT_API CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_DYNAMIC(CByteArray)
};

class WINPORT_API CWordArray : public CArray<WORD, WORD> {
    DECLARE_DYNAMIC(CWordArray)
};

class WINPORT_API CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_DYNAMIC(CDWordArray)
};

class WINPORT_API CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

class WINPORT_API CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

class WINPORT_API CObArray : public CArray<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObArray)
};

class WINPORT_API CStringArray : public CArray<CString, const CString&> {
    DECLARE_DYNAMIC(CStringArray)
};

class WINPORT_API CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    using CList::CList;
};

class WINPORT_API CObList : public CList<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObList)
public:
    using CList::CList;
};

class WINPORT_API CStringList : public CList<CString, const CString&> {
    DECLARE_DYNAMIC(CStringList)
public:
    using CList::CList;
};

class WINPORT_API CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    using CMap::CMap;
};

class WINPORT_API CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    using CMap::CMap;
};

class WINPORT_API CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    using CMap::CMap;
};

class WINPORT_API CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
    DECLARE_DYNAMIC(CMapStringToOb)
public:
    using CMap::CMap;
};

class WINPORT_API CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
    DECLARE_DYNAMIC(CMapStringToString)
public:
    using CMap::CMap;
};
