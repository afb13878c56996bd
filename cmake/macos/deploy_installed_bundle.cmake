# Run by `cmake --install` on a Mac (see deploy_bundle.cmake), with `bundle`,
# `macdeployqt` and `codesign` set. Built only on a Mac.
message(STATUS "Deploying Qt and libraries into ${bundle}")
execute_process(
  COMMAND "${macdeployqt}" "${bundle}"
          "-executable=${bundle}/Contents/MacOS/vornik-launcher-cli"
          -always-overwrite
  COMMAND_ERROR_IS_FATAL ANY)

# Inside out: the helper bundle first, then the launcher's bundle around it.
message(STATUS "Signing ${bundle} ad hoc")
execute_process(
  COMMAND "${codesign}" --force --sign - --timestamp=none "${bundle}/Contents/Helpers/Torvel.app"
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND "${codesign}" --force --deep --sign - --timestamp=none "${bundle}"
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND "${codesign}" --verify --deep --strict --verbose=2 "${bundle}"
  COMMAND_ERROR_IS_FATAL ANY)
