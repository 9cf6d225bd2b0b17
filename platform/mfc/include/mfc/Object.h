// CObject, the root of the class library, and CRuntimeClass, the run-time type record every
// dynamic class carries: its name, size, schema number, creation function and base class.
// Classes declared with DECLARE_DYNCREATE, DECLARE_SERIAL or DECLARE_DYNAMIC are registered by
// their IMPLEMENT_ macro so that CRuntimeClass::FromName finds them (the archive loads classes
// by the name it stored).
#pragma once

#include <windef.h>

#include <mfc/Debug.h>

class CObject;
class CArchive;
class CDumpContext;

// Schema number of classes that are not serializable.
#define AFX_NO_SCHEMA 0xFFFF
// Or-ed into the schema of IMPLEMENT_SERIAL: the class reads older versions itself
// (CArchive::GetObjectSchema tells which one it is reading).
#define VERSIONABLE_SCHEMA (0x80000000)

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // AFX_NO_SCHEMA for classes that cannot be serialized
    CObject*(PASCAL* m_pfnCreateObject)();  // NULL for classes without DYNCREATE/SERIAL
    CRuntimeClass* m_pBaseClass;  // NULL for CObject

    // Creates a new object of the class with its default constructor; NULL (with a trace line)
    // when the class is not dynamically creatable.
    CObject* CreateObject();
    // TRUE when this class is pBaseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registered class of that name (case-sensitive), or NULL.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    // Creates an object of the registered class of that name; NULL when unknown or not creatable.
    static CObject* PASCAL CreateObject(LPCSTR lpszClassName);

    // Writes and reads the class reference the archive uses (schema, name length, name).
    // Defined with CArchive.
    void Store(CArchive& ar) const;
    static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);
};

// Registers a class for FromName while the module that defines it is loaded.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
    ~AFX_CLASSINIT();
    AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
    AFX_CLASSINIT& operator=(const AFX_CLASSINIT&) = delete;

private:
    CRuntimeClass* m_pClass;
};
void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

class CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    // Stores or loads the object's data; CObject itself has none.
    virtual void Serialize(CArchive& ar);
    // Checks the object's invariants (ASSERT); CObject has none to check.
    virtual void AssertValid() const;
    // Writes a description of the object ("a CName at $address") to the dump context.
    virtual void Dump(CDumpContext& dc) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;

private:
    // Objects of the class library are not copied unless a class says how.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define DECLARE_DYNAMIC(class_name)                    \
public:                                                \
    static const CRuntimeClass class##class_name;     \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name)   \
    DECLARE_DYNCREATE(class_name)    \
    friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                    \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class class_name), \
                                                         wSchema, pfnNew,                       \
                                                         RUNTIME_CLASS(base_class_name)};       \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }    \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, AFX_NO_SCHEMA, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                        \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }       \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, AFX_NO_SCHEMA, class_name::CreateObject)

// Reads an object of pClass (or a class derived from it) from the archive; used by the
// operator>> that IMPLEMENT_SERIAL defines.
CObject* AFXAPI AfxReadObjectFromArchive(CArchive& ar, const CRuntimeClass* pClass);

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                  \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }                       \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)      \
    CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb)                                 \
    {                                                                                           \
        pOb = static_cast<class_name*>(AfxReadObjectFromArchive(ar, RUNTIME_CLASS(class_name))); \
        return ar;                                                                              \
    }

// Down-casts that check the run-time class: DYNAMIC_DOWNCAST gives NULL when the object is
// not of the class; STATIC_DOWNCAST asserts it in debug builds.
CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
CObject* AFXAPI AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#ifdef _DEBUG
#define STATIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(AfxStaticDownCast(RUNTIME_CLASS(class_name), (object))))
#else
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
#endif

// Pointer checks for ASSERT: TRUE for a usable (non-NULL) string or memory block.
BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength = -1);
BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite = TRUE);

// Checks an object in debug builds: not NULL, then its own AssertValid.
void AFXAPI AfxAssertValidObject(const CObject* pOb, LPCSTR lpszFileName, int nLine);
#ifdef _DEBUG
#define ASSERT_VALID(pOb) AfxAssertValidObject((pOb), __FILE__, __LINE__)
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#else
#define ASSERT_VALID(pOb) ((void)0)
#define ASSERT_KINDOF(class_name, object) ((void)0)
#endif

// Allocation that records where it happened, for "#define new DEBUG_NEW" in debug builds (with
// "static char THIS_FILE[] = __FILE__;" in the source file). Memory from it is freed with delete.
void* AFX_CDECL operator new(size_t nSize, LPCSTR lpszFileName, int nLine);
void* AFX_CDECL operator new[](size_t nSize, LPCSTR lpszFileName, int nLine);
void AFX_CDECL operator delete(void* p, LPCSTR lpszFileName, int nLine) noexcept;
void AFX_CDECL operator delete[](void* p, LPCSTR lpszFileName, int nLine) noexcept;
#ifdef _DEBUG
#define DEBUG_NEW new (THIS_FILE, __LINE__)
#else
#define DEBUG_NEW new
#endif

#include <mfc/DumpContext.h>
