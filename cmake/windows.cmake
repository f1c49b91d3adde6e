# What only the Windows build (MinGW-w64, cmake/mingw-w64.cmake) does: its
# programs run under Wine, the program deployed with its DLLs
# (cmake/deploy.cmake), the installer, archive and MSI package. The functions
# are called where their targets are made.

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
# portable archive: `cpack`, NSIS and ZIP. The MSI package's UpgradeCode is
# KORVAL's for good: a newer package finds an older one's copy by it, and the
# installer finds a package's.
set(KORVAL_UPGRADE_CODE 64768010-A879-447C-B62C-C7B3281590CB)
set(CPACK_NSIS_KORVAL_UPGRADE_CODE ${KORVAL_UPGRADE_CODE})
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
  install(SCRIPT ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/deploy.cmake)
endfunction()

# The MSI package (cmake/korval.wxs.in) for IT departments, by wixl:
# `cmake --build . --target msi`. Called once CPack's settings are made.
function(korval_windows_msi)
  find_program(KORVAL_WIXL wixl REQUIRED)
  file(RELATIVE_PATH KORVAL_ICO ${PROJECT_BINARY_DIR} ${KORVAL_ICO})
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/korval.wxs.in ${PROJECT_BINARY_DIR}/korval.wxs @ONLY)
  add_custom_target(msi COMMAND sh ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/msi.sh ${PROJECT_BINARY_DIR}
    ${PROJECT_VERSION} ${PROJECT_BINARY_DIR}/korval-${PROJECT_VERSION}-win64.msi VERBATIM)
  add_dependencies(msi korval)
endfunction()
