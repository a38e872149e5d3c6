// IQV_SessionDataMng: the host's session data manager, a COM-style interface
// the host implements. The library calls one entry, ValueGet, to ask for its
// settings directory; the six entries before it are the host's own.
#pragma once

#include "colang/platform/Win32.h"

struct IQV_SessionDataMng : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Reserved1() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved2() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  // Stores the value of bstrKey in section bstrSection in *pvarValue (empty
  // on entry) and answers 0, or answers another code when it has none. The
  // library passes 8 and 4 as nArg3 and nArg5 and owns the strings and the variant.
  virtual HRESULT STDMETHODCALLTYPE ValueGet(BSTR bstrSection, BSTR bstrKey, long nArg3, VARIANT* pvarValue,
                                             long nArg5) = 0;
};
