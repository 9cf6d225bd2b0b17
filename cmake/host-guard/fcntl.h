// Product code reaches the host only through the platform (see src/HostGuard.h). The standard
// library may read this header before the guard is up; after that, including it is an error.
#ifdef VL_HOST_GUARD_ACTIVE
#error "host header <fcntl.h> in product code: use the platform's interface"
#else
#include_next <fcntl.h>
#endif
