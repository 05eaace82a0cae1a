#include "korvel_mib.h"

// Until the writer lands every creation fails.
extern "C" KORVEL_MIB_EXPORT int32_t KORVEL_MIB_CALL MIBCreateProc(SAFEARRAY **, SAFEARRAY **,
                                                                   SAFEARRAY **, SAFEARRAY **,
                                                                   const char *)
{
    return -1;
}
