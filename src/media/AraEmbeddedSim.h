// CAraEmbeddedSim: a simulation run by the simulation runtime library "ARAISF.dll", which the
// program loads on first use and keeps for the run. Without the runtime no simulation starts.
#pragma once

#include "media/AbstractEmbeddedSim.h"

class CAraEmbeddedSim : public CAbstractEmbeddedSim {
    DECLARE_DYNAMIC(CAraEmbeddedSim)
public:
    CAraEmbeddedSim();
    // Ends a running simulation.
    ~CAraEmbeddedSim() override;

    BOOL Create(LPCSTR pszFolder, LPCSTR pszFileName, DWORD* pContext, CWnd* pParent, const RECT& rect,
                int nFlag) override;
    void Destroy() override;
    void Notify() override;
    BOOL GetPreferredRect(const RECT& rcIn, RECT& rcOut) override;
};
