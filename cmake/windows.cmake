# What only the Windows build (MinGW-w64, cmake/mingw-w64.cmake) does: its
# programs run under Wine, the program deployed with its DLLs, the installer
# and archive, the print tests' service. The functions are called by the
# folders whose targets they concern.

# At install time (install(SCRIPT) below): every DLL that the program and its
# plugins import from Qt's and MinGW's folders (KORVAL_DLL_DIRS), beside the
# program; the rest are Windows' own. CMake reads the imports with MinGW's
# objdump and names them in lower case, as Windows compares them, so it
# finds none of Qt's on Linux's case-sensitive disks: those are matched here
# without regard to case, and their own imports read in turn.
if(DEFINED KORVAL_DEPLOYED)
  cmake_policy(PUSH)
  cmake_policy(VERSION 3.25)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${KORVAL_OBJDUMP}")
  set(available "")
  foreach(dir IN LISTS KORVAL_DLL_DIRS)
    file(GLOB dlls "${dir}/*.dll")
    list(APPEND available ${dlls})
  endforeach()
  set(deployed "")
  set(pending ${KORVAL_DEPLOYED})
  while(pending)
    set(executables ${pending})
    list(FILTER executables INCLUDE REGEX "\\.exe$")
    list(FILTER pending EXCLUDE REGEX "\\.exe$")
    file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${executables} LIBRARIES ${pending}
      RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR names
      DIRECTORIES ${KORVAL_DLL_DIRS})
    set(pending "")
    foreach(dll IN LISTS available)
      get_filename_component(name "${dll}" NAME)
      string(TOLOWER "${name}" name)
      if(name IN_LIST names AND NOT dll IN_LIST deployed)
        list(APPEND pending "${dll}")
      endif()
    endforeach()
    list(APPEND deployed ${resolved} ${pending})
    list(REMOVE_DUPLICATES deployed)
  endwhile()
  file(INSTALL ${deployed} DESTINATION "${CMAKE_INSTALL_PREFIX}/${KORVAL_DLL_DESTINATION}")
  # Qt's and MinGW's DLLs and the plugins come with their debugging
  # information, which users never need: two thirds of the program's size.
  file(GLOB_RECURSE dlls "${CMAKE_INSTALL_PREFIX}/${KORVAL_DLL_DESTINATION}/*.dll")
  execute_process(COMMAND "${KORVAL_STRIP}" --strip-unneeded ${dlls} COMMAND_ERROR_IS_FATAL ANY)
  # Signed once stripped, as the installer and its uninstaller are.
  execute_process(COMMAND sh "${CMAKE_CURRENT_LIST_DIR}/sign.sh"
    "${CMAKE_INSTALL_PREFIX}/${KORVAL_DLL_DESTINATION}/korval.exe" ${dlls} COMMAND_ERROR_IS_FATAL ANY)
  cmake_policy(POP)
  return()
endif()

