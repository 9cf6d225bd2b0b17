// Resource ids of the screen-class resource libraries vl_res0.dll, vl_res1.dll and vl_res2.dll.
// All three carry the same ids, each at the sizes of its screen class; their bitmaps are numbered
// from 7000.
#ifndef VL_RES_RESOURCE_H
#define VL_RES_RESOURCE_H

#define IDB_CLOSE_BOX 7556
#define IDB_CLOSE_BOX_PRESSED 7557

#endif
