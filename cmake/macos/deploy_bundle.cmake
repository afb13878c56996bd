# Built only on a Mac. `cmake --install` makes the installed
# VornikLauncher.app self-contained and signs it ad hoc, after every other
# install rule has put its part in place:
#   1. macdeployqt copies the Qt frameworks and plug-ins the window needs, and
#      the other libraries the programs load from outside the system
#      (libplist), into Contents/Frameworks and Contents/PlugIns, and points
#      the window and vornik-launcher-cli at those copies;
#   2. codesign signs the runtime host's bundle in Contents/Helpers, then the
#      launcher's bundle with everything nested in it, ad hoc (no identity),
#      and checks the result.
find_program(VORNIK_MACDEPLOYQT macdeployqt
  HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" "${Qt6_DIR}/../../../bin" REQUIRED)
find_program(VORNIK_CODESIGN codesign REQUIRED)

install(CODE "
  set(bundle \"\${CMAKE_INSTALL_PREFIX}/${VORNIK_INSTALLED_BUNDLE}\")
  set(macdeployqt \"${VORNIK_MACDEPLOYQT}\")
  set(codesign \"${VORNIK_CODESIGN}\")
")
install(SCRIPT "${CMAKE_CURRENT_LIST_DIR}/deploy_installed_bundle.cmake")
