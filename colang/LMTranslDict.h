// XLMTranslDict: the translations of one language, read from catalog (RLG)
// files. It translates texts, retranslates translated texts back to their
// source, and translates numeric resource identifiers; it also rewrites whole
// menus and windows in place.
//
// What a caller may rely on:
// - A dictionary is valid exactly when LangID() is not 0; an invalid one
//   misses every lookup, whatever entries it holds.
// - Texts are compared exactly, code unit by code unit: "Open", "open",
//   "&Open", "Open " and "Open..." are five different keys.
// - Lookups return pointers into the dictionary's own storage (or, for a text
//   found by pattern, into a pool of the last 55 such results). A pointer
//   stays valid until its entry is overwritten by a new insertion under the
//   same key, or the dictionary is emptied, assigned to or destroyed; other
//   insertions and moving the dictionary object do not end it.
// - Check... lookups give null on a miss, String... lookups give the caller's
//   own pointer back.
// - Assigning a dictionary to itself leaves it unchanged.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "colang/XString.h"
#include "colang/platform/Export.h"
#include "colang/platform/Win32.h"

class XIntlStdioFile;
struct IQV_SessionDataMng;
namespace colang::detail {
struct XPairBatch;
class XCompiled;
}  // namespace colang::detail
struct XLMTranslDictAccess;
// The dictionary's maps; only the library's own sources know them.
class XTextMap;
class XIdMap;

namespace colang::detail {

// Room inside an object for a member whose type only the library's sources
// know: nWords pointer-sized words, held in place so that reaching the
// member follows no pointer. Made, unmade and checked to fit where the type
// is known (colang/detail/DictMaps.h).
template <typename T, std::size_t nWords>
class XInPlace {
 public:
  XInPlace();
  XInPlace(const XInPlace&) = delete;
  XInPlace& operator=(const XInPlace&) = delete;
  ~XInPlace();
  T& operator*() noexcept { return *std::launder(reinterpret_cast<T*>(m_aStorage)); }
  const T& operator*() const noexcept { return *std::launder(reinterpret_cast<const T*>(m_aStorage)); }
  T* operator->() noexcept { return &**this; }
  const T* operator->() const noexcept { return &**this; }

 private:
  alignas(void*) unsigned char m_aStorage[nWords * sizeof(void*)];
};

}  // namespace colang::detail

class COLANG_API XLMTranslDict {
 public:
  using XMapTransl = XTextMap;
  using XMapIdTransl = XIdMap;
  using XVecFiles = std::vector<XString>;

  // Empty and not valid, no default directory.
  XLMTranslDict();
  // Same language, files and entries as other; the default directory starts empty.
  XLMTranslDict(const XLMTranslDict& other);
  // Reads the named catalog (completed and searched as RLGFileRead does);
  // when that fails the dictionary is empty and not valid.
  explicit XLMTranslDict(const XChar* pszRLGFilename);
  // Takes other's language, files and entries without copying them: texts
  // handed out by other stay valid and now belong to this dictionary. other
  // is left empty and not valid; its default directory stays with it.
  XLMTranslDict(XLMTranslDict&& other) noexcept;
  virtual ~XLMTranslDict();
  // Takes other's language, files and entries; keeps this default directory.
  const XLMTranslDict& operator=(const XLMTranslDict& other);
  // As the move constructor; this default directory stays.
  const XLMTranslDict& operator=(XLMTranslDict&& other) noexcept;

  // Forgets all entries, files and the language; keeps the default directory.
  void Empty();
  bool IsValid() const { return m_nLangID != 0; }
  int LangID() const { return m_nLangID; }
  // Stores any value, 0 included; entries stay.
  void LangIDSet(int nLangID);
  // Paths of the catalogs read, in reading order.
  const XVecFiles& RLGFilesLoaded() const { return m_vecRLGFilesLoaded; }

  // Translation of a text, by entry and else by pattern; null on a miss, for
  // a null text, or when the dictionary is not valid.
  const XChar* CheckTranslate(const XChar* pszText) const;
  // Translation of a resource identifier; null on a miss. No pattern step.
  const XChar* CheckTranslate(unsigned int nID) const;
  // Source text of a translated text; null on a miss. No pattern step. The
  // first use of the retranslations after a load builds their index (some
  // 3 ms for 100,000 entries), which hosts that never retranslate are spared.
  const XChar* CheckRetranslate(const XChar* pszText) const;
  // CheckTranslate, or pszText itself on a miss.
  const XChar* StringTranslate(const XChar* pszText) const;
  // CheckRetranslate, or pszText itself on a miss.
  const XChar* StringRetranslate(const XChar* pszText) const;

