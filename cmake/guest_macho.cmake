# Link settings of the Mach-O deliverables, applied to the guest library
# targets after guest/ has defined them: install name, version minimum and
# the list of names the library may import (anything else undefined is an
# error, so a misspelt name cannot become a dependency on libSystem).
if(NOT EXISTS "${VORNIK_TORVEL_LD}")
  message(FATAL_ERROR "torvel-ld not found at ${VORNIK_TORVEL_LD}: build the native tree first "
                      "(bash scripts/test.sh native guest-macho)")
endif()

function(vornik_macho_dylib target install_name min_version)
  if(NOT TARGET ${target})
    return()
  endif()
  # The ELF build links through the C driver without start files; torvel-ld
  # needs none of the driver's options.
  get_target_property(options ${target} LINK_OPTIONS)
  if(options)
    list(REMOVE_ITEM options -nostartfiles)
    set_target_properties(${target} PROPERTIES LINK_OPTIONS "${options}")
  endif()
  set(imports "")
  foreach(list IN LISTS ARGN)
    string(APPEND imports " --imports ${list}")
  endforeach()
  target_link_options(${target} PRIVATE
    "SHELL:--install-name ${install_name} --macosx-version-min ${min_version}${imports}")
  # Comes after the toolchain's 10.6 target on the command line, and the last one counts.
  target_compile_options(${target} PRIVATE --target=i386-apple-macosx${min_version})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${VORNIK_TORVEL_LD}" ${ARGN})
endfunction()

set(_macho "${CMAKE_CURRENT_LIST_DIR}/macho")

# libtorvelios reaches libtorvelrt's members by name through the host, so
# whatever libtorvelrt exports is a permitted import of libtorvelios. The
# export list is the one the ELF build is checked against; Darwin names get
# a leading underscore and mangle size_t as "m".
set(VORNIK_MACHO_RT_EXPORTS_AS_IMPORTS "${CMAKE_BINARY_DIR}/libtorvelrt-exports.imports")
set(_rt_exports "${CMAKE_SOURCE_DIR}/tests/guest/exports/libtorvelrt.exports")
set(_names "")
if(EXISTS "${_rt_exports}")
  file(STRINGS "${_rt_exports}" _lines REGEX "^[a-z]+[ \t]+[^ \t]+")
  foreach(_line IN LISTS _lines)
    string(REGEX REPLACE "^[a-z]+[ \t]+([^ \t#]+).*" "_\\1" _name "${_line}")
    string(REPLACE "{z}" "m" _name "${_name}")
    string(APPEND _names "${_name}\n")
  endforeach()
endif()
# Rewritten only when the names change: libtorvelios relinks on its date.
file(WRITE "${VORNIK_MACHO_RT_EXPORTS_AS_IMPORTS}.new" "${_names}")
file(COPY_FILE "${VORNIK_MACHO_RT_EXPORTS_AS_IMPORTS}.new" "${VORNIK_MACHO_RT_EXPORTS_AS_IMPORTS}" ONLY_IF_DIFFERENT)
vornik_macho_dylib(torvelrt /usr/lib/libtorvelrt.dylib 10.6 "${_macho}/host.imports")
vornik_macho_dylib(torvelios /usr/lib/libtorvelios.dylib 10.7
  "${_macho}/host.imports" "${_macho}/libtorvelios.imports" "${VORNIK_MACHO_RT_EXPORTS_AS_IMPORTS}")
