# Runs rlgtool on the catalogs of tests/data/rlgtool and on the sample
# catalogs, and checks its messages, exit statuses and output files.
# Variables: TOOL, EMULATOR (may be empty), DATA_DIR, EXAMPLES_DIR, WORK_DIR,
# MSGFMT (empty to skip the PO validation).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(GLOB data_files ${DATA_DIR}/*)
file(COPY ${data_files} DESTINATION ${WORK_DIR})
file(COPY ${EXAMPLES_DIR}/rlg/App0407.rlg ${EXAMPLES_DIR}/rlg/App040c.rlg DESTINATION ${WORK_DIR}/samples)

include(${CMAKE_CURRENT_LIST_DIR}/ToolTest.cmake)

# --- check: planted faults, each found once at its line -------------------------
file(READ ${DATA_DIR}/Faults0407.expected faults_expected)
string(REPLACE ";" "<semicolon>" faults_expected "${faults_expected}")
expect(RC 1 ERR "${faults_expected}" ARGS check Faults0407.rlg)
expect(RC 1 ERR_HAS "Faults0407.rlg:6: error: format specifier 1 is %s (string)" "19 errors" ARGS check --strict Faults0407.rlg)
expect(RC 1 ERR "BadHeader0407.rlg:1: error: the language line \"0x0407 Deutsch\" must start with the language identifier as four hex digits (like 0407) or 0x and two digits\n1 error\n"
  ARGS check BadHeader0407.rlg)
expect(RC 1 ERR "Mismatch040c.rlg:1: error: language 0x0407 does not match 0x040c in the file name<semicolon> the library refuses the file\n1 error\n"
  ARGS check Mismatch040c.rlg)
expect(RC 1 ERR "EmptyTitle0407.rlg:2: error: empty title line<semicolon> the library refuses the file\n1 error\n"
  ARGS check EmptyTitle0407.rlg)
expect(RC 1 ERR "NoLanguage.rlg: error: the file name carries no language identifier<semicolon> name it like App0407.rlg (stem, four hex digits, .rlg)\n1 error\n"
  ARGS check NoLanguage.rlg)
