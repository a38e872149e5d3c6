// PE files, .res files and the binary templates of menus, dialogs and
// string tables. All numbers are little-endian.
#include "ResBinary.h"

#include <cstdint>
#include <cstdio>
#include <map>

namespace rlgtool {

namespace {

constexpr unsigned kMenuPopup = 0x10;     // MF_POPUP
constexpr unsigned kMenuEnd = 0x80;       // last item of its level
constexpr unsigned kMenuNoText = 0x0904;  // MF_SEPARATOR / MFT_SEPARATOR, MF_BITMAP, MF_OWNERDRAW
constexpr unsigned kMenuExPopup = 0x01;
constexpr unsigned kDlgSetFont = 0x40;  // DS_SETFONT, also part of DS_SHELLFONT
constexpr size_t kMaxMenuDepth = 256;

// Reads fixed-size numbers and UTF-16 strings from a byte range. Every read
// is checked; after the first one that runs past the end, all fail.
class XByteReader {
 public:
  explicit XByteReader(std::string_view data, size_t nPos = 0) : m_data(data), m_nPos(nPos) {
    if (nPos > data.size()) m_bOk = false;
  }

  bool Ok() const { return m_bOk; }
  size_t Pos() const { return m_nPos; }
  size_t Left() const { return m_bOk ? m_data.size() - m_nPos : 0; }

  unsigned U16() { return static_cast<unsigned>(Read(2)); }
  unsigned U32() { return static_cast<unsigned>(Read(4)); }
  void Skip(size_t n) {
    if (n > Left()) m_bOk = false;
    if (m_bOk) m_nPos += n;
  }
  // To the next multiple of four from the start of the range.
  void Align4() { Skip((4 - m_nPos % 4) % 4); }

  // A zero-terminated UTF-16 string; fails when the range ends first.
  XString Sz() {
    XString strText;
    for (;;) {
      const unsigned c = U16();
      if (!m_bOk || c == 0) return strText;
      strText += static_cast<XChar>(c);
    }
  }

  // A name or ordinal field: 0x0000 none, 0xFFFF and a number, or a string.
  XResName SzOrOrd() {
    const size_t nStart = m_nPos;
    const unsigned nFirst = U16();
    if (nFirst == 0xFFFF) return XResName::Ordinal(U16());
    if (nFirst == 0) return XResName::Text(XString());
    m_nPos = nStart;
    return XResName::Text(Sz());
  }

 private:
  std::uint64_t Read(size_t nBytes) {
    if (nBytes > Left()) {
      m_bOk = false;
      return 0;
    }
    std::uint64_t nValue = 0;
    for (size_t i = 0; i < nBytes; ++i)
      nValue |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_data[m_nPos + i])) << (8 * i);
    m_nPos += nBytes;
    return nValue;
  }

  std::string_view m_data;
  size_t m_nPos;
  bool m_bOk = true;
};

std::string Hex(std::uint64_t nValue) {
  char sz[32];
  std::snprintf(sz, sizeof sz, "0x%llX", static_cast<unsigned long long>(nValue));
  return sz;
}

// One level of menu items being read, and whether the popup item that opened
// it was the last of its own level.
struct XMenuLevel {
  XMenuNode* pNode;
  bool bLastOfParent;
};

