# Tests of rlgtool, read in the top directory once the whole project is known:
# its parts join the GoogleTest suite, and the program itself runs on
# catalogs with planted faults.
if(TARGET colang_tests)
  target_sources(colang_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Rlgtool_test.cpp)
  target_link_libraries(colang_tests PRIVATE rlgtool_core)
endif()

# msgfmt validates exported PO files where it runs natively.
set(rlgtool_msgfmt "")
if(NOT CMAKE_CROSSCOMPILING)
  find_program(COLANG_MSGFMT msgfmt)
  if(COLANG_MSGFMT)
    set(rlgtool_msgfmt ${COLANG_MSGFMT})
  endif()
endif()
add_test(NAME rlgtool_cli
  COMMAND ${CMAKE_COMMAND}
    -DTOOL=$<TARGET_FILE:rlgtool>
    "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
    -DDATA_DIR=${PROJECT_SOURCE_DIR}/tests/data/rlgtool
    -DEXAMPLES_DIR=${PROJECT_SOURCE_DIR}/examples
    -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/rlgtool-cli
    -DMSGFMT=${rlgtool_msgfmt}
    -P ${CMAKE_CURRENT_LIST_DIR}/RunTool.cmake)
set_tests_properties(rlgtool_cli PROPERTIES ENVIRONMENT "NO_COLOR=1;SOURCE_DATE_EPOCH=0")

# The gettext catalogs of the machine, a fixed share of them: imported,
# checked, exported and compiled back (tools/rlgtool/corpus). Skipped where
# gettext or the catalogs are missing.
if(rlgtool_msgfmt)
  add_test(NAME rlgtool_corpus
    COMMAND ${PROJECT_SOURCE_DIR}/tools/rlgtool/corpus --tool $<TARGET_FILE:rlgtool> --sample 40)
  set_tests_properties(rlgtool_corpus PROPERTIES SKIP_RETURN_CODE 77)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Extract.cmake)
