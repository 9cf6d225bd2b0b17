#include "article/PrintPageLimit.h"

#include "base/DataFolders.h"

CPrintPageLimit::CPrintPageLimit()
{
    m_bOn = GetAppProfileString(VL_PRODUCT_SECTION, "LPL", "").CompareNoCase("y") == 0;
    if (m_bOn)
        m_nLimit = AfxGetApp()->GetProfileInt(VL_PRODUCT_SECTION, "MP", 0);
}

BOOL CPrintPageLimit::PicturesOff()
{
    return GetAppProfileString(VL_PRODUCT_SECTION, "DGP", "").CompareNoCase("y") == 0;
}
