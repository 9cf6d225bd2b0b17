// The class library's collection classes (CObArray, CStringList, CMapStringToPtr ...).
#pragma once

#include <afx.h>

#include <mfc/Collections.h>
