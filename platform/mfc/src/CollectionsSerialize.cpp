// Storing and loading the ready-made collections: a count (CArchive::WriteCount) followed by
// the elements, numbers as their little-endian bytes, strings and objects in the archive's own
// formats, map entries as key then value in iteration order.
#include <afxcoll.h>

#if __has_include(<mfc/Archive.h>)

#include <mfc/Archive.h>

namespace {

// Arrays of numbers are stored as their raw little-endian bytes after the count.
template <class ARRAY>
void SerializeNumbers(CArchive& ar, ARRAY& array)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(array.GetSize()));
        if (array.GetSize() > 0)
            ar.Write(array.GetData(), static_cast<UINT>(array.GetSize() * sizeof(typename ARRAY::BASE_TYPE)));
    } else {
        afx_detail::LoadArrayPieces(ar, array, ar.ReadCount(), [&](int nFirst, int n) {
            afx_detail::ReadExactly(ar, array.GetData() + nFirst, n * sizeof(typename ARRAY::BASE_TYPE));
        });
    }
}

// Arrays whose elements the archive stores one by one (objects, strings).
template <class ARRAY>
void SerializeEach(CArchive& ar, ARRAY& array)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(array.GetSize()));
        for (int i = 0; i < array.GetSize(); i++)
            ar << array.GetData()[i];
    } else {
        afx_detail::LoadArrayPieces(ar, array, ar.ReadCount(), [&](int nFirst, int n) {
            for (int i = nFirst; i < nFirst + n; i++)
                ar >> array.GetData()[i];
        });
    }
}

template <class LIST>
void SerializeList(CArchive& ar, LIST& list)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(list.GetCount()));
        for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
            ar << list.GetNext(pos);
    } else {
        for (DWORD_PTR nNewCount = ar.ReadCount(); nNewCount > 0; nNewCount--) {
            typename LIST::BASE_TYPE newData{};
            ar >> newData;
            list.AddTail(newData);
        }
    }
}

template <class MAP>
void SerializeMap(CArchive& ar, MAP& map)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(map.GetCount()));
        typename MAP::BASE_KEY key{};
        typename MAP::BASE_VALUE value{};
        for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
            map.GetNextAssoc(pos, key, value);
            ar << key;
            ar << value;
        }
    } else {
        for (DWORD_PTR nNewCount = ar.ReadCount(); nNewCount > 0; nNewCount--) {
            typename MAP::BASE_KEY newKey{};
            typename MAP::BASE_VALUE newValue{};
            ar >> newKey;
            ar >> newValue;
            map.SetAt(newKey, newValue);
        }
    }
}

}  // namespace

void AFXAPI SerializeElements(CArchive& ar, CString* pElements, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount; i++) {
        if (ar.IsStoring())
            ar << pElements[i];
        else
            ar >> pElements[i];
    }
}

void CByteArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeNumbers(ar, *this);
}

void CWordArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeNumbers(ar, *this);
}

void CDWordArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeNumbers(ar, *this);
}

void CObArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeEach(ar, *this);
}

void CStringArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeEach(ar, *this);
}

void CObList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeList(ar, *this);
}

void CStringList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeList(ar, *this);
}

void CMapWordToOb::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeMap(ar, *this);
}

void CMapStringToOb::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeMap(ar, *this);
}

void CMapStringToString::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeMap(ar, *this);
}

#else

// Without CArchive in the library there is nothing to store to or load from.
void AFXAPI SerializeElements(CArchive&, CString*, INT_PTR) { AfxThrowNotSupportedException(); }
void CByteArray::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CWordArray::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CDWordArray::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CObArray::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CStringArray::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CObList::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CStringList::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapWordToOb::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapStringToOb::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapStringToString::Serialize(CArchive&) { AfxThrowNotSupportedException(); }

#endif

// The pointer collections have nothing an archive could keep: like CObject, they store nothing.
void CUIntArray::Serialize(CArchive& ar) { CObject::Serialize(ar); }
void CPtrArray::Serialize(CArchive& ar) { CObject::Serialize(ar); }
void CPtrList::Serialize(CArchive& ar) { CObject::Serialize(ar); }
void CMapWordToPtr::Serialize(CArchive& ar) { CObject::Serialize(ar); }
void CMapPtrToWord::Serialize(CArchive& ar) { CObject::Serialize(ar); }
void CMapPtrToPtr::Serialize(CArchive& ar) { CObject::Serialize(ar); }
void CMapStringToPtr::Serialize(CArchive& ar) { CObject::Serialize(ar); }
