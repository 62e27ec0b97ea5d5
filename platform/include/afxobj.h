// Run-time class information and CObject, the root of the framework's classes.
//   CRuntimeClass   a class's name, size, base class and factory
//   CObject         the polymorphic root: IsKindOf, GetRuntimeClass
#pragma once

#include <afxdefs.h>

class CDumpContext;

// One static, immutable record per class that declares DECLARE_DYNAMIC (or
// DECLARE_DYNCREATE); nobody owns it. m_pBaseClass chains to the record of
// the base class up to CObject, whose m_pBaseClass is NULL.
struct WINPORT_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                        // 0xFFFF: not serializable
    CObject* (AFXAPI* m_pfnCreateObject)();  // NULL unless DECLARE_DYNCREATE
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass;           // kept for layout; no class list yet
    const void* m_pClassInit;

    // A new object of this class, or NULL when the class is not dynamically
    // creatable or the allocation failed. The caller owns it.
    CObject* CreateObject();
    // TRUE when this class is pBaseClass or derives from it.
    [[nodiscard]] BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

// The record is `const`; in a client of a DLL it is initialised at start-up
// (the base record's address is imported), so do not ask IsKindOf from
// another static initialiser.
#define DECLARE_DYNAMIC(class_name)                      \
public:                                                  \
    static const CRuntimeClass class##class_name;        \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* AFXAPI CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                  \
    const CRuntimeClass class_name::class##class_name = {                                     \
        #class_name, static_cast<int>(sizeof(class_name)), wSchema, pfnNew,                   \
        RUNTIME_CLASS(base_class_name), NULL, NULL};                                          \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                      \
    CObject* AFXAPI class_name::CreateObject() { return new class_name; }     \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// Root of the framework's classes. Objects are not copyable through CObject
// (as in the framework: a derived class that wants copies defines them).
// The destructor is pure but defined, so CObject itself cannot be created.
class WINPORT_API CObject {
public:
    static const CRuntimeClass classCObject;

    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = 0;

    [[nodiscard]] BOOL IsSerializable() const;
    [[nodiscard]] BOOL IsKindOf(const CRuntimeClass* pClass) const;

    // Diagnostics hooks; both do nothing here.
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() = default;
};
