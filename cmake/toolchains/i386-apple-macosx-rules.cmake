# Link rules of the i386 Mach-O tree: shared libraries are linked by
# torvel-ld. Per-library options (install name, version minimum, permitted
# imports) arrive as the target's link options (see cmake/guest_macho.cmake).
foreach(lang C CXX)
  set(CMAKE_${lang}_CREATE_SHARED_LIBRARY "\"${VORNIK_TORVEL_LD}\" -o <TARGET> <LINK_FLAGS> <OBJECTS>")
endforeach()
set(CMAKE_SHARED_LIBRARY_SUFFIX ".dylib")
