// The one routine through which the search and dictionary code reports its errors: index files,
// stop words, the query parser, the paging store. Callers put their own prefix into the text
// (file errors begin ">>> ").
#pragma once

#include <afx.h>

// Shows the text unchanged in a plain OK message box (no icon, no help context) and returns when
// the reader has closed it.
void ShowMessage(LPCSTR pszText);
