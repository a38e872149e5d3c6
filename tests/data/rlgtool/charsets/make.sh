#!/usr/bin/env bash
# Writes one small PO file per charset that PO files use, from the UTF-8
# texts below, with iconv. The files are committed; run this again only
# after changing the texts. Shift_JIS and Big5 texts hold characters whose
# second byte is a backslash (0x5C), which a reader must decode before it
# reads the PO escapes.
set -euo pipefail
cd "$(dirname "$0")"
po() {  # file charset language open files view
  { printf 'msgid ""\nmsgstr ""\n"Language: %s\\n"\n"Content-Type: text/plain; charset=%s\\n"\n\n' "$3" "$2"
    printf 'msgid "&Open...\\tCtrl+O"\nmsgstr "%s"\n\n' "$4"
    printf '#, c-format\nmsgid "%%d files"\nmsgstr "%s"\n\n' "$5"
    printf 'msgid "View"\nmsgstr "%s"\n' "$6"
  } | iconv -f UTF-8 -t "${7:-$2}" > "$1"
}
po latin1.po ISO-8859-1 fr "&Ouvrir...\\tCtrl+O" "%d fichiers" "Aperçu"
po greek.po ISO-8859-7 el "Ά&νοιγμα...\\tCtrl+O" "%d αρχεία" "Προβολή"
po koi8r.po KOI8-R ru "&Открыть...\\tCtrl+O" "%d файлов" "Вид"
po eucjp.po EUC-JP ja "開く(&O)...\\tCtrl+O" "%d 個のファイル" "表示"
po sjis.po Shift_JIS ja "開く(&O)...\\tCtrl+O" "%d 個のファイル" "表示"
po gb2312.po GB2312 zh_CN "打开(&O)...\\tCtrl+O" "%d 个文件" "查看"
po big5.po BIG5 zh_TW "開啟(&O)...\\tCtrl+O" "%d 個檔案" "功能"
po euckr.po EUC-KR ko "열기(&O)...\\tCtrl+O" "%d개 파일" "보기"
po unknown.po X-NO-SUCH-CHARSET fr "&Ouvrir...\\tCtrl+O" "%d fichiers" "Vue" ISO-8859-1
# Shift_JIS with a lead byte that a quote follows on line 16.
po broken.po Shift_JIS ja "開く(&O)...\\tCtrl+O" "%d 個のファイル" "表示"
printf 'msgid "Cut"\nmsgstr "\x81"\n' >> broken.po
