#include "korvel_mib.h"

// Until the reader lands every read fails.
extern "C" KORVEL_MIB_EXPORT int32_t KORVEL_MIB_CALL MIBAnalysisProc(SAFEARRAY **, SAFEARRAY **,
                                                                     SAFEARRAY **, SAFEARRAY **,
                                                                     const char *)
{
    return -1;
}
