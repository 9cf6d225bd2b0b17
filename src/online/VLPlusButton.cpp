#include "online/VLPlusButton.h"

#include "widgets/Dib.h"

namespace {

CVLPlusButton* s_pInstance = NULL;

// A picture from a resource id, or NULL when the resource cannot be made into one; a memory
// exception passes on.
CDib* LoadPicture(UINT nId)
{
    try {
        return new CDib(nId);
    } catch (CMemoryException*) {
        throw;
    } catch (CException* e) {
        e->Delete();
        return NULL;
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CVLPlusButton, CRollOverButton)

CVLPlusButton::CVLPlusButton()
{
    s_pInstance = this;
}

CVLPlusButton::~CVLPlusButton()
{
    FreeDibs();
    if (s_pInstance == this)
        s_pInstance = NULL;
}

CVLPlusButton* CVLPlusButton::GetInstance()
{
    return s_pInstance;
}

void CVLPlusButton::FreeDibs()
{
    delete m_pConnected;
    m_pConnected = NULL;
    delete m_pDownloading;
    m_pDownloading = NULL;
}

BOOL CVLPlusButton::SetBitmaps(UINT nConnectedId, UINT nDownloadingId)
{
    FreeDibs();
    m_pConnected = LoadPicture(nConnectedId);
    m_pDownloading = LoadPicture(nDownloadingId);
    return m_pConnected != NULL && m_pDownloading != NULL;
}
