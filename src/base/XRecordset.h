// Base of every record set of the program: a DAO record set (dynaset by default) whose checked
// open shows a failure to the reader once and still hands the exception to the caller. Also the
// two rules for putting text into Jet SQL, for the filters that must carry outside text.
#pragma once

#include <afx.h>
#include <afxdao.h>

class CXRecordset : public CDaoRecordset {
    DECLARE_DYNAMIC(CXRecordset)
public:
    explicit CXRecordset(CDaoDatabase* pDatabase);
    virtual ~CXRecordset();

    virtual CString GetDefaultDBName();

    // Opens with the default type: lpszSQL NULL for the set's own table or query, read-only when
    // bReadOnly is non-zero. TRUE when open. A DAO exception is shown with the standard error
    // box and thrown on to the caller.
    virtual BOOL OpenRecordsetChecked(LPCSTR lpszSQL = NULL, BOOL bReadOnly = FALSE);
};

// Text as a Jet string literal: in single quotes, each quote inside doubled ("it's" gives
// 'it''s'), so that the text can never end the literal early.
CString JetTextLiteral(LPCSTR lpszText);
// Text matched literally inside a LIKE pattern: Jet's pattern characters *, ?, # and [ are each
// put in brackets ("A*B" gives "A[*]B"). Quote the result with JetTextLiteral (or add the
// pattern's own wildcards first and then quote the whole).
CString JetLikeEscape(LPCSTR lpszText);
