// Common controls: the tree-view item record and its flags. Programs also use the record as a
// plain carrier of one row (text, image, user value) between a list and its data source.
#pragma once

#include <windef.h>

// An item of a tree view: an opaque handle that the control gives out.
typedef struct _TREEITEM* HTREEITEM;

// TVITEM mask bits: which members are valid.
#define TVIF_TEXT 0x0001
#define TVIF_IMAGE 0x0002
#define TVIF_PARAM 0x0004
#define TVIF_STATE 0x0008
#define TVIF_HANDLE 0x0010
#define TVIF_SELECTEDIMAGE 0x0020
#define TVIF_CHILDREN 0x0040

// TVITEM state bits.
#define TVIS_SELECTED 0x0002
#define TVIS_CUT 0x0004
#define TVIS_DROPHILITED 0x0008
#define TVIS_BOLD 0x0010
#define TVIS_EXPANDED 0x0020
#define TVIS_EXPANDEDONCE 0x0040

#define I_CHILDRENCALLBACK (-1)

typedef struct tagTVITEMA {
    UINT mask;
    HTREEITEM hItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int cChildren;
    LPARAM lParam;
} TVITEMA, *LPTVITEMA;

typedef TVITEMA TVITEM;
typedef LPTVITEMA LPTVITEM;