bool MenuItemsDecode(XByteReader& in, bool bEx, XMenuNode& root, std::string& strError) {
  std::vector<XMenuLevel> vecStack{{&root, false}};
  while (!vecStack.empty()) {
    XMenuNode item;
    unsigned nFlags = 0;
    if (bEx) {
      in.Align4();
      const unsigned nType = in.U32();
      in.U32();  // state
      item.nID = in.U32();
      nFlags = in.U16();
      item.strText = in.Sz();
      item.bPopup = (nFlags & kMenuExPopup) != 0;
      item.bText = (nType & kMenuNoText) == 0;
      if (item.bPopup) {
        in.Align4();
        in.U32();  // help identifier
      }
    } else {
      nFlags = in.U16();
      item.bPopup = (nFlags & kMenuPopup) != 0;
      if (!item.bPopup) item.nID = in.U16();
      item.strText = in.Sz();
      item.bText = (nFlags & kMenuNoText) == 0;
    }
    if (!in.Ok()) {
      strError = "the menu template is cut short";
      return false;
    }
    if (item.strText.empty()) item.bText = false;
    std::vector<XMenuNode>& vecLevel = vecStack.back().pNode->vecItems;
    vecLevel.push_back(std::move(item));
    const bool bLast = (nFlags & kMenuEnd) != 0;
    if (vecLevel.back().bPopup) {
      if (vecStack.size() > kMaxMenuDepth) {
        strError = "the menu is nested more than " + std::to_string(kMaxMenuDepth) + " levels deep";
        return false;
      }
      vecStack.push_back({&vecLevel.back(), bLast});
      continue;
    }
    // The last item of a level ends it, and ends the parent too when the
    // popup that opened it was the parent's last item.
    for (bool bEnd = bLast; bEnd && !vecStack.empty();) {
      bEnd = vecStack.back().bLastOfParent;
      vecStack.pop_back();
    }
  }
  return true;
}

bool DialogControlsDecode(XByteReader& in, bool bEx, unsigned nCount, XDialog& dialog) {
  for (unsigned i = 0; i < nCount && in.Ok(); ++i) {
    in.Align4();
    XDlgControl control;
    if (bEx) {
      in.U32();  // help identifier
      in.U32();  // extended style
      control.nStyle = in.U32();
      in.Skip(8);  // position and size
      control.nID = static_cast<int>(static_cast<std::int32_t>(in.U32()));
    } else {
      control.nStyle = in.U32();
      in.U32();  // extended style
      in.Skip(8);
      control.nID = static_cast<std::int16_t>(in.U16());
    }
    XResName cls = in.SzOrOrd();
    control.cls = cls.bOrdinal ? cls : ControlClass(cls.strText);
    control.title = in.SzOrOrd();
    in.Skip(in.U16());  // creation data
    if (in.Ok()) dialog.vecControls.push_back(std::move(control));
  }
  return in.Ok();
}

}  // namespace

bool MenuDecode(std::string_view data, XMenuNode& root, std::string& strError) {
  XByteReader in(data);
  const unsigned nVersion = in.U16();
  const unsigned nOffset = in.U16();
  if (!in.Ok() || nVersion > 1) {
    strError = in.Ok() ? "unknown menu template version " + std::to_string(nVersion) : "the menu template is cut short";
    return false;
  }
  in.Skip(nOffset);
  if (!in.Ok()) {
    strError = "the menu template's items start beyond its end";
    return false;
  }
  // An empty menu is a header alone.
  if (in.Left() == 0) return true;
  return MenuItemsDecode(in, nVersion == 1, root, strError);
}

bool DialogDecode(std::string_view data, XDialog& dialog, std::string& strError) {
  XByteReader in(data);
  const unsigned nVersion = in.U16();
  const unsigned nSignature = in.U16();
  const bool bEx = nVersion == 1 && nSignature == 0xFFFF;
  unsigned nStyle = 0, nCount = 0;
  if (bEx) {
    in.U32();  // help identifier
    in.U32();  // extended style
    nStyle = in.U32();
  } else {
    nStyle = nVersion | (nSignature << 16);
    in.U32();  // extended style
  }
  nCount = in.U16();
  in.Skip(8);    // position and size
  in.SzOrOrd();  // menu
  in.SzOrOrd();  // window class
  dialog.strCaption = in.Sz();
  dialog.bCaption = !dialog.strCaption.empty();
  if ((nStyle & kDlgSetFont) != 0) {
    in.U16();             // point size
    if (bEx) in.Skip(4);  // weight, italic, character set
    in.Sz();              // typeface
  }
  if (!in.Ok() || !DialogControlsDecode(in, bEx, nCount, dialog)) {
    strError = "the dialog template is cut short (" + std::to_string(dialog.vecControls.size()) + " of " +
               std::to_string(nCount) + " controls read)";
    return false;
  }
  return true;
}

