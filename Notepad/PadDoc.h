// CPadDoc: the editor's document. Its text is its view's edit control; it is stored as the raw
// bytes of that text, with no header and no conversion.
#pragma once

#include <afxwin.h>

class CPadDoc : public CDocument {
    DECLARE_DYNCREATE(CPadDoc)
public:
    CPadDoc();

    // New, Close and a failed open leave the text empty.
    void DeleteContents() override;
    // Hands the archive to the view's raw serialisation.
    void Serialize(CArchive& ar) override;
};