# The folders of MinGW's C++ runtime, which the program and Qt's DLLs share,
# and of Qt's DLLs: the build's programs run under Wine finding them there,
# and the package takes them from there.
set(KORVAL_DLL_DIRS "")
foreach(dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(found "${found}" DIRECTORY)
  get_filename_component(found "${found}" REALPATH)
  list(APPEND KORVAL_DLL_DIRS "${found}")
endforeach()
find_package(Qt6 REQUIRED COMPONENTS Core)
list(APPEND KORVAL_DLL_DIRS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
if(KORVAL_WINE)
  list(JOIN KORVAL_DLL_DIRS ";" wine_path)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run.sh @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)
endif()

# The installer (cmake/NSIS.template.in, in place of CPack's) and the
# portable archive: `cpack`, NSIS and ZIP.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_FILE_NAME korval-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY KORVAL)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY KORVAL)
set(CPACK_NSIS_PACKAGE_NAME KORVAL)
set(CPACK_NSIS_DISPLAY_NAME KORVAL)
set(CPACK_NSIS_URL_INFO_ABOUT ${PROJECT_HOMEPAGE_URL})
set(CPACK_NSIS_MUI_ICON ${KORVAL_ICO})
set(CPACK_NSIS_MUI_UNIICON ${KORVAL_ICO})
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# A 64-bit installer, which sees the 64-bit registry and folders; elevated
# for all users when the user may, for this user alone when not.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\nRequestExecutionLevel highest")
set(CPACK_NSIS_KORVAL_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0)
set(CPACK_NSIS_KORVAL_SIGN "sh ${CMAKE_CURRENT_LIST_DIR}/sign.sh")
# A licence page only for a licence text.
if(EXISTS ${PROJECT_SOURCE_DIR}/LICENSE)
  set(CPACK_NSIS_KORVAL_LICENSE_PAGE "!insertmacro MUI_PAGE_LICENSE \"${PROJECT_SOURCE_DIR}/LICENSE\"")
endif()

# The program as Windows shows it (icon and version in Explorer and the Start
# menu), and its folder as Qt's own deployment fills it: the platform plugin
# Windows uses, Qt's styles and image formats, Qt's Italian texts, and every
# DLL these import from Qt's and MinGW's folders.
function(korval_windows_program target)
  enable_language(RC)
  configure_file(${PROJECT_SOURCE_DIR}/app/korval.manifest.in ${CMAKE_CURRENT_BINARY_DIR}/korval.manifest @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/app/korval.rc.in ${CMAKE_CURRENT_BINARY_DIR}/korval.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/korval.rc)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/korval.rc PROPERTIES OBJECT_DEPENDS
    "${KORVAL_ICO};${CMAKE_CURRENT_BINARY_DIR}/korval.manifest")
  add_dependencies(${target} korval_icons)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  set(deployed "")
  foreach(plugin QWindowsIntegrationPlugin ${QT_ALL_PLUGINS_FOUND_BY_FIND_PACKAGE_styles}
                 ${QT_ALL_PLUGINS_FOUND_BY_FIND_PACKAGE_imageformats})
    set(plugin Qt6::${plugin})
    get_target_property(type ${plugin} QT_PLUGIN_TYPE)
    install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${CMAKE_INSTALL_BINDIR}/${type})
    list(APPEND deployed $<TARGET_FILE:${plugin}>)
  endforeach()
  install(FILES ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}/qtbase_it.qm
    DESTINATION ${CMAKE_INSTALL_BINDIR}/translations)
  find_program(KORVAL_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
  find_program(KORVAL_STRIP x86_64-w64-mingw32-strip REQUIRED)
  install(CODE "
    set(KORVAL_DEPLOYED $<TARGET_FILE:${target}> ${deployed})
    set(KORVAL_DLL_DIRS ${KORVAL_DLL_DIRS})
    set(KORVAL_OBJDUMP ${KORVAL_OBJDUMP})
    set(KORVAL_STRIP ${KORVAL_STRIP})
    set(KORVAL_DLL_DESTINATION ${CMAKE_INSTALL_BINDIR})")
  install(SCRIPT ${CMAKE_CURRENT_FUNCTION_LIST_FILE})
endfunction()

# Printing through Wine's printers, which are the CUPS queues there when the
# first program of a prefix starts, at the CUPS_SERVER it started with: one
# print service for the whole run, its queues made before the first test
# (tests/support/print_service.sh wine). The tests print from Qt's Windows
# platform, whose text reaches the printer as text, in a prefix of their
# own. The socket's path stays short, as Unix sockets need. Wine reads its
# printers once while any program of the prefix runs: no other test may run
# beside a print test.
function(korval_wine_print_tests target)
  string(SHA1 run ${CMAKE_CURRENT_BINARY_DIR})
  string(SUBSTRING ${run} 0 12 run)
  set(service /tmp/korval-wine-print-${run})
  set(script ${PROJECT_SOURCE_DIR}/tests/support/print_service.sh)
  add_test(NAME PrintService.start COMMAND bash ${script} wine ${service} ${PROJECT_BINARY_DIR}/wine-print)
  add_test(NAME PrintService.stop COMMAND bash ${script} wine-stop ${service})
  set_tests_properties(PrintService.start PROPERTIES FIXTURES_SETUP wine_print_service)
  set_tests_properties(PrintService.stop PROPERTIES FIXTURES_CLEANUP wine_print_service)
  set(serial TIMEOUT 180 RUN_SERIAL TRUE FIXTURES_REQUIRED wine_print_service)
  gtest_discover_tests(${target}
    DISCOVERY_TIMEOUT 60
    EXTRA_ARGS -platform windows
    TEST_FILTER -Printing.no_default_printer_is_a_warning
    PROPERTIES ENVIRONMENT KORVAL_WINE_ENV=${service}.env ${serial})
  # A print service without queues.
  add_test(NAME Printing.no_default_printer_is_a_warning
    COMMAND ${target} -platform windows --gtest_filter=Printing.no_default_printer_is_a_warning)
  set_tests_properties(Printing.no_default_printer_is_a_warning PROPERTIES
    ENVIRONMENT KORVAL_WINE_ENV=${service}-empty.env ${serial})
endfunction()