bool StringBlockDecode(std::string_view data, unsigned nBlock, std::vector<XResString>& vecOut, std::string& strError) {
  XByteReader in(data);
  // A block may end early; the strings it leaves out are empty.
  for (unsigned i = 0; i < 16 && in.Left() > 0; ++i) {
    const unsigned nLength = in.U16();
    XString strText;
    for (unsigned k = 0; k < nLength && in.Ok(); ++k) strText += static_cast<XChar>(in.U16());
    if (!in.Ok()) {
      strError = "string " + std::to_string((nBlock - 1) * 16 + i) + " is cut short";
      return false;
    }
    if (!strText.empty()) vecOut.push_back({(nBlock - 1) * 16 + i, std::move(strText), 0, ""});
  }
  return true;
}

namespace {

// Decodes one resource found in a file into the model, or counts it among
// the others. False with strError for a template that cannot be read.
bool ResourceAdd(const XResName& type, const XResName& name, unsigned nLang, std::string_view data, XResFile& out,
                 std::string& strError) {
  const bool bOurs =
      type.bOrdinal && (type.nOrdinal == eResMenu || type.nOrdinal == eResDialog ||
                        (type.nOrdinal == eResString && name.bOrdinal && name.nOrdinal >= 1 && name.nOrdinal <= 4096));
  if (!bOurs) {
    ++out.mapOther[nLang];
    return true;
  }
  XResource res;
  res.nType = type.nOrdinal;
  res.name = name;
  res.nLang = nLang;
  bool bRead = res.nType == eResMenu     ? MenuDecode(data, res.menu, strError)
               : res.nType == eResDialog ? DialogDecode(data, res.dialog, strError)
                                         : StringBlockDecode(data, name.nOrdinal, res.vecStrings, strError);
  if (!bRead) {
    strError = res.Display() + " in language " + LangIDText(nLang) + ": " + strError;
    return false;
  }
  out.vecResources.push_back(std::move(res));
  return true;
}

// The sections of a PE file, to turn addresses in the loaded image (RVAs)
// into file offsets.
struct XSection {
  std::uint64_t nVirtual, nVirtualEnd, nRaw, nRawSize;
};

// The file bytes that hold the image's bytes from nRva on (as far as the
// section's data in the file goes), or an empty view when none do.
std::string_view RvaView(std::string_view file, const std::vector<XSection>& vecSections, std::uint64_t nRva) {
  for (const XSection& s : vecSections) {
    if (nRva < s.nVirtual || nRva >= s.nVirtualEnd) continue;
    const std::uint64_t nDelta = nRva - s.nVirtual;
    if (nDelta >= s.nRawSize || s.nRaw + nDelta >= file.size()) return {};
    const std::uint64_t nEnd = std::min<std::uint64_t>(s.nRaw + s.nRawSize, file.size());
    return file.substr(static_cast<size_t>(s.nRaw + nDelta), static_cast<size_t>(nEnd - s.nRaw - nDelta));
  }
  return {};
}

// Walks the three levels of a resource directory (type, name, language).
// Each directory table may be visited once and no two may overlap, so a
// directory that points back into itself or another is refused.
class XResDirWalker {
 public:
  XResDirWalker(std::string_view file, const std::vector<XSection>& vecSections, std::string_view tree, XResFile& out)
      : m_file(file), m_vecSections(vecSections), m_tree(tree), m_out(out) {}

  bool Walk(std::string& strError) {
    XResName path[2];
    if (!Directory(0, 0, path)) {
      strError = m_strError;
      return false;
    }
    return true;
  }

 private:
  bool Fail(const std::string& strText) {
    if (m_strError.empty()) m_strError = strText;
    return false;
  }

  bool Claim(std::uint64_t nStart, std::uint64_t nEnd) {
    auto it = m_mapClaimed.upper_bound(nStart);
    if (it != m_mapClaimed.begin() && std::prev(it)->second > nStart) return false;
    if (it != m_mapClaimed.end() && it->first < nEnd) return false;
    m_mapClaimed.emplace(nStart, nEnd);
    return true;
  }

