// Emulated COM base interface, OLE Automation strings (BSTR) and variants
// (VARIANT), as far as the library and its hosts use them.
#pragma once

#include "colang/platform/posix/WinBase.h"

using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;
using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
using SHORT = short;
using USHORT = unsigned short;
using CHAR = char;
using FLOAT = float;
using DOUBLE = double;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using SCODE = LONG;

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
using IID = GUID;
using REFIID = const IID&;

#define E_NOINTERFACE ((HRESULT)0x80004002)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005)

// The COM base interface: the first three entries of every interface's table.
struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_UNKNOWN = 13,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
};

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    CHAR cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
  };
};
using VARIANTARG = VARIANT;

#define V_VT(p) ((p)->vt)
#define V_BSTR(p) ((p)->bstrVal)

extern "C" {
// A new string with the text's characters; null for a null text.
COLANG_API BSTR WINAPI SysAllocString(const OLECHAR* psz);
// A new string of cch characters, copied from psz or zero-filled when psz is null.
COLANG_API BSTR WINAPI SysAllocStringLen(const OLECHAR* psz, UINT cch);
// Length in characters; 0 for null.
COLANG_API UINT WINAPI SysStringLen(BSTR bstr);
COLANG_API void WINAPI SysFreeString(BSTR bstr);

COLANG_API void WINAPI VariantInit(VARIANTARG* pvarg);
// Frees what the variant owns and leaves it VT_EMPTY.
COLANG_API HRESULT WINAPI VariantClear(VARIANTARG* pvarg);
// Converts to VT_BSTR from VT_EMPTY, VT_BSTR, VT_I2, VT_I4, VT_UI4, VT_R8 and
// VT_BOOL; pvargDest may be pvarSrc. DISP_E_TYPEMISMATCH for other sources
// and for any other target type, the destination then untouched.
COLANG_API HRESULT WINAPI VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags,
                                            VARTYPE vt);
}