  // Reads a catalog; bAppend false replaces the contents, true adds to them.
  // The name may lack directory, language digits and extension. True also
  // when this dictionary has read the file already (it is not read again).
  bool RLGFileRead(const XChar* pszRLGFilename, bool bAppend);
  // Opens exactly pszFilename and checks its header. strPath receives the
  // file's path once it is open, is emptied when it cannot be opened, and is
  // untouched for a null name.
  static bool RLGFileCheck(XString& strPath, const XChar* pszFilename);

  // dir + "\" + prefix + four lower-case hex digits + ".rlg"; empty for a null
  // prefix or an identifier of 0 or less; a null or empty dir gives ".\".
  static XString RLGFilenameGen(const XChar* pszDir, const XChar* pszPrefix, int nLangID);
  // Completes a partial name with this dictionary's language and default
  // directory and searches for it; false (output untouched) for a null name,
  // or a name without language digits when this dictionary has no language.
  bool RLGFilenameComplete(XString& strOut, const XChar* pszFilename) const;
  // True, and the identifier stored, when the name carries one above 0.
  static bool RLGFilenameCheck(int& nLangID, const XChar* pszFilename);
  // The identifier at the end of the name's base name, or 0.
  static int LangIDFromFilename(const XChar* pszFilename);
  // Whether the completed name is one of the files read; pnIndex (optional)
  // receives its position in RLGFilesLoaded().
  bool RLGFileLoadedSearch(const XChar* pszFilename, unsigned* pnIndex = nullptr) const;
  // Directory for completing bare names; a final separator is added. Null
  // keeps the old directory, an empty one clears it.
  void SetDefaultDir(const XChar* pszDir);

  // The search path's settings directory, as taken from the host.
  static const XString& RLGPathGet();
  // Takes the settings directory from the host's session data; false (and
  // nothing changed) for a null manager or a failed query.
  static bool RLGPathInitialize(IQV_SessionDataMng* pSessionDataMng);

  // Rewrite every item of the menu and its submenus with its translation
  // (or retranslation). A handle that is not a menu is left alone.
  void MenuTranslate(HMENU hMenu) const;
  void MenuRetranslate(HMENU hMenu) const;
  // Rewrite the window's menu bar, caption and the texts of all windows below
  // it except edit controls. A handle that is not a window is left alone.
  void WindowTranslate(HWND hWnd) const;
  void WindowRetranslate(HWND hWnd) const;

 private:
  friend struct XLMTranslDictAccess;

  const XLMTranslDict& Assign(const XLMTranslDict& other);
  // CheckTranslate and CheckRetranslate without taking the module context.
  const XChar* Translated(const XChar* pszText) const;
  const XChar* Retranslated(const XChar* pszText) const;
  void PairInsert(const XChar* pszSource, const XChar* pszTransl);
  void PairInsert(unsigned int nID, const XChar* pszTransl);
  // Inserts every pair of a batch as PairInsert would one after the other,
  // in fewer steps; the maps keep the batch's blocks and may take its
  // arrays. Running out of memory leaves the dictionary as it was.
  void PairsInsert(colang::detail::XPairBatch& batch);
  static bool AuxRLGFileOpen(XString& strPath, XIntlStdioFile& file, const XChar* pszFilename);
  // The read of RLGFileRead from the compiled catalog beside the file, when
  // there is one that matches it and this dictionary holds nothing that the
  // read would have to merge with; false leaves the read to the catalog.
  bool CompiledRead(const XString& strName, int nFileLangID, bool bAppend);
  // Leaves the three maps, which hold nothing, to a compiled catalog.
  void CompiledTake(const std::shared_ptr<const colang::detail::XCompiled>& pCompiled);

  int m_nLangID;
  colang::detail::XInPlace<XMapTransl, 12> m_mapTransl;
  colang::detail::XInPlace<XMapTransl, 12> m_mapRetransl;
  colang::detail::XInPlace<XMapIdTransl, 8> m_mapIdTransl;
  XVecFiles m_vecRLGFilesLoaded;
  XString m_strDefaultDir;

  static XString m_strRLGPath;
};