  bool Name(unsigned nField, XResName& name) {
    if ((nField & 0x80000000u) == 0) {
      name = XResName::Ordinal(nField & 0xFFFF);
      return true;
    }
    XByteReader in(m_tree, nField & 0x7FFFFFFFu);
    const unsigned nLength = in.U16();
    XString strName;
    for (unsigned i = 0; i < nLength && in.Ok(); ++i) strName += static_cast<XChar>(in.U16());
    if (!in.Ok()) return Fail("a resource name lies outside the resource section");
    name = XResName::Text(std::move(strName));
    return true;
  }

  bool Directory(int nLevel, std::uint64_t nOffset, XResName* path) {
    XByteReader in(m_tree, static_cast<size_t>(nOffset));
    in.Skip(12);
    const std::uint64_t nEntries = static_cast<std::uint64_t>(in.U16()) + in.U16();
    if (!in.Ok() || nEntries * 8 > in.Left())
      return Fail("the resource directory at " + Hex(nOffset) + " lies outside the resource section");
    if (!Claim(nOffset, nOffset + 16 + nEntries * 8))
      return Fail("the resource directory at " + Hex(nOffset) + " overlaps another one (a loop)");
    for (std::uint64_t i = 0; i < nEntries; ++i) {
      const unsigned nNameField = in.U32();
      const unsigned nTarget = in.U32();
      XResName name;
      if (!Name(nNameField, name)) return false;
      const bool bSubdirectory = (nTarget & 0x80000000u) != 0;
      if (nLevel < 2) {
        if (!bSubdirectory) continue;  // not where a resource can be; the loader never finds it
        path[nLevel] = name;
        if (!Directory(nLevel + 1, nTarget & 0x7FFFFFFFu, path)) return false;
        continue;
      }
      if (bSubdirectory) return Fail("the resource directory is nested deeper than three levels");
      if (!Leaf(path[0], path[1], name.bOrdinal ? name.nOrdinal : 0, nTarget)) return false;
    }
    return true;
  }

  bool Leaf(const XResName& type, const XResName& name, unsigned nLang, unsigned nEntryOffset) {
    XByteReader entry(m_tree, nEntryOffset);
    const unsigned nRva = entry.U32();
    const unsigned nSize = entry.U32();
    if (!entry.Ok()) return Fail("a resource data entry lies outside the resource section");
    std::string_view data = RvaView(m_file, m_vecSections, nRva);
    if (data.size() < nSize && nSize > 0)
      return Fail("the data of a resource (" + Hex(nRva) + ", " + std::to_string(nSize) +
                  " bytes) lies outside the file");
    // Leaves may share their data; that it is read no more often than the
    // file's size allows keeps a file of many such leaves from taking hours.
    m_nDataRead += nSize;
    if (m_nDataRead > 4 * m_file.size() + (1u << 20))
      return Fail("the resource entries share their data more often than a program can");
    std::string strError;
    if (!ResourceAdd(type, name, nLang, data.substr(0, nSize), m_out, strError)) return Fail(strError);
    return true;
  }

  std::string_view m_file;
  const std::vector<XSection>& m_vecSections;
  std::string_view m_tree;
  XResFile& m_out;
  std::map<std::uint64_t, std::uint64_t> m_mapClaimed;  // directory tables: start -> end
  std::uint64_t m_nDataRead = 0;
  std::string m_strError;
};

}  // namespace

bool LooksLikePe(std::string_view bytes) { return bytes.substr(0, 2) == "MZ"; }

bool LooksLikeRes(std::string_view bytes) {
  return bytes.size() >= 32 &&
         bytes.substr(0, 16) == std::string_view("\0\0\0\0\x20\0\0\0\xFF\xFF\0\0\xFF\xFF\0\0", 16);
}

