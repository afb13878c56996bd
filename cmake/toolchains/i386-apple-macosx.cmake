# 32-bit x86 Mach-O for Mac OS X 10.6 with clang, linked by our own torvel-ld
# (no linker on this machine still writes i386 Mach-O). Libraries that need
# 10.7 raise the minimum per target. Nothing built here can run on this
# machine; the dylibs are checked by reading them.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR i386)
set(CMAKE_OSX_ARCHITECTURES "")
set(CMAKE_OSX_DEPLOYMENT_TARGET "")
# No SDK: the guest sources declare every host name themselves.
set(CMAKE_OSX_SYSROOT "/" CACHE PATH "no SDK")

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET i386-apple-macosx10.6)
set(CMAKE_CXX_COMPILER_TARGET i386-apple-macosx10.6)
set(CMAKE_ASM_COMPILER clang)
set(CMAKE_ASM_COMPILER_TARGET i386-apple-macosx10.6)
find_program(CMAKE_AR NAMES llvm-ar llvm-ar-14 ar REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib llvm-ranlib-14 ranlib REQUIRED)
# CMake insists on an install_name_tool for Darwin targets; nothing here
# rewrites install names after linking (torvel-ld writes them), but the tool
# must exist for the configure step.
find_program(CMAKE_INSTALL_NAME_TOOL NAMES llvm-install-name-tool llvm-install-name-tool-14 install_name_tool REQUIRED)

# The compiler checks cannot link a Mach-O program here.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# torvel-ld comes from the native tree, which scripts/test.sh builds first.
get_filename_component(_vornik_source "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(VORNIK_TORVEL_LD "${_vornik_source}/build/native/tools/torvel-ld/torvel-ld"
    CACHE FILEPATH "torvel-ld, the i386 Mach-O linker built by the native tree")
set(CMAKE_USER_MAKE_RULES_OVERRIDE "${CMAKE_CURRENT_LIST_DIR}/i386-apple-macosx-rules.cmake")
