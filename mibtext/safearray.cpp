#include "safearray.h"

#ifndef _WIN32
#include <cstring>

namespace korvel::mib {
namespace {

bool oneDimensional(const SAFEARRAY *psa)
{
    return psa != nullptr && psa->cDims == 1;
}

// Byte offset of element `index`, or -1 when it lies outside the bounds.
int64_t elementOffset(const SAFEARRAY *psa, int32_t index)
{
    const int64_t lower = psa->rgsabound[0].lLbound;
    const int64_t count = psa->rgsabound[0].cElements;
    if (index < lower || index >= lower + count)
        return -1;
    return (index - lower) * static_cast<int64_t>(psa->cbElements);
}

} // namespace

HRESULT SafeArrayLock(SAFEARRAY *psa)
{
    if (psa == nullptr)
        return E_INVALIDARG;
    ++psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY *psa)
{
    if (psa == nullptr || psa->cLocks == 0)
        return E_INVALIDARG;
    --psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY *psa, uint32_t nDim, int32_t *plLbound)
{
    if (!oneDimensional(psa) || nDim != 1 || plLbound == nullptr)
        return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY *psa, uint32_t nDim, int32_t *plUbound)
{
    if (!oneDimensional(psa) || nDim != 1 || plUbound == nullptr)
        return DISP_E_BADINDEX;
    *plUbound = static_cast<int32_t>(psa->rgsabound[0].lLbound
                                     + static_cast<int64_t>(psa->rgsabound[0].cElements) - 1);
    return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY *psa, const int32_t *rgIndices, void *pv)
{
    if (!oneDimensional(psa) || rgIndices == nullptr || pv == nullptr || psa->pvData == nullptr)
        return E_INVALIDARG;
    const int64_t offset = elementOffset(psa, rgIndices[0]);
    if (offset < 0)
        return DISP_E_BADINDEX;
    std::memcpy(pv, static_cast<const char *>(psa->pvData) + offset, psa->cbElements);
    return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY *psa, const int32_t *rgIndices, const void *pv)
{
    if (!oneDimensional(psa) || rgIndices == nullptr || pv == nullptr || psa->pvData == nullptr)
        return E_INVALIDARG;
    const int64_t offset = elementOffset(psa, rgIndices[0]);
    if (offset < 0)
        return DISP_E_BADINDEX;
    std::memcpy(static_cast<char *>(psa->pvData) + offset, pv, psa->cbElements);
    return S_OK;
}

} // namespace korvel::mib
#endif
