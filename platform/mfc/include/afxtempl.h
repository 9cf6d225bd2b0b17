// The class library's collection templates (CArray, CList, CMap, CTypedPtrArray ...).
#pragma once

#include <afx.h>

#include <mfc/Templates.h>
