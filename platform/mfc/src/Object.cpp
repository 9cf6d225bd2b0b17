#include <afx.h>

#include <cstring>
#include <mutex>
#include <vector>

#if __has_include(<mfc/Archive.h>)
#include <mfc/Archive.h>
#endif

namespace {

// Classes registered by the IMPLEMENT_ macros, in registration order. A plug-in library that is
// unloaded takes its classes out again.
struct ClassRegistry {
    std::mutex lock;
    std::vector<CRuntimeClass*> classes;
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}

const AFX_CLASSINIT g_initCObject(RUNTIME_CLASS(CObject));

}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), AFX_NO_SCHEMA, NULL, NULL};

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != AFX_NO_SCHEMA; }

void CObject::Serialize(CArchive&) {}

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext& dc) const
{
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << static_cast<const void*>(this) << "\n";
}

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == NULL) {
        TRACE("Error: Trying to create object which is not DECLARE_DYNCREATE \nor DECLARE_SERIAL: %s.\n",
              m_lpszClassName);
        return NULL;
    }
    return (*m_pfnCreateObject)();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass != NULL; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (lpszClassName == NULL)
        return NULL;
    ClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (CRuntimeClass* pClass : registry.classes) {
        if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0)
            return pClass;
    }
    return NULL;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    if (pClass == NULL) {
        TRACE("Warning: Cannot find %s CRuntimeClass.  Class not defined.\n", lpszClassName ? lpszClassName : "");
        return NULL;
    }
    return pClass->CreateObject();
}

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass)
{
    ClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.classes.push_back(pNewClass);
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) : m_pClass(pNewClass) { AfxClassInit(pNewClass); }

AFX_CLASSINIT::~AFX_CLASSINIT()
{
    ClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (auto it = registry.classes.begin(); it != registry.classes.end(); ++it) {
        if (*it == m_pClass) {
            registry.classes.erase(it);
            break;
        }
    }
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != NULL && pObject->IsKindOf(pClass))
        return pObject;
    return NULL;
}

CObject* AFXAPI AfxStaticDownCast([[maybe_unused]] CRuntimeClass* pClass, CObject* pObject)
{
    ASSERT(pObject == NULL || pObject->IsKindOf(pClass));
    return pObject;
}

BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int) { return lpsz != NULL; }

BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL) { return lp != NULL || nBytes == 0; }

void AFXAPI AfxAssertValidObject(const CObject* pOb, LPCSTR lpszFileName, int nLine)
{
    if (pOb == NULL) {
        AfxTrace("ASSERT_VALID fails with NULL pointer.\n");
        AfxAssertFailedLine(lpszFileName, nLine);
        return;
    }
    pOb->AssertValid();
}

// The file and line are not kept: leak reports come from the address sanitizer, which knows
// the allocation's stack.
void* AFX_CDECL operator new(size_t nSize, LPCSTR, int) { return ::operator new(nSize); }
void* AFX_CDECL operator new[](size_t nSize, LPCSTR, int) { return ::operator new[](nSize); }
void AFX_CDECL operator delete(void* p, LPCSTR, int) noexcept { ::operator delete(p); }
void AFX_CDECL operator delete[](void* p, LPCSTR, int) noexcept { ::operator delete[](p); }

#if __has_include(<mfc/Archive.h>)
CObject* AFXAPI AfxReadObjectFromArchive(CArchive& ar, const CRuntimeClass* pClass)
{
    return ar.ReadObject(pClass);
}
#else
CObject* AFXAPI AfxReadObjectFromArchive(CArchive&, const CRuntimeClass*)
{
    // Without CArchive in the library there is no archive to read from.
    AfxThrowNotSupportedException();
}
#endif
