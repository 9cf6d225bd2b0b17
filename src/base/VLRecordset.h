// Base of the record sets that serve long sorted lists (the random browser's FIND list and the
// like): a default SQL that the subclass sets, a record count that it keeps, four operations it
// implements, and the prefix search that finds the first record whose key starts with some text.
#pragma once

#include "base/XRecordset.h"

class CVLRecordset : public CXRecordset {
    DECLARE_DYNAMIC(CVLRecordset)
public:
    explicit CVLRecordset(CDaoDatabase* pDatabase);
    virtual ~CVLRecordset();

    virtual CString GetDefaultSQL();
    BOOL SetDefaultSQL(LPCSTR lpszSQL);

    // The current record's sort key, which is also its title (in strKey and as the result).
    virtual CString GetKey(CString& strKey) = 0;
    // Copies the current record's fields into another set of the same class.
    virtual void CopyFields(CVLRecordset* pOther) = 0;
    // The current record's item number.
    virtual long GetItemId() = 0;
    // The number of records in the set.
    virtual long GetRowCount() = 0;
    // The current record's content-type text ("Artcl", "Pict" ...); empty for a set without one.
    virtual CString GetContentType() { return CString(); }

    // On a set sorted by its key: the 1-based position of the first record whose key begins with
    // lpszPrefix (case ignored), searched from the current record; the set is left on that
    // record. When no key begins with it, the position of the last record looked at (1 when the
    // prefix sorts before every key); 0 for an empty set.
    long FindPrefix(LPCSTR lpszPrefix);

protected:
    CString m_strDefaultSQL;  // "NULL" until the subclass sets it
    long m_nRecordCount;      // records in the set, set by the subclass when it opens (0: empty)

private:
    // Moves to a 0-based position relative to the current one and reads the key there.
    CString KeyAt(long nPosition);
    long m_nPosition;  // the current position while FindPrefix runs
};
