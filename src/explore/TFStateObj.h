// CTFStateObj: the Dido Dovov's history entry (window 8006): one TimeFrameSelection, titled
// with its display title. A new state stands for the welcome page (nothing chosen yet).
#pragma once

#include "base/VLStateObj.h"
#include "explore/TimeFrameSelection.h"

class CTFStateObj : public CVLStateObj {
    DECLARE_DYNAMIC(CTFStateObj)
public:
    CTFStateObj();
    explicit CTFStateObj(const TimeFrameSelection& selection);
    CTFStateObj(const CTFStateObj& other);
    ~CTFStateObj() override;

    CTFStateObj& operator=(const CTFStateObj& other);
    CVLStateObj& Assign(const CVLStateObj& other) override;
    CVLStateObj* Clone() const override;

    // The same choice (TimeFrameSelection::IsSameChoice).
    BOOL IsSameAs(const TimeFrameSelection& selection) const { return m_selection.IsSameChoice(selection); }

    TimeFrameSelection m_selection;
};