expect(RC 0 ERR "no problems in 2 catalogs\n" ARGS check Clean0407.rlg Utf16le0407.rlg)
file(GLOB samples RELATIVE ${WORK_DIR} ${WORK_DIR}/samples/*.rlg)
if(samples)
  expect(RC 0 ERR_HAS "no problems in" ARGS check --strict ${samples})
endif()

# --- bad input: one message and exit status 2 -------------------------------------
expect(RC 2 ERR "Binary0407.rlg:3: error: binary file (NUL character), not a catalog<semicolon> UTF-16 catalogs need a byte order mark\n"
  ARGS check Binary0407.rlg)
expect(RC 2 ERR "Missing0407.rlg: error: no such file\n" ARGS check Missing0407.rlg)
file(MAKE_DIRECTORY ${WORK_DIR}/Dir0407.rlg)
expect(RC 2 ERR "Dir0407.rlg: error: is a directory\n" ARGS check Dir0407.rlg)
expect(RC 2 ERR "Missing0407.rlg: error: no such file\n" ARGS dump Missing0407.rlg)
expect(RC 2 ERR "Missing0407.rlg: error: no such file\n" ARGS export-po Missing0407.rlg)
expect(RC 2 ERR "Missing.po: error: no such file\n" ARGS import-po Missing.po --lang 0407)
expect(RC 2 ERR "Binary0407.rlg:3: error: binary file, not a PO file\n" ARGS import-po Binary0407.rlg --lang 0407)
expect(RC 2 ERR "rlgtool: error: no command given (see rlgtool --help)\n" ARGS)
expect(RC 2 ERR "rlgtool: error: unknown command \"frob\" (see rlgtool --help)\n" ARGS frob)
expect(RC 2 ERR "rlgtool: error: check: unknown option \"--bogus\" (see rlgtool check --help)\n" ARGS check --bogus Clean0407.rlg)
expect(RC 2 ERR "rlgtool: error: check: no catalog given (see rlgtool check --help)\n" ARGS check)
expect(RC 2 ERR "rlgtool: error: export-po: option -o needs a value (see rlgtool export-po --help)\n" ARGS export-po Clean0407.rlg -o)
expect(RC 2 ERR "rlgtool: error: import-po: \"German\" is not a language identifier in hex, like 0407 (see rlgtool import-po --help)\n"
  ARGS import-po Platform.po --lang German)
expect(RC 2 ERR "rlgtool: error: name: expected DIR PREFIX LANGID (see rlgtool name --help)\n" ARGS name dir App)
expect(RC 2 ERR_HAS "is not a resource identifier" ARGS translate Clean0407.rlg --id Open)
expect(RC 0 OUT_HAS "usage: rlgtool" "export-po" ARGS --help)
expect(RC 0 OUT_HAS "rlgtool " ARGS --version)
# Every command's help natively; under an emulator, where each run costs seconds, one.
set(help_commands check translate dump stats export-po import-po name)
if(EMULATOR)
  set(help_commands check)
endif()
foreach(command IN LISTS help_commands)
  expect(RC 0 OUT_HAS "usage: rlgtool ${command}" ARGS ${command} --help)
  expect(RC 0 OUT_HAS "usage: rlgtool ${command}" ARGS help ${command})
endforeach()

# --- PO round trip; nothing is written unless -o names it ------------------------
file(GLOB before ${WORK_DIR}/*)
expect(RC 0 OUT_HAS "msgid \"&File\"" ARGS export-po Clean0407.rlg)
file(GLOB after ${WORK_DIR}/*)
if(NOT before STREQUAL after)
  fail("export-po without -o created a file")
endif()
foreach(catalog Clean0407.rlg Utf16le0407.rlg ${samples})
  get_filename_component(name ${catalog} NAME_WE)
  expect(RC 0 ARGS export-po ${catalog} -o ${name}.po)
  if(MSGFMT)
    execute_process(COMMAND ${MSGFMT} --check -o ${WORK_DIR}/${name}.mo ${WORK_DIR}/${name}.po
      RESULT_VARIABLE msgfmt_rc ERROR_VARIABLE msgfmt_err)
    if(NOT msgfmt_rc EQUAL 0 OR NOT msgfmt_err STREQUAL "")
      fail("msgfmt --check ${name}.po: ${msgfmt_err}")
    endif()
  endif()
  file(MAKE_DIRECTORY ${WORK_DIR}/back)
  expect(RC 0 ARGS import-po ${name}.po -o back/${name}.rlg)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${catalog} ${WORK_DIR}/back/${name}.rlg
    RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    fail("export-po then import-po changed ${catalog}")
  endif()
endforeach()
expect(RC 0 ERR_HAS
  "Platform.po:16: warning: \"Close\" (msgctxt \"button\") differs from the entry at line 11 (msgctxt \"menu\") only by its context"
  "catalogs have none, the one at line 11 is kept"
  "Platform.po: warning: 1 plural entry skipped"
  "Platform.po:32: warning: \"#5\" is read as resource identifier 5 in a catalog, not as a text"
  "imported 4 entries (1 without their msgctxt); left out 1 untranslated and 1 fuzzy"
  ARGS import-po Platform.po -o Platform040c.rlg)
# file(READ) drops carriage returns; the hex form shows the line ends.
file(READ ${WORK_DIR}/Platform040c.rlg imported_lf)
file(READ ${WORK_DIR}/Platform040c.rlg imported_hex HEX)
set(expected_lines "040c\nFrench\nOpen\nOuvrir\nClose\nFermer\n#5\nnuméro 5\nTwo\\nlines\\t\"quoted\" \\\\ end\nDeux\\nlignes\\t\"citées\" \\\\ fin\n")
if(NOT imported_lf STREQUAL expected_lines OR NOT imported_hex MATCHES "^303430630d0a")
  fail("import-po Platform.po wrote:\n${imported_lf}")
endif()
expect(RC 0 ERR "no problems in 1 catalog\n" ARGS check Platform040c.rlg)
expect(RC 1 ERR_HAS "Broken.po:4: error: malformed string after msgid" "Broken.po:7: error: unknown keyword \"msgfoo\""
  ARGS import-po Broken.po --lang 0407 -o Broken0407.rlg)
if(EXISTS ${WORK_DIR}/Broken0407.rlg)
  fail("import-po wrote a catalog from a broken PO file")
endif()

# --- PO files in the charsets their headers name, through the platform's converter ---
foreach(case
    "latin1|040c|&Ouvrir...\\tCtrl+O|%d fichiers|Aperçu"
    "greek|0408|Ά&νοιγμα...\\tCtrl+O|%d αρχεία|Προβολή"
    "koi8r|0419|&Открыть...\\tCtrl+O|%d файлов|Вид"
    "eucjp|0411|開く(&O)...\\tCtrl+O|%d 個のファイル|表示"
    "sjis|0411|開く(&O)...\\tCtrl+O|%d 個のファイル|表示"
    "gb2312|0804|打开(&O)...\\tCtrl+O|%d 个文件|查看"
    "big5|0404|開啟(&O)...\\tCtrl+O|%d 個檔案|功能"
    "euckr|0412|열기(&O)...\\tCtrl+O|%d개 파일|보기")
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 name)
  list(GET parts 1 lang)
  list(SUBLIST parts 2 3 texts)
  expect(RC 0 ERR_HAS "imported 3 entries" ARGS import-po charsets/${name}.po -o charsets/${name}${lang}.rlg)
  file(STRINGS ${WORK_DIR}/charsets/${name}${lang}.rlg lines ENCODING UTF-8)
  list(REMOVE_AT lines 0 1)
  set(expected "&Open...\\tCtrl+O" "%d files" "View")
  foreach(i 0 1 2)
    list(GET expected ${i} source)
    list(GET texts ${i} text)
    math(EXPR at "${i} * 2")
    list(SUBLIST lines ${at} 2 pair)
    if(NOT pair STREQUAL "${source};${text}")
      fail("import-po charsets/${name}.po: \"${pair}\", expected \"${source};${text}\"")
    endif()
  endforeach()
endforeach()
expect(RC 1 ERR "Flags.po:22: error: the translation has 1 format specifier (%d) where the source has no format specifier\nFlags.po: note: imported 2 entries<semicolon> left out 0 untranslated and 2 fuzzy\n"
  ARGS import-po Flags.po -o Flags0407.rlg)
expect(RC 1 ERR "charsets/unknown.po: error: unknown charset \"X-NO-SUCH-CHARSET\" in the header's Content-Type<semicolon> convert the file to UTF-8 (msgconv --to-code=UTF-8)\n"
  ARGS import-po charsets/unknown.po -o charsets/unknown040c.rlg)
expect(RC 1 ERR "charsets/broken.po:16: error: bytes that are not Shift_JIS, the charset the header names\n"
  ARGS import-po charsets/broken.po -o charsets/broken0411.rlg)

# --- merge: the next version's template takes the old translations ----------------
expect(RC 0 ERR "Next0407.rlg: note: 4 kept, 3 fuzzy, 2 new, 3 obsolete (dropped<semicolon> --keep-obsolete keeps them at the end)\nNext0407.rlg: note: a catalog has no fuzzy flag: the 3 fuzzy translations are in it unreviewed, listed in fuzzy.txt\n"
  ARGS merge Prev0407.rlg Next.rlg -o Next0407.rlg --fuzzy-report fuzzy.txt)
file(READ ${WORK_DIR}/Next0407.rlg merged)
string(CONCAT expected_merged "0407\nDeutsch\n&File\n&Datei\nOpen...\\tCtrl+Shift+O\nÖffnen...\\tStrg+Shift+O\n"
  "Save As\nSpeichern unter\nPage %d of %d:\nSeite %d von %d:\nClose\nSchließen\nExport\nExport\n"
  "#1001\nSchließen\n#1003\nSpeichern &unter...\n#1002\nPrint\n")
if(NOT merged STREQUAL expected_merged)
  fail("merge Prev0407.rlg Next.rlg wrote:\n${merged}")
endif()
file(READ ${WORK_DIR}/fuzzy.txt fuzzy_report)
if(NOT fuzzy_report MATCHES "^Next0407.rlg:5: \"Open...\\\\tCtrl\\+Shift\\+O\"\n  was \"&Open...\\\\tCtrl\\+O\"\n")
  fail("merge --fuzzy-report wrote:\n${fuzzy_report}")
endif()
expect(RC 0 ERR_HAS "3 obsolete (kept as #~ entries)" ARGS merge Prev0407.rlg Next.rlg -o Next.po)
file(READ ${WORK_DIR}/Next.po merged_po)
if(NOT merged_po MATCHES "\n#~ msgid ")
  fail("merge Prev0407.rlg Next.rlg -o Next.po wrote no obsolete entry:\n${merged_po}")
endif()
expect(RC 2 ERR_HAS "expected OLD and TEMPLATE" ARGS merge Prev0407.rlg)
if(MSGFMT)
  execute_process(COMMAND ${MSGFMT} --check -o ${WORK_DIR}/Next.mo ${WORK_DIR}/Next.po
    RESULT_VARIABLE msgfmt_rc ERROR_VARIABLE msgfmt_err)
  if(NOT msgfmt_rc EQUAL 0 OR NOT msgfmt_err STREQUAL "")
    fail("msgfmt --check Next.po: ${msgfmt_err}")
  endif()
endif()
# The PO file merges into the same catalog: its fuzzy entries stay fuzzy.
expect(RC 0 ERR_HAS "4 kept, 3 fuzzy, 2 new, 0 obsolete" ARGS merge Next.po Next.rlg -o Again0407.rlg)
file(READ ${WORK_DIR}/Again0407.rlg merged_again)
if(NOT merged_again STREQUAL merged)
  fail("merge Next.po Next.rlg wrote:\n${merged_again}")
endif()

# --- pseudo: a catalog check finds clean, whose patterns still translate -------------
expect(RC 0 ERR_HAS "8 pseudo-translations, language 0501" ARGS pseudo Clean0407.rlg -o Clean0501.rlg)
expect(RC 0 ERR "no problems in 1 catalog\n" ARGS check --strict Clean0501.rlg)
expect(RC 0 OUT_HAS "[&Fîľé··]\n[Påĝé 3 öƒ 10······]\n[&Oρéñ...···]\\tCtrl+O\n"
  ARGS translate Clean0501.rlg "&File" "Page 3 of 10" "&Open...\\tCtrl+O")

# --- the library's view: translate, dump, stats, name -----------------------------
expect(RC 0 OUT_HAS "&Datei\nÖ&ffnen...\\tStrg+O\nSeite 3 von 10\n"
  ARGS translate Clean0407.rlg "&File" "&Open...\\tCtrl+O" "Page 3 of 10")
expect(RC 0 OUT_HAS "Speichern unter\nSchließen\n" ARGS translate Clean0407.rlg --id 1001 "#0x3EA")
expect(RC 0 OUT_HAS "&File\n" ARGS translate Clean0407.rlg --retranslate "&Datei")
expect(RC 1 OUT_HAS "Help\n" ERR_HAS "warning: no translation for \"Help\"" ARGS translate Clean0407.rlg Help)
expect(RC 1 ERR_HAS "Mismatch040c.rlg: error: the library does not load this catalog" ARGS translate Mismatch040c.rlg Open)
expect(RC 0 OUT_HAS "language     0x0407" "texts (6)" "identifiers (2)" "#1001 -> \"Speichern unter\""
  "patterns (2)" "\"Page %d of %d\" -> \"Seite %d von %d\"" ARGS dump Clean0407.rlg)
expect(RC 0 OUT_HAS "Clean0407.rlg            0x0407          8        6           2        2      0       12\n" "total" ARGS stats Clean0407.rlg Faults0407.rlg)
expect(RC 2 ERR_HAS "Missing0407.rlg: error: no such file" ARGS compile Missing0407.rlg)
expect(RC 0 OUT_HAS "dir\\App0407.rlg\n" ARGS name dir App 0407)
