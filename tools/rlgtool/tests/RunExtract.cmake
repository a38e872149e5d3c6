# Runs rlgtool extract on the sample resource script (and, where windres
# built them, on its .res file and programs): the catalogs it writes, the
# PO files gettext's tools accept, --list, the warnings of --pair, and the
# errors of bad input.
# Variables: TOOL, EMULATOR (may be empty), SOURCE_DIR, BUILT_DIR (empty
# without windres), WORK_DIR, GETTEXT_DIR (empty to skip msginit and msgfmt).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/back)
foreach(name Sample.rc SampleDe.rc2 Sample.h Sample.ico)
  file(COPY ${SOURCE_DIR}/${name} DESTINATION ${WORK_DIR})
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/ToolTest.cmake)

function(same_file actual expected)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${actual} ${expected} RESULT_VARIABLE differ)
  if(differ)
    file(READ ${actual} text)
    fail("${actual} differs from ${expected}:\n${text}")
  endif()
endfunction()

# --- catalogs: a skeleton and a pair, as expected, and clean for check ---------------
expect(RC 0 ERR "Sample0409.rlg: note: wrote 30 texts and 8 identifiers\n" ARGS extract Sample.rc -o Sample0409.rlg)
expect(RC 0 ERR "Upper0409.RLG: note: wrote 30 texts and 8 identifiers\n" ARGS extract Sample.rc -o Upper0409.RLG)
same_file(${WORK_DIR}/Sample0409.rlg ${SOURCE_DIR}/Sample0409.expected)
expect(RC 0 ERR "Sample0407.rlg: note: wrote 30 texts and 8 identifiers\n"
  ARGS extract --pair 0409 0407 Sample.rc -o Sample0407.rlg)
same_file(${WORK_DIR}/Sample0407.rlg ${SOURCE_DIR}/Sample0407.expected)
expect(RC 0 ERR_HAS "wrote 38 texts and 8 identifiers" ARGS extract --strings=both Sample.rc -o Both0409.rlg)
expect(RC 0 ERR "no problems in 3 catalogs\n" ARGS check --strict Sample0409.rlg Sample0407.rlg Both0409.rlg)
if(BUILT_DIR)
  foreach(built Sample.res Sample32.exe Sample64.exe)
    expect(RC 0 ARGS extract --pair 0409 0407 ${BUILT_DIR}/${built} -o From${built}0407.rlg)
    same_file(${WORK_DIR}/From${built}0407.rlg ${SOURCE_DIR}/Sample0407.expected)
  endforeach()
  expect(RC 0 OUT_HAS "Sample64.exe: 64-bit program (PE32+), 2 languages\n" ARGS extract --list ${BUILT_DIR}/Sample64.exe)
  expect(RC 0 OUT_HAS "Sample32.exe: 32-bit program (PE32), 2 languages\n" ARGS extract --list ${BUILT_DIR}/Sample32.exe)
endif()
expect(RC 0 OUT_HAS "Sample.rc: resource script, 2 languages\n"
  "  0407          2        2        8      39      0  German\n" ARGS extract --list Sample.rc)
expect(RC 0 ERR "Sample.rc: warning: holds no resources in language 0411 (nor in its neutral or default sublanguage)<semicolon> rlgtool extract --list shows its languages\nEmpty0409.rlg: note: wrote 0 texts and 0 identifiers\n"
  ARGS extract --lang 0411 --target 0409 Sample.rc -o Empty0409.rlg)

