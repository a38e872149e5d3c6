// Emulated OLE Automation strings and variants. A BSTR is preceded by its
// length in bytes (4 bytes) and followed by a zero, as on Windows.
#include "colang/platform/posix/OleAuto.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "colang/detail/TextCodec.h"
#include "colang/platform/Compiler.h"

namespace {

// Header room: 8 bytes keep the text aligned; the length sits in the last 4.
constexpr size_t kHeader = 8;

XString NumberText(const char* pszFormat, ...) COLANG_PRINTF_FORMAT(1, 2);
XString NumberText(const char* pszFormat, ...) {
  char buffer[64];
  va_list args;
  va_start(args, pszFormat);
  std::vsnprintf(buffer, sizeof buffer, pszFormat, args);
  va_end(args);
  return colang::detail::TextFromUtf8(buffer);
}

// The text of a variant converted to a string; false for a type that has none.
bool TextOf(const VARIANT& var, XString& strOut) {
  switch (var.vt) {
    case VT_EMPTY:
      strOut.clear();
      return true;
    case VT_BSTR:
      strOut.assign(var.bstrVal, SysStringLen(var.bstrVal));
      return true;
    case VT_I2:
      strOut = NumberText("%d", var.iVal);
      return true;
    case VT_I4:
      strOut = NumberText("%" PRId32, var.lVal);
      return true;
    case VT_UI4:
      strOut = NumberText("%" PRIu32, var.ulVal);
      return true;
    case VT_R8:
      strOut = NumberText("%.15G", var.dblVal);
      return true;
    // Without VARIANT_ALPHABOOL a boolean converts as the number it holds.
    case VT_BOOL:
      strOut = NumberText("%d", var.boolVal);
      return true;
    default:
      return false;
  }
}

}  // namespace

extern "C" {

BSTR WINAPI SysAllocString(const OLECHAR* psz) {
  if (psz == nullptr) return nullptr;
  size_t n = 0;
  while (psz[n] != 0) ++n;
  return n > 0x7FFFFFFF / sizeof(OLECHAR) ? nullptr : SysAllocStringLen(psz, static_cast<UINT>(n));
}

BSTR WINAPI SysAllocStringLen(const OLECHAR* psz, UINT cch) {
  if (cch > 0x7FFFFFFF / sizeof(OLECHAR)) return nullptr;
  size_t cb = static_cast<size_t>(cch) * sizeof(OLECHAR);
  auto* pBlock = static_cast<unsigned char*>(std::malloc(kHeader + cb + sizeof(OLECHAR)));
  if (pBlock == nullptr) return nullptr;
  auto nBytes = static_cast<std::uint32_t>(cb);
  std::memcpy(pBlock + kHeader - sizeof nBytes, &nBytes, sizeof nBytes);
  auto* bstr = reinterpret_cast<BSTR>(pBlock + kHeader);
  if (psz != nullptr)
    std::memcpy(bstr, psz, cb);
  else
    std::memset(bstr, 0, cb);
  bstr[cch] = 0;
  return bstr;
}

UINT WINAPI SysStringLen(BSTR bstr) {
  if (bstr == nullptr) return 0;
  std::uint32_t nBytes;
  std::memcpy(&nBytes, reinterpret_cast<unsigned char*>(bstr) - sizeof nBytes, sizeof nBytes);
  return nBytes / sizeof(OLECHAR);
}

void WINAPI SysFreeString(BSTR bstr) {
  if (bstr != nullptr) std::free(reinterpret_cast<unsigned char*>(bstr) - kHeader);
}

void WINAPI VariantInit(VARIANTARG* pvarg) {
  if (pvarg == nullptr) return;
  std::memset(pvarg, 0, sizeof *pvarg);
  pvarg->vt = VT_EMPTY;
}

HRESULT WINAPI VariantClear(VARIANTARG* pvarg) {
  if (pvarg == nullptr) return E_INVALIDARG;
  if (pvarg->vt == VT_BSTR)
    SysFreeString(pvarg->bstrVal);
  else if ((pvarg->vt == VT_UNKNOWN || pvarg->vt == VT_DISPATCH) && pvarg->punkVal != nullptr)
    pvarg->punkVal->Release();
  VariantInit(pvarg);
  return S_OK;
}

HRESULT WINAPI VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT /*wFlags*/, VARTYPE vt) {
  if (pvargDest == nullptr || pvarSrc == nullptr) return E_INVALIDARG;
  // The library asks for strings only; no other target is emulated.
  if (vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
  XString strText;
  if (!TextOf(*pvarSrc, strText)) return DISP_E_TYPEMISMATCH;
  BSTR bstr = SysAllocStringLen(strText.data(), static_cast<UINT>(strText.size()));
  if (bstr == nullptr) return E_OUTOFMEMORY;
  VariantClear(pvargDest);
  pvargDest->vt = VT_BSTR;
  pvargDest->bstrVal = bstr;
  return S_OK;
}
}
