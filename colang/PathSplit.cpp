// The file name splitter shared by name completion and the search path.
#include "colang/detail/PathSplit.h"

namespace colang::detail {

namespace {
bool IsSeparator(XChar c) { return c == XChar('\\') || c == XChar('/'); }
}  // namespace

bool PathSplit(const XChar* pszPath, XString* pDrive, XString* pDir, XString* pFname, XString* pExt) {
  XString* parts[] = {pDrive, pDir, pFname, pExt};
  for (XString* p : parts)
    if (p != nullptr) p->clear();
  if (pszPath == nullptr) return false;
  XStringView path(pszPath);

  XStringView drive;
  if (path.size() >= 2 && path[1] == XChar(':')) {
    drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  size_t nDirEnd = path.size();
  while (nDirEnd > 0 && !IsSeparator(path[nDirEnd - 1])) --nDirEnd;
  XStringView rest = path.substr(nDirEnd);
  size_t nDot = rest.rfind(XChar('.'));
  if (nDot == XStringView::npos) nDot = rest.size();

  if (pDrive != nullptr) pDrive->assign(drive);
  if (pDir != nullptr) pDir->assign(path.substr(0, nDirEnd));
  if (pFname != nullptr) pFname->assign(rest.substr(0, nDot));
  if (pExt != nullptr) pExt->assign(rest.substr(nDot));
  return true;
}

}  // namespace colang::detail
