// The system's stock icons, for LoadIcon(NULL, IDI_...). Not installed.
#pragma once

#include <windows.h>

namespace user {

// The shared icon of a stock icon id (IDI_APPLICATION 32512 to IDI_WINLOGO 32517), drawn at its
// first use; NULL for any other id.
HICON SystemIcon(int id);

}  // namespace user
