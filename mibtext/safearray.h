// The six OLE Automation array functions the library reads and fills the
// caller's arrays with. On Windows they are the system's; elsewhere a small
// shim over the SAFEARRAY layout declared in korvel_mib.h.
#pragma once

#include "korvel_mib.h"

#ifdef _WIN32
#include <oleauto.h>
#else
#include <cstdint>

namespace korvel::mib {

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);

HRESULT SafeArrayLock(SAFEARRAY *psa);
HRESULT SafeArrayUnlock(SAFEARRAY *psa);
HRESULT SafeArrayGetLBound(SAFEARRAY *psa, uint32_t nDim, int32_t *plLbound);
HRESULT SafeArrayGetUBound(SAFEARRAY *psa, uint32_t nDim, int32_t *plUbound);
HRESULT SafeArrayGetElement(SAFEARRAY *psa, const int32_t *rgIndices, void *pv);
HRESULT SafeArrayPutElement(SAFEARRAY *psa, const int32_t *rgIndices, const void *pv);

} // namespace korvel::mib
#endif
