// Emulated registry in process memory.
#include "colang/platform/posix/WinReg.h"

#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "colang/XString.h"

namespace {

struct XRegValue {
  XString strName;
  DWORD dwType;
  std::vector<BYTE> vecData;
};

struct XRegKey {
  XString strName;
  XRegKey* pParent = nullptr;
  bool bDeleted = false;
  std::vector<std::shared_ptr<XRegKey>> vecSubKeys;
  std::vector<XRegValue> vecValues;
};

// An open key: handles keep their key alive after it is deleted, as Windows
// does, and then answer ERROR_KEY_DELETED.
struct XRegHandle {
  std::shared_ptr<XRegKey> pKey;
  REGSAM samDesired;
};

struct XRegistry {
  std::shared_ptr<XRegKey> pLocalMachine = std::make_shared<XRegKey>();
  std::shared_ptr<XRegKey> pCurrentUser = std::make_shared<XRegKey>();
  std::set<XRegHandle*> setHandles;
  ~XRegistry() {
    for (XRegHandle* p : setHandles) delete p;
  }
};

XRegistry& Registry() {
  static XRegistry registry;
  return registry;
}

XChar FoldCase(XChar c) { return c >= XChar('a') && c <= XChar('z') ? static_cast<XChar>(c - 'a' + 'A') : c; }

bool NameEqual(XStringView a, XStringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

// The key a handle stands for, with the access it was opened with; null for
// an unknown handle.
std::shared_ptr<XRegKey> KeyOf(HKEY hKey, REGSAM* pSam) {
  XRegistry& registry = Registry();
  if (pSam != nullptr) *pSam = KEY_ALL_ACCESS;
  if (hKey == HKEY_LOCAL_MACHINE) return registry.pLocalMachine;
  if (hKey == HKEY_CURRENT_USER) return registry.pCurrentUser;
  auto* pHandle = reinterpret_cast<XRegHandle*>(hKey);
  if (registry.setHandles.count(pHandle) == 0) return nullptr;
  if (pSam != nullptr) *pSam = pHandle->samDesired;
  return pHandle->pKey;
}

std::shared_ptr<XRegKey> SubKeyFind(const XRegKey& key, XStringView name) {
  for (const auto& p : key.vecSubKeys)
    if (NameEqual(p->strName, name)) return p;
  return nullptr;
}

// Walks the '\'-separated path from pKey; with bCreate, makes what is
// missing. Null when a key is missing (and not to be created).
std::shared_ptr<XRegKey> KeyWalk(std::shared_ptr<XRegKey> pKey, LPCWSTR lpSubKey, bool bCreate, bool* pCreated) {
  if (lpSubKey == nullptr) return pKey;
  XStringView rest(lpSubKey);
  while (!rest.empty()) {
    size_t n = rest.find(XChar('\\'));
    XStringView name = rest.substr(0, n);
    rest.remove_prefix(n == XStringView::npos ? rest.size() : n + 1);
    if (name.empty()) continue;
    std::shared_ptr<XRegKey> pSub = SubKeyFind(*pKey, name);
    if (pSub == nullptr) {
      if (!bCreate) return nullptr;
      pSub = std::make_shared<XRegKey>();
      pSub->strName.assign(name);
      pSub->pParent = pKey.get();
      pKey->vecSubKeys.push_back(pSub);
      if (pCreated != nullptr) *pCreated = true;
    }
    pKey = pSub;
  }
  return pKey;
}

HKEY HandleMake(std::shared_ptr<XRegKey> pKey, REGSAM samDesired) {
  auto* pHandle = new XRegHandle{std::move(pKey), samDesired};
  Registry().setHandles.insert(pHandle);
  return reinterpret_cast<HKEY>(pHandle);
}

XRegValue* ValueFind(XRegKey& key, LPCWSTR lpValueName) {
  XStringView name = lpValueName != nullptr ? XStringView(lpValueName) : XStringView();
  for (XRegValue& value : key.vecValues)
    if (NameEqual(value.strName, name)) return &value;
  return nullptr;
}

}  // namespace

extern "C" {

LSTATUS WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired, PHKEY phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::shared_ptr<XRegKey> pKey = KeyOf(hKey, nullptr);
  if (pKey == nullptr) return ERROR_INVALID_HANDLE;
  if (pKey->bDeleted) return ERROR_KEY_DELETED;
  pKey = KeyWalk(pKey, lpSubKey, false, nullptr);
  if (pKey == nullptr) return ERROR_FILE_NOT_FOUND;
  *phkResult = HandleMake(std::move(pKey), samDesired);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*Reserved*/, LPWSTR /*lpClass*/, DWORD /*dwOptions*/,
                               REGSAM samDesired, const SECURITY_ATTRIBUTES* /*lpSecurityAttributes*/, PHKEY phkResult,
                               LPDWORD lpdwDisposition) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::shared_ptr<XRegKey> pKey = KeyOf(hKey, nullptr);
  if (pKey == nullptr) return ERROR_INVALID_HANDLE;
  if (pKey->bDeleted) return ERROR_KEY_DELETED;
  bool bCreated = false;
  pKey = KeyWalk(pKey, lpSubKey, true, &bCreated);
  if (lpdwDisposition != nullptr) *lpdwDisposition = bCreated ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *phkResult = HandleMake(std::move(pKey), samDesired);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData,
                              DWORD cbData) {
  REGSAM sam;
  std::shared_ptr<XRegKey> pKey = KeyOf(hKey, &sam);
  if (pKey == nullptr) return ERROR_INVALID_HANDLE;
  if (pKey->bDeleted) return ERROR_KEY_DELETED;
  if ((sam & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (lpData == nullptr && cbData != 0) return ERROR_INVALID_PARAMETER;
  std::vector<BYTE> data(lpData, lpData + (lpData != nullptr ? cbData : 0));
  if (XRegValue* pValue = ValueFind(*pKey, lpValueName)) {
    pValue->dwType = dwType;
    pValue->vecData = std::move(data);
  } else {
    pKey->vecValues.push_back({lpValueName != nullptr ? XString(lpValueName) : XString(), dwType, std::move(data)});
  }
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                             LPDWORD /*lpReserved*/, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  REGSAM sam;
  std::shared_ptr<XRegKey> pKey = KeyOf(hKey, &sam);
  if (pKey == nullptr) return ERROR_INVALID_HANDLE;
  if (pKey->bDeleted) return ERROR_KEY_DELETED;
  if ((sam & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (lpValueName == nullptr || lpcchValueName == nullptr || (lpData != nullptr && lpcbData == nullptr))
    return ERROR_INVALID_PARAMETER;
  if (dwIndex >= pKey->vecValues.size()) return ERROR_NO_MORE_ITEMS;
  const XRegValue& value = pKey->vecValues[dwIndex];
  if (value.strName.size() >= *lpcchValueName) return ERROR_MORE_DATA;
  DWORD cbValue = static_cast<DWORD>(value.vecData.size());
  if (lpData != nullptr && cbValue > *lpcbData) {
    *lpcbData = cbValue;
    return ERROR_MORE_DATA;
  }
  std::memcpy(lpValueName, value.strName.c_str(), (value.strName.size() + 1) * sizeof(XChar));
  *lpcchValueName = static_cast<DWORD>(value.strName.size());
  if (lpType != nullptr) *lpType = value.dwType;
  if (lpData != nullptr && cbValue != 0) std::memcpy(lpData, value.vecData.data(), cbValue);
  if (lpcbData != nullptr) *lpcbData = cbValue;
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  REGSAM sam;
  std::shared_ptr<XRegKey> pKey = KeyOf(hKey, &sam);
  if (pKey == nullptr) return ERROR_INVALID_HANDLE;
  if (pKey->bDeleted) return ERROR_KEY_DELETED;
  if ((sam & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  XRegValue* pValue = ValueFind(*pKey, lpValueName);
  if (pValue == nullptr) return ERROR_FILE_NOT_FOUND;
  pKey->vecValues.erase(pKey->vecValues.begin() + (pValue - pKey->vecValues.data()));
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  std::shared_ptr<XRegKey> pKey = KeyOf(hKey, nullptr);
  if (pKey == nullptr) return ERROR_INVALID_HANDLE;
  if (lpSubKey == nullptr) return ERROR_INVALID_PARAMETER;
  if (pKey->bDeleted) return ERROR_KEY_DELETED;
  pKey = KeyWalk(pKey, lpSubKey, false, nullptr);
  if (pKey == nullptr) return ERROR_FILE_NOT_FOUND;
  if (!pKey->vecSubKeys.empty() || pKey->pParent == nullptr) return ERROR_ACCESS_DENIED;
  auto& siblings = pKey->pParent->vecSubKeys;
  for (auto it = siblings.begin(); it != siblings.end(); ++it) {
    if (*it == pKey) {
      siblings.erase(it);
      break;
    }
  }
  pKey->bDeleted = true;
  pKey->pParent = nullptr;
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY hKey) {
  if (hKey == HKEY_LOCAL_MACHINE || hKey == HKEY_CURRENT_USER) return ERROR_SUCCESS;
  XRegistry& registry = Registry();
  auto* pHandle = reinterpret_cast<XRegHandle*>(hKey);
  if (registry.setHandles.erase(pHandle) == 0) return ERROR_INVALID_HANDLE;
  delete pHandle;
  return ERROR_SUCCESS;
}
}