bool PeRead(std::string_view bytes, XResFile& out, std::string& strError) {
  XByteReader dos(bytes, 0x3C);
  const unsigned nPe = dos.U32();
  XByteReader pe(bytes, nPe);
  if (!dos.Ok() || pe.U32() != 0x00004550u) {
    strError = "an MZ file without a PE header: not a 32-bit or 64-bit Windows program";
    return false;
  }
  pe.U16();  // machine
  const unsigned nSections = pe.U16();
  pe.Skip(12);
  const unsigned nOptionalSize = pe.U16();
  pe.U16();  // characteristics
  const size_t nOptional = pe.Pos();
  const unsigned nMagic = pe.U16();
  if (!pe.Ok() || nOptionalSize > pe.Left() + 2) {
    strError = "the PE header is cut short";
    return false;
  }
  // Where the count of data directories stands; the directories follow it.
  size_t nDirCount = 0;
  if (nMagic == 0x10B) {
    out.strKind = "32-bit program (PE32)";
    nDirCount = 92;
  } else if (nMagic == 0x20B) {
    out.strKind = "64-bit program (PE32+)";
    nDirCount = 108;
  } else {
    strError = "unknown PE optional header " + Hex(nMagic);
    return false;
  }
  XByteReader header(bytes.substr(0, nOptional + nOptionalSize), nOptional + nDirCount);
  const unsigned nDirectories = header.U32();
  header.Skip(2 * 8);  // the export and import directories come first
  const unsigned nResourceRva = header.U32();
  if (!header.Ok() || nDirectories < 3 || nResourceRva == 0) return true;  // no resources

  std::vector<XSection> vecSections;
  XByteReader table(bytes, nOptional + nOptionalSize);
  for (unsigned i = 0; i < nSections && table.Ok(); ++i) {
    table.Skip(8);  // name
    const std::uint64_t nVirtualSize = table.U32();
    const std::uint64_t nVirtual = table.U32();
    const std::uint64_t nRawSize = table.U32();
    const std::uint64_t nRaw = table.U32();
    table.Skip(16);
    vecSections.push_back({nVirtual, nVirtual + std::max(nVirtualSize, nRawSize), nRaw, nRawSize});
  }
  if (!table.Ok()) {
    strError = "the section table is cut short";
    return false;
  }
  std::string_view tree = RvaView(bytes, vecSections, nResourceRva);
  if (tree.empty()) {
    strError = "the resource section (" + Hex(nResourceRva) + ") lies outside the file";
    return false;
  }
  if (!XResDirWalker(bytes, vecSections, tree, out).Walk(strError)) return false;
  ResourcesSort(out.vecResources);
  return true;
}

bool ResRead(std::string_view bytes, XResFile& out, std::string& strError) {
  out.strKind = "resource file";
  size_t nPos = 0;
  while (nPos < bytes.size()) {
    XByteReader in(bytes, nPos);
    const std::uint64_t nDataSize = in.U32();
    const std::uint64_t nHeaderSize = in.U32();
    if (!in.Ok() || nHeaderSize < 24 || nHeaderSize > bytes.size() - nPos ||
        nDataSize > bytes.size() - nPos - nHeaderSize) {
      // Zeros after the last resource are padding.
      if (bytes.find_first_not_of('\0', nPos) == std::string_view::npos) break;
      strError = "the resource at offset " + Hex(nPos) + " is cut short";
      return false;
    }
    XByteReader header(bytes.substr(0, nPos + static_cast<size_t>(nHeaderSize)), nPos + 8);
    const XResName type = header.SzOrOrd();
    const XResName name = header.SzOrOrd();
    header.Align4();
    header.Skip(6);  // data version, memory flags
    const unsigned nLang = header.U16();
    header.Skip(8);  // version, characteristics
    if (!header.Ok()) {
      strError = "the header of the resource at offset " + Hex(nPos) + " is cut short";
      return false;
    }
    const size_t nData = nPos + static_cast<size_t>(nHeaderSize);
    if (!(type.bOrdinal && type.nOrdinal == 0) &&
        !ResourceAdd(type, name, nLang, bytes.substr(nData, static_cast<size_t>(nDataSize)), out, strError))
      return false;
    nPos = nData + static_cast<size_t>(nDataSize);
    nPos += (4 - nPos % 4) % 4;
  }
  ResourcesSort(out.vecResources);
  return true;
}

}  // namespace rlgtool