# --- PO: the template through msginit, and the pair back through import-po -----------
expect(RC 0 ARGS extract Sample.rc -o Sample.pot)
expect(RC 0 ARGS extract --pair 0409 0407 Sample.rc -o Sample0407.po)
expect(RC 0 ARGS import-po Sample0407.po -o back/Sample0407.rlg)
same_file(${WORK_DIR}/back/Sample0407.rlg ${SOURCE_DIR}/Sample0407.expected)
if(GETTEXT_DIR)
  execute_process(COMMAND ${GETTEXT_DIR}/msginit --no-translator -l de_DE -i Sample.pot -o Sample-de.po
    WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE msginit_rc ERROR_QUIET)
  foreach(po Sample-de.po Sample0407.po)
    execute_process(COMMAND ${GETTEXT_DIR}/msgfmt --check -o ${po}.mo ${po}
      WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE msgfmt_rc ERROR_VARIABLE msgfmt_err)
    if(NOT msginit_rc EQUAL 0 OR NOT msgfmt_rc EQUAL 0 OR NOT msgfmt_err STREQUAL "")
      fail("msginit, msgfmt --check ${po}: ${msgfmt_err}")
    endif()
  endforeach()
endif()

# --- --pair: a resource whose structure differs, a text with two translations ----------
file(WRITE ${WORK_DIR}/Mismatch.rc [=[
LANGUAGE 9, 1
1 MENU
BEGIN
  POPUP "&File"
  BEGIN
    MENUITEM "&Open", 10
  END
END
2 MENU
BEGIN
  MENUITEM "&Open", 20
  MENUITEM "Close", 21
END
3 DIALOG 0, 0, 9, 9
CAPTION "&Open"
BEGIN
END
LANGUAGE 7, 1
1 MENU
BEGIN
  POPUP "&Datei"
  BEGIN
    MENUITEM "Ö&ffnen", 10
  END
END
2 MENU
BEGIN
  MENUITEM "&Öffnen", 20
END
3 DIALOG 0, 0, 9, 9
CAPTION "&Öffnen"
BEGIN
END
]=])
expect(RC 0 ERR [=[Mismatch.rc: warning: MENU 2 differs between 0409 and 0407 (menu item 2 (item 21) is not in 0407)<semicolon> skipped
Mismatch.rc: warning: "&Open" has 2 translations: "Ö&ffnen" (MENU 1), "&Öffnen" (DIALOG 3)<semicolon> keeping "Ö&ffnen"
Mismatch0407.rlg: note: wrote 2 texts and 0 identifiers
]=] ARGS extract --pair 0409 0407 Mismatch.rc -o Mismatch0407.rlg)

# --- bad input: file: error: ..., exit status 2, nothing written ----------------------
file(WRITE ${WORK_DIR}/Junk.exe "MZ and nothing more")
file(WRITE ${WORK_DIR}/Unbalanced.rc "1 MENU\nBEGIN\n  MENUITEM \"&Open\", 1\n")
expect(RC 2 ERR [=[Junk.exe: error: an MZ file without a PE header: not a 32-bit or 64-bit Windows program
Sample.ico: error: binary file, but not a program or library (PE) nor a .res file
Missing.exe: error: no such file
Unbalanced.rc:2: error: BEGIN without END
]=] ARGS extract Junk.exe Sample.ico Missing.exe Unbalanced.rc -o Bad0409.rlg)
if(EXISTS ${WORK_DIR}/Bad0409.rlg)
  fail("extract wrote a catalog from bad input")
endif()
expect(RC 2 ERR "rlgtool: error: extract: no output file given (-o OUT.rlg or -o OUT.pot) (see rlgtool extract --help)\n"
  ARGS extract Sample.rc)
expect(RC 2 ERR_HAS "the output file must end in .rlg (a catalog), .pot or .po" ARGS extract Sample.rc -o Sample.txt)
expect(RC 2 ERR_HAS "--pair needs two languages, SRC and DST" ARGS extract Sample.rc -o X0407.rlg --pair 0409)
expect(RC 2 ERR_HAS "--strings takes ids, texts or both" ARGS extract --strings=all Sample.rc -o X0409.rlg)
expect(RC 2 ERR_HAS "\"English\" is not a language identifier in hex, like 0407 (--lang)"
  ARGS extract --lang English Sample.rc -o X0409.rlg)
expect(RC 0 OUT_HAS "usage: rlgtool extract" ARGS extract --help)
